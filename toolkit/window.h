// Top-level windows: a fixed client area with a persistent surface under a tree of controls.
#pragma once

#include <functional>
#include <string>

#include "toolkit/control.h"
#include "toolkit/pad.h"
#include "toolkit/surface.h"

namespace tk {

class Application;

// Where the player's input came from.
enum class InputSource { Keyboard, Mouse, Pad };

class Window : public Control {
  public:
    // A window of CLIENTW x CLIENTH filled with COLOUR, not yet open. It registers itself with APP.
    Window(Application& app, std::string name, int clientW, int clientH, Argb colour);
    ~Window() override;

    Window* window() override { return this; }
    Application& app() const { return app_; }
    int clientWidth() const { return surface_.width(); }
    int clientHeight() const { return surface_.height(); }
    Argb colour() const { return colour_; }

    // Open means on screen. Opening requests a first paint.
    bool isOpen() const { return open_; }
    void open();
    // Closes without asking (the program ends when the main window closes).
    void close();
    // The close box: runs onClose, then closes.
    void requestClose();
    bool showing() const override { return open_ && visible(); }

    Surface& surface() { return surface_; }

    Control* focus() const { return focus_; }
    // Gives CONTROL the keyboard focus (nullptr: none). Controls that cannot take it are ignored.
    void setFocus(Control* control);

    // Handlers, bound by the owner of the window.
    std::function<void(int& vk)> onKeyDown;  // key preview: runs first; setting vk to 0 eats it
    std::function<void(int& vk)> onKeyUp;
    std::function<void(PadButton, bool down)> onPad;   // a game-controller button went down or up
    std::function<void(int x, int y)> onPointerMoved;  // runs before every mouse move is routed
    // Runs before each key press, typed text, mouse press or move and pad press is routed (not
    // for releases, nor for the key presses a pad handler passes on): the source of the input.
    std::function<void(InputSource)> onInputSource;
    std::function<void()> onPaint;  // the window must be repainted
    // A control of the window was shown or hidden (its own flag changed what shows).
    std::function<void(Control&)> onShowingChanged;
    std::function<void()> onClose;  // the close box was used; the window closes afterwards

    // Input, as the backends and the driver deliver it (coordinates in the client area).
    void keyDown(int vk) override;
    void keyUp(int vk);
    void textInput(const std::string& utf8) override;
    void mouseDown(MouseButton button, int x, int y);
    void mouseUp(MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    // The wheel turned STEPS notches (positive: up) with the pointer at (x, y).
    void mouseWheel(int x, int y, int steps);
    void padButton(PadButton button, bool down);

    // The topmost showing control at (x, y); the window itself when there is none.
    Control* controlAt(int x, int y);
    // The control of this window named NAME (the window itself for its own name), or nullptr.
    Control* findControl(const std::string& name);

    // Asks for onPaint to run after the current handler (as the window system would after an
    // area of the window was uncovered).
    void invalidateSurface();
    bool paintPending() const { return paintPending_; }
    // Runs onPaint if one was asked for.
    void paintIfPending();

    // Marks an area of the client as changed on screen (controls call it when they change).
    void screenChanged(Rect r) { screenDirty_.add(r); }
    // Areas that need composing again since the last call of takeScreenDirty, including what was
    // drawn on the surface.
    DirtyRegion takeScreenDirty();

    // Lets the pictures that are off screen give up their decoded pixels.
    void releaseHiddenPictures();

    // Composes what the player sees inside REGION into FRAME (client-sized).
    void compose(Image& frame, Rect region);
    // Composes what the player sees inside REGION (clipped to the client) into OUT, which takes
    // the size of that area: a band of the frame, so that no copy of the whole frame is kept.
    void composeArea(Image& out, Rect region);
    // The composed colour at one client pixel.
    Argb composedPixel(int x, int y);

    // Tell the window that a control's visibility or place changed (for repaint requests).
    void controlGeometryChanged(Control& control, Rect oldRect, bool wasShowing);
    // The control is being destroyed: forget it.
    void forget(Control& control);

    // Options the backend honours when it opens the window.
    std::string title;
    bool toolWindow = false;
    Image icon;

  private:
    // Tells onInputSource where the input came from, unless a pad handler runs.
    void noteSource(InputSource source);
    // Starts or stops the platform's text input as the focus and the window's state ask.
    void updateTextInput();
    void paintTree(Control& c, Canvas& canvas);
    // Composes client area REGION into TARGET, whose pixel (x, y) shows client pixel
    // (x + DX, y + DY).
    void composeAt(Image& target, Rect region, int dx, int dy);
    // Whether an opaque control on the window hides all of its surface (the menu does).
    bool surfaceCovered() const;
    Control* hitTest(Control& c, int x, int y);
    Application& app_;
    Argb colour_;
    Surface surface_;
    bool open_ = false;
    bool paintPending_ = false;
    bool visibilityChanged_ = true;
    Control* focus_ = nullptr;
    Control* pressed_ = nullptr;
    int padHandlers_ = 0;  // pad handlers running (nested key presses come from them)
    bool textInput_ = false;
    DirtyRegion screenDirty_;
};

}  // namespace tk
