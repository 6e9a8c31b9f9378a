#include "sdl_window.h"

#include <string>
#include <vector>

#include "../error.h"
#include "../window.h"

namespace tk::sdl {

namespace {

void setIcon(SDL_Window* w, const Image& icon) {
    if (icon.empty()) return;
    // SDL reads the pixels while it sets the icon; a copy keeps the const image untouched.
    std::vector<Argb> pixels = icon.pixels();
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), icon.width(), icon.height(),
                                                        32, icon.width() * 4,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;  // a window without its icon is still a window
    SDL_SetWindowIcon(w, s);
    SDL_FreeSurface(s);
}

}  // namespace

ScreenWindow::ScreenWindow(Window& window, SDL_Window* owner, SDL_Window* adopt)
    : window_(window), frame_(window.clientWidth(), window.clientHeight(), window.colour()) {
    int w = window.clientWidth(), h = window.clientHeight();
    if (adopt) {
        sdl_ = adopt;
        id_ = SDL_GetWindowID(sdl_);
        SDL_SetWindowTitle(sdl_, window.title.c_str());
        setIcon(sdl_, window.icon);
        if (!SDL_GetWindowSurface(sdl_)) {
            std::string why = SDL_GetError();
            SDL_DestroyWindow(sdl_);
            throw Error(tr("Cannot draw in a window: %s", why));
        }
        return;
    }
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    if (owner) {
        int ox = 0, oy = 0, ow = 0, oh = 0;
        SDL_GetWindowPosition(owner, &ox, &oy);
        SDL_GetWindowSize(owner, &ow, &oh);
        x = ox + (ow - w) / 2;
        y = oy + (oh - h) / 2;
    }
    Uint32 flags = SDL_WINDOW_HIDDEN;  // shown once it is placed and dressed
    if (window.toolWindow) flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
    sdl_ = SDL_CreateWindow(window.title.c_str(), x, y, w, h, flags);
    if (!sdl_) throw Error(tr("Cannot open a window: %s", SDL_GetError()));
    id_ = SDL_GetWindowID(sdl_);
    setIcon(sdl_, window.icon);
    if (owner) SDL_SetWindowModalFor(sdl_, owner);
    if (!SDL_GetWindowSurface(sdl_)) {
        std::string why = SDL_GetError();
        SDL_DestroyWindow(sdl_);
        throw Error(tr("Cannot draw in a window: %s", why));
    }
    SDL_ShowWindow(sdl_);
}

ScreenWindow::~ScreenWindow() { SDL_DestroyWindow(sdl_); }

void ScreenWindow::copyToScreen(SDL_Surface* screen, const Rect& r) {
    const Argb* from = frame_.row(r.y) + r.x;
    auto* to = static_cast<std::uint8_t*>(screen->pixels) + std::size_t(r.y) * screen->pitch +
               std::size_t(r.x) * screen->format->BytesPerPixel;
    SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_ARGB8888, from, frame_.width() * int(sizeof(Argb)),
                      screen->format->format, to, screen->pitch);
}

void ScreenWindow::refresh() {
    const Rect client{0, 0, frame_.width(), frame_.height()};
    DirtyRegion dirty = window_.takeScreenDirty();
    if (dirty.empty() && !exposed_) return;
    SDL_Surface* screen = SDL_GetWindowSurface(sdl_);
    if (!screen) return;
    std::vector<SDL_Rect> sent;
    if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
    for (const Rect& area : dirty.rects()) {
        Rect r = area.intersect(client);
        if (r.empty()) continue;
        window_.compose(frame_, r);
        copyToScreen(screen, r);
        sent.push_back(SDL_Rect{r.x, r.y, r.w, r.h});
    }
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    if (exposed_) {
        // The buffer still holds the whole picture: send all of it again.
        exposed_ = false;
        SDL_UpdateWindowSurface(sdl_);
    } else if (!sent.empty()) {
        SDL_UpdateWindowSurfaceRects(sdl_, sent.data(), int(sent.size()));
    }
}

void ScreenWindow::takeFocus() {
    SDL_RaiseWindow(sdl_);
    SDL_SetWindowInputFocus(sdl_);
}

}  // namespace tk::sdl
