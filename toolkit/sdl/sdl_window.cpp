#include "toolkit/sdl/sdl_window.h"

#include <cmath>
#include <string>
#include <vector>

#include "toolkit/error.h"
#include "toolkit/window.h"

namespace tk::sdl {

Rect usableArea(int display) {
    SDL_Rect u{};
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &u) != 0) return Rect{};
    return Rect{u.x, u.y, u.w, u.h};
}

namespace {

void setIcon(SDL_Window* w, const Image& icon) {
    if (icon.empty()) return;
    // SDL reads the pixels while it sets the icon; a copy keeps the const image untouched.
    std::vector<Argb> pixels = icon.pixels();
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), icon.width(), icon.height(), 32, icon.width() * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;  // a window without its icon is still a window
    SDL_SetWindowIcon(w, s);
    SDL_FreeSurface(s);
}

// Copies N pixels with their alpha byte cleared, four at a time (one vector step).
void copyWithoutAlpha(const Argb* __restrict from, Argb* __restrict to, int n) {
    constexpr Argb kColour = 0x00FFFFFFu;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        to[i] = from[i] & kColour;
        to[i + 1] = from[i + 1] & kColour;
        to[i + 2] = from[i + 2] & kColour;
        to[i + 3] = from[i + 3] & kColour;
    }
    for (; i < n; ++i) to[i] = from[i] & kColour;
}

// Surfaces whose pixels are laid out as ours (0xXXRRGGBB words) take scaled pixels directly.
bool sameLayout(const SDL_Surface* s) {
    const SDL_PixelFormat* f = s->format;
    return f->BytesPerPixel == 4 && f->Rmask == 0x00FF0000u && f->Gmask == 0x0000FF00u &&
           f->Bmask == 0x000000FFu;
}

// Window flags for the window system in use: on Wayland the frame is drawn at the output's own
// pixel density, so it stays sharp on a HiDPI screen.
Uint32 densityFlag() {
    const char* d = SDL_GetCurrentVideoDriver();
    return d && std::string(d) == "wayland" ? SDL_WINDOW_ALLOW_HIGHDPI : 0;
}

Rect windowArea(SDL_Window* w) {
    Rect r;
    SDL_GetWindowPosition(w, &r.x, &r.y);
    SDL_GetWindowSize(w, &r.w, &r.h);
    return r;
}

}  // namespace

Rect ScreenWindow::place(SDL_Window* owner) const {
    // A window without an owner goes on the first display, as SDL centres it there.
    const Rect usable = usableArea(owner ? SDL_GetWindowDisplayIndex(owner) : 0);
    const Rect around = owner ? windowArea(owner) : usable;
    Rect r = placeWindow(window_.clientWidth(), window_.clientHeight(), scale_, around, usable);
    // Nothing known of the desktop: SDL centres the window as well as it can.
    if (!owner && usable.empty()) r.x = r.y = SDL_WINDOWPOS_CENTERED;
    return r;
}

void ScreenWindow::fitToDesktop() {
    SDL_Window* owner = ownerId_ ? SDL_GetWindowFromID(ownerId_) : nullptr;
    // The desktop of the display the window (or its owner) is on now; when nothing is known of
    // it, the window keeps its centre.
    const Rect usable = usableArea(SDL_GetWindowDisplayIndex(owner ? owner : sdl_));
    const Rect around = owner ? windowArea(owner) : usable.empty() ? windowArea(sdl_) : usable;
    const Rect r =
        placeWindow(window_.clientWidth(), window_.clientHeight(), scale_, around, usable);
    SDL_SetWindowSize(sdl_, r.w, r.h);
    SDL_SetWindowPosition(sdl_, r.x, r.y);
}

