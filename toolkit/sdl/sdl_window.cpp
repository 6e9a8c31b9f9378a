#include "sdl_window.h"

#include <string>

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

ScreenWindow::ScreenWindow(Window& window, SDL_Window* owner)
    : window_(window), frame_(window.clientWidth(), window.clientHeight(), window.colour()) {
    int w = window.clientWidth(), h = window.clientHeight();
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
    if (!sdl_) throw Error(std::string("Cannot open a window: ") + SDL_GetError());
    id_ = SDL_GetWindowID(sdl_);
    setIcon(sdl_, window.icon);
    if (owner) SDL_SetWindowModalFor(sdl_, owner);
    renderer_ = SDL_CreateRenderer(sdl_, -1, 0);
    if (renderer_)
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!texture_) {
        std::string why = SDL_GetError();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        SDL_DestroyWindow(sdl_);
        throw Error("Cannot draw in a window: " + why);
    }
    // The composed frame is opaque; blending would only cost time.
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    SDL_ShowWindow(sdl_);
}

ScreenWindow::~ScreenWindow() {
    SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(sdl_);
}

void ScreenWindow::upload(const SDL_Rect& r) {
    SDL_UpdateTexture(texture_, &r, frame_.row(r.y) + r.x, frame_.width() * int(sizeof(Argb)));
}

void ScreenWindow::refresh() {
    const Rect client{0, 0, frame_.width(), frame_.height()};
    DirtyRegion dirty = window_.takeScreenDirty();
    for (const Rect& area : dirty.rects()) {
        Rect r = area.intersect(client);
        if (r.empty()) continue;
        window_.compose(frame_, r);
        if (!reuploadAll_) upload(SDL_Rect{r.x, r.y, r.w, r.h});
        presentPending_ = true;
    }
    if (reuploadAll_) {
        upload(SDL_Rect{0, 0, client.w, client.h});
        reuploadAll_ = false;
        presentPending_ = true;
    }
    if (!presentPending_) return;
    presentPending_ = false;
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void ScreenWindow::takeFocus() {
    SDL_RaiseWindow(sdl_);
    SDL_SetWindowInputFocus(sdl_);
}

}  // namespace tk::sdl
