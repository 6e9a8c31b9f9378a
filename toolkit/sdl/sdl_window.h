// One toolkit window on screen: an SDL window, its renderer and a streaming texture that holds
// what the player sees. Only the areas that changed are composed and uploaded.
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
    ScreenWindow(Window& window, SDL_Window* owner);
    ~ScreenWindow();
    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

    Window& window() const { return window_; }
    SDL_Window* sdlWindow() const { return sdl_; }
    std::uint32_t id() const { return id_; }

    // The window system lost what was shown (uncovered, or the renderer was reset).
    void exposed() { presentPending_ = true; }
    void texturesLost() { reuploadAll_ = true; }
    // Composes and uploads what changed, and presents when anything did.
    void refresh();
    // Gives the window the keyboard (a modal box must take the keys at once).
    void takeFocus();

private:
    void upload(const SDL_Rect& r);
    Window& window_;
    SDL_Window* sdl_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::uint32_t id_ = 0;
    Image frame_;
    bool presentPending_ = true;
    bool reuploadAll_ = false;
};

}  // namespace tk::sdl
