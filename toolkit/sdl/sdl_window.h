// One toolkit window on screen: an SDL window and the window's own pixel buffer, which holds what
// the player sees. Only the areas that changed are composed and sent to the display, scaled to
// the window's size on screen.
#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include "toolkit/image.h"
#include "toolkit/sdl/frame_scaling.h"
#include "toolkit/sdl/x11_output.h"
#include "toolkit/surface.h"

namespace tk {
class Window;
}

namespace tk::sdl {

// The usable area of the desktop on display DISPLAY (without panels and docks); empty when
// unknown.
Rect usableArea(int display);

class ScreenWindow {
  public:
    // Puts WINDOW on screen at whole-number SCALE: centred on OWNER when given, else on the
    // desktop, and wholly on the desktop (shrunk when the desktop is smaller). Throws tk::Error.
    // ADOPT, when given, is an SDL window already on screen to use instead (its size is set to
    // fit).
    ScreenWindow(Window& window, SDL_Window* owner, int scale, SDL_Window* adopt = nullptr);
    ~ScreenWindow();
    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

    Window& window() const { return window_; }
    SDL_Window* sdlWindow() const { return sdl_; }
    std::uint32_t id() const { return id_; }

    // The window system lost what was shown (uncovered).
    void exposed() { exposed_ = true; }
    // The window's size on screen changed: the frame is placed again and shown whole.
    void resized() { relayout_ = true; }
    // Composes and uploads what changed, and presents when anything did.
    // Composes and sends what changed: false when nothing had.
    bool refresh();
    // Gives the window the keyboard (a modal box must take the keys at once).
    void takeFocus();

    // Shows the window at whole-number SCALE (windowed; kept for when fullscreen ends).
    void setScale(int scale);
    int scale() const { return scale_; }
    // Fills the screen with the window, the frame at the largest whole scale that fits or, when
    // that leaves it small, smoothly as large as fits; or back.
    void setFullscreen(bool on);
    bool fullscreen() const { return fullscreen_; }

    // The client pixel under the pointer at window position (X, Y); false on the black border.
    bool clientPoint(int x, int y, int& cx, int& cy) const;

  private:
    // Where the window goes at the current scale: over OWNER (or the desktop), wholly on the
    // desktop, shrunk to it when larger.
    Rect place(SDL_Window* owner) const;
    // Sizes and places the window so, after a change of scale or the end of fullscreen.
    void fitToDesktop();
    // Where a band of the frame (AREA) lands on a surface of SURFACEW x SURFACEH: the whole
    // scaled area, the part of it on the surface, and the band seen as a small placed frame.
    struct BandTarget {
        Rect full, dst;
        Placement band;
    };
    BandTarget bandTarget(Rect area, int surfaceW, int surfaceH) const;
    // Scales the part PART (surface coordinates) of band T from FROM into OUT.
    void scaleBand(const Image& from, const BandTarget& t, Rect part, Argb* out, int stride) const;
    // Composes the frame's area R and shows it on SCREEN, a band at a time.
    void showArea(SDL_Surface* screen, Rect r, std::vector<SDL_Rect>& sent);
    // Shows AREA (frame coordinates) on SCREEN from FROM, which holds that area alone at whole
    // scales and the whole frame when smoothly scaled; adds what it drew to SENT.
    void drawBand(SDL_Surface* screen, const Image& from, Rect area, std::vector<SDL_Rect>& sent);
    // The same on X11, sent with XPutImage (the window's size is surfaceW_ x surfaceH_).
    void putBand(const Image& from, Rect area);
    // Shows what changed on X11, or the whole frame after a change of size or an exposure.
    void refreshX11(const DirtyRegion& dirty);
    // Runs DRAW(out, stride) into the surface at BASE (area DST), through a scratch buffer when
    // the surface's pixel format differs from the frame's.
    template <typename Draw>
    void drawConverted(SDL_Surface* screen, std::uint8_t* base, Rect dst, Draw draw);
    Window& window_;
    SDL_Window* sdl_ = nullptr;
    std::uint32_t id_ = 0;
    std::uint32_t ownerId_ = 0;       // the window it was opened over, 0 for none
    std::unique_ptr<X11Output> x11_;  // on X11: drawing without SDL's window surface
    Image band_;                      // the band of the frame being composed
    Image smoothFrame_;               // the whole composed frame, kept only while smoothly scaled
    int scale_ = 1;
    bool fullscreen_ = false;
    bool exposed_ = false;
    bool relayout_ = true;
    Placement placement_;
    int surfaceW_ = 0, surfaceH_ = 0;
    std::vector<Argb> scratch_;  // scaled pixels on their way to a surface of another format
};

}  // namespace tk::sdl