ScreenWindow::ScreenWindow(Window& window, SDL_Window* owner, int scale, SDL_Window* adopt)
    : window_(window),
      frame_(window.clientWidth(), window.clientHeight(), window.colour()),
      scale_(std::clamp(scale, 1, kMaxScale)) {
    const Rect r = place(owner);
    if (adopt) {
        sdl_ = adopt;
        id_ = SDL_GetWindowID(sdl_);
        SDL_SetWindowTitle(sdl_, window.title.c_str());
        setIcon(sdl_, window.icon);
        fullscreen_ = (SDL_GetWindowFlags(sdl_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
        int aw = 0, ah = 0;
        SDL_GetWindowSize(sdl_, &aw, &ah);
        if (!fullscreen_ && (aw != r.w || ah != r.h)) fitToDesktop();
        if (!SDL_GetWindowSurface(sdl_)) {
            std::string why = SDL_GetError();
            SDL_DestroyWindow(sdl_);
            throw Error(tr("Cannot draw in a window: %s", why));
        }
        return;
    }
    Uint32 flags = SDL_WINDOW_HIDDEN | densityFlag();  // shown once it is placed and dressed
    if (window.toolWindow) flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
    sdl_ = SDL_CreateWindow(window.title.c_str(), r.x, r.y, r.w, r.h, flags);
    if (!sdl_) throw Error(tr("Cannot open a window: %s", SDL_GetError()));
    id_ = SDL_GetWindowID(sdl_);
    if (owner) ownerId_ = SDL_GetWindowID(owner);
    setIcon(sdl_, window.icon);
    if (owner) SDL_SetWindowModalFor(sdl_, owner);
    if (!SDL_GetWindowSurface(sdl_)) {
        std::string why = SDL_GetError();
        SDL_DestroyWindow(sdl_);
        throw Error(tr("Cannot draw in a window: %s", why));
    }
    SDL_ShowWindow(sdl_);
}

ScreenWindow::~ScreenWindow() {
    SDL_DestroyWindow(sdl_);
}

void ScreenWindow::setScale(int scale) {
    scale = std::clamp(scale, 1, kMaxScale);
    if (scale == scale_) return;
    scale_ = scale;
    if (fullscreen_) return;  // takes effect when fullscreen ends
    fitToDesktop();
    relayout_ = true;
}

void ScreenWindow::setFullscreen(bool on) {
    // SDL's own flag may lag behind what was asked (a compositor answers later): go by both.
    const bool now = (SDL_GetWindowFlags(sdl_) & SDL_WINDOW_FULLSCREEN) != 0;
    if (on == now && on == fullscreen_) return;
    if (on != now && SDL_SetWindowFullscreen(sdl_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        return;
    fullscreen_ = on;
    if (!on) fitToDesktop();
    relayout_ = true;
}

bool ScreenWindow::clientPoint(int x, int y, int& cx, int& cy) const {
    // Window units to surface pixels (they differ on a HiDPI output), then to the frame.
    int ww = 0, wh = 0;
    SDL_GetWindowSize(sdl_, &ww, &wh);
    int sx = x, sy = y;
    if (ww > 0 && wh > 0 && surfaceW_ > 0 && (surfaceW_ != ww || surfaceH_ != wh)) {
        sx = int(std::floor(double(x) * surfaceW_ / ww));
        sy = int(std::floor(double(y) * surfaceH_ / wh));
    }
    if (surfaceW_ == 0) {  // nothing shown yet: one to one
        cx = sx;
        cy = sy;
        return Rect{0, 0, frame_.width(), frame_.height()}.contains(cx, cy);
    }
    return toFrame(placement_, frame_.width(), frame_.height(), sx, sy, cx, cy);
}

void ScreenWindow::drawArea(SDL_Surface* screen, Rect r, std::vector<SDL_Rect>& sent) {
    const Placement& p = placement_;
    Rect dst = surfaceArea(p, frame_.width(), frame_.height(), r)
                   .intersect(Rect{0, 0, screen->w, screen->h});
    if (dst.empty()) return;
    auto* base = static_cast<std::uint8_t*>(screen->pixels) + std::size_t(dst.y) * screen->pitch +
                 std::size_t(dst.x) * screen->format->BytesPerPixel;
    if (p.whole == 1 && screen->format->format == SDL_PIXELFORMAT_RGB888) {
        // One to one onto the usual X11 surface (0x00RRGGBB words): every tick of play sends a
        // few cells this way, cheaper than SDL's general conversion (which writes the same).
        for (int y = 0; y < dst.h; ++y)
            copyWithoutAlpha(frame_.row(r.y + y) + r.x,
                             reinterpret_cast<Argb*>(base + std::size_t(y) * screen->pitch), dst.w);
    } else if (p.whole == 1) {
        // One to one: straight from the frame, converting as the surface needs.
        const Argb* from = frame_.row(r.y) + r.x;
        SDL_ConvertPixels(dst.w, dst.h, SDL_PIXELFORMAT_ARGB8888, from,
                          frame_.width() * int(sizeof(Argb)), screen->format->format, base,
                          screen->pitch);
    } else if (sameLayout(screen)) {
        drawScaled(frame_.row(0), frame_.width(), frame_.height(), p, dst,
                   reinterpret_cast<Argb*>(base), screen->pitch / 4);
    } else {
        scratch_.resize(std::size_t(dst.w) * dst.h);
        drawScaled(frame_.row(0), frame_.width(), frame_.height(), p, dst, scratch_.data(), dst.w);
        SDL_ConvertPixels(dst.w, dst.h, SDL_PIXELFORMAT_ARGB8888, scratch_.data(),
                          dst.w * int(sizeof(Argb)), screen->format->format, base, screen->pitch);
    }
    sent.push_back(SDL_Rect{dst.x, dst.y, dst.w, dst.h});
}

void ScreenWindow::drawWhole(SDL_Surface* screen) {
    // The border first (black), then the frame over it.
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    std::vector<SDL_Rect> unused;
    drawArea(screen, Rect{0, 0, frame_.width(), frame_.height()}, unused);
}

void ScreenWindow::refresh() {
    const Rect client{0, 0, frame_.width(), frame_.height()};
    DirtyRegion dirty = window_.takeScreenDirty();
    if (dirty.empty() && !exposed_ && !relayout_) return;
    SDL_Surface* screen = SDL_GetWindowSurface(sdl_);
    if (!screen) return;
    if (screen->w != surfaceW_ || screen->h != surfaceH_) relayout_ = true;
    std::vector<SDL_Rect> sent;
    if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
    for (const Rect& area : dirty.rects()) {
        Rect r = area.intersect(client);
        if (r.empty()) continue;
        window_.compose(frame_, r);
        if (!relayout_) drawArea(screen, r, sent);
    }
    if (relayout_) {
        surfaceW_ = screen->w;
        surfaceH_ = screen->h;
        // Fullscreen fills the screen, smoothly where a whole scale would leave the frame small.
        placement_ = fullscreen_
                         ? fitFullscreen(frame_.width(), frame_.height(), surfaceW_, surfaceH_)
                         : fitFrame(frame_.width(), frame_.height(), surfaceW_, surfaceH_);
        drawWhole(screen);
    }
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    if (exposed_ || relayout_) {
        // The buffer holds the whole picture: send all of it.
        exposed_ = false;
        relayout_ = false;
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
