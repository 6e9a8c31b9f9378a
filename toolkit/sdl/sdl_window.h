// One toolkit window on screen: an SDL window and the window's own pixel buffer, which holds what
// the player sees. Only the areas that changed are composed and sent to the display.
#pragma once

#include <SDL.h>

#include "../image.h"

namespace tk {
class Window;
}

namespace tk::sdl {

class ScreenWindow {
public:
    // Puts WINDOW on screen: centred on OWNER when given, else on the desktop. Throws tk::Error.
    // ADOPT, when given, is an SDL window already on screen at the right size to use instead.
    ScreenWindow(Window& window, SDL_Window* owner, SDL_Window* adopt = nullptr);
    ~ScreenWindow();
    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

    Window& window() const { return window_; }
    SDL_Window* sdlWindow() const { return sdl_; }
    std::uint32_t id() const { return id_; }

    // The window system lost what was shown (uncovered).
    void exposed() { exposed_ = true; }
    // Composes and uploads what changed, and presents when anything did.
    void refresh();
    // Gives the window the keyboard (a modal box must take the keys at once).
    void takeFocus();

private:
    void copyToScreen(SDL_Surface* screen, const Rect& r);
    Window& window_;
    SDL_Window* sdl_ = nullptr;
    std::uint32_t id_ = 0;
    Image frame_;
    bool exposed_ = false;
};

}  // namespace tk::sdl
