#include "toolkit/sdl/sdl_window.h"

#include <algorithm>
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
    : window_(window), scale_(std::clamp(scale, 1, kMaxScale)) {
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
        x11_ = X11Output::forWindow(sdl_);
        if (!x11_ && !SDL_GetWindowSurface(sdl_)) {
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
    x11_ = X11Output::forWindow(sdl_);
    if (!x11_ && !SDL_GetWindowSurface(sdl_)) {
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
        return Rect{0, 0, window_.clientWidth(), window_.clientHeight()}.contains(cx, cy);
    }
    return toFrame(placement_, window_.clientWidth(), window_.clientHeight(), sx, sy, cx, cy);
}

namespace {

// A band of the frame is composed at a time: at most this many pixels (256 KiB), so that no
// copy of the whole frame is kept beside the window's surface and the screen's.
constexpr int kBandPixels = 64 * 1024;

}  // namespace

ScreenWindow::BandTarget ScreenWindow::bandTarget(Rect area, int surfaceW, int surfaceH) const {
    BandTarget t;
    t.full = surfaceArea(placement_, window_.clientWidth(), window_.clientHeight(), area);
    t.dst = t.full.intersect(Rect{0, 0, surfaceW, surfaceH});
    // FROM holds AREA only: seen from the scaler, it is a small frame placed where AREA shows.
    t.band = Placement{t.full.x, t.full.y, t.full.w, t.full.h, placement_.whole};
    return t;
}

void ScreenWindow::scaleBand(const Image& from, const BandTarget& t, Rect part, Argb* out,
                             int stride) const {
    if (placement_.whole > 0)
        drawScaled(from.row(0), from.width(), from.height(), t.band, part, out, stride);
    else  // smooth scaling reads beyond AREA: FROM is the whole frame then
        drawScaled(from.row(0), window_.clientWidth(), window_.clientHeight(), placement_, part,
                   out, stride);
}

void ScreenWindow::drawBand(SDL_Surface* screen, const Image& from, Rect area,
                            std::vector<SDL_Rect>& sent) {
    const BandTarget t = bandTarget(area, screen->w, screen->h);
    const Rect dst = t.dst;
    if (dst.empty()) return;
    auto* base = static_cast<std::uint8_t*>(screen->pixels) + std::size_t(dst.y) * screen->pitch +
                 std::size_t(dst.x) * screen->format->BytesPerPixel;
    const int whole = placement_.whole;
    const int sx = dst.x - t.full.x, sy = dst.y - t.full.y;  // nonzero only when clipped (1:1)
    if (whole == 1 && screen->format->format == SDL_PIXELFORMAT_RGB888) {
        // One to one onto the usual X11 surface (0x00RRGGBB words): every tick of play sends a
        // few cells this way, cheaper than SDL's general conversion (which writes the same).
        for (int y = 0; y < dst.h; ++y)
            copyWithoutAlpha(from.row(sy + y) + sx,
                             reinterpret_cast<Argb*>(base + std::size_t(y) * screen->pitch), dst.w);
    } else if (whole == 1) {
        // One to one: straight from the band, converting as the surface needs.
        SDL_ConvertPixels(dst.w, dst.h, SDL_PIXELFORMAT_ARGB8888, from.row(sy) + sx,
                          from.width() * int(sizeof(Argb)), screen->format->format, base,
                          screen->pitch);
    } else {
        drawConverted(screen, base, dst,
                      [&](Argb* out, int stride) { scaleBand(from, t, dst, out, stride); });
    }
    sent.push_back(SDL_Rect{dst.x, dst.y, dst.w, dst.h});
}

template <typename Draw>
void ScreenWindow::drawConverted(SDL_Surface* screen, std::uint8_t* base, Rect dst, Draw draw) {
    if (sameLayout(screen)) {
        draw(reinterpret_cast<Argb*>(base), screen->pitch / 4);
        return;
    }
    scratch_.resize(std::size_t(dst.w) * dst.h);
    draw(scratch_.data(), dst.w);
    SDL_ConvertPixels(dst.w, dst.h, SDL_PIXELFORMAT_ARGB8888, scratch_.data(),
                      dst.w * int(sizeof(Argb)), screen->format->format, base, screen->pitch);
}

void ScreenWindow::showArea(SDL_Surface* screen, Rect r, std::vector<SDL_Rect>& sent) {
    const Rect client{0, 0, window_.clientWidth(), window_.clientHeight()};
    r = r.intersect(client);
    if (r.empty()) return;
    if (placement_.whole == 0) {
        // Smooth scaling mixes each changed pixel with its neighbours: the whole frame is kept
        // composed while the frame is shown so (a small fullscreen only).
        if (smoothFrame_.width() != client.w) {
            smoothFrame_ = Image(client.w, client.h);
            window_.compose(smoothFrame_, client);
        } else {
            window_.compose(smoothFrame_, r);
        }
        if (x11_)
            putBand(smoothFrame_, r);
        else
            drawBand(screen, smoothFrame_, r, sent);
        return;
    }
    smoothFrame_ = Image();
    const int rows = std::max(1, kBandPixels / r.w);
    for (int y = r.y; y < r.bottom(); y += rows) {
        const Rect area{r.x, y, r.w, std::min(rows, r.bottom() - y)};
        window_.composeArea(band_, area);
        if (x11_)
            putBand(band_, area);
        else
            drawBand(screen, band_, area, sent);
    }
}

void ScreenWindow::putBand(const Image& from, Rect area) {
    const BandTarget t = bandTarget(area, surfaceW_, surfaceH_);
    const Rect dst = t.dst;
    if (dst.empty()) return;
    if (placement_.whole == 1) {
        x11_->put(from.row(dst.y - t.full.y) + (dst.x - t.full.x), from.width(), dst);
        return;
    }
    // Scaled a part at a time into the scratch buffer, which stays small at every scale.
    const int rows = std::max(1, kBandPixels / dst.w);
    for (int y = dst.y; y < dst.bottom(); y += rows) {
        const Rect part{dst.x, y, dst.w, std::min(rows, dst.bottom() - y)};
        scratch_.resize(std::size_t(part.w) * part.h);
        scaleBand(from, t, part, scratch_.data(), part.w);
        x11_->put(scratch_.data(), part.w, part);
    }
}

void ScreenWindow::refreshX11(const DirtyRegion& dirty) {
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(sdl_, &w, &h);
    if (w != surfaceW_ || h != surfaceH_) relayout_ = true;
    std::vector<SDL_Rect> unused;
    const int fw = window_.clientWidth(), fh = window_.clientHeight();
    if (relayout_ || exposed_) {
        // Nothing of the window is kept on this side: what the server lost is composed again.
        surfaceW_ = w;
        surfaceH_ = h;
        placement_ = fullscreen_ ? fitFullscreen(fw, fh, w, h) : fitFrame(fw, fh, w, h);
        const Placement& p = placement_;
        x11_->fillBlack(Rect{0, 0, w, p.y});
        x11_->fillBlack(Rect{0, p.y + p.height, w, h - p.y - p.height});
        x11_->fillBlack(Rect{0, p.y, p.x, p.height});
        x11_->fillBlack(Rect{p.x + p.width, p.y, w - p.x - p.width, p.height});
        smoothFrame_ = Image();
        showArea(nullptr, Rect{0, 0, fw, fh}, unused);
        relayout_ = exposed_ = false;
    } else {
        for (const Rect& area : dirty.rects()) showArea(nullptr, area, unused);
    }
    x11_->flush();
}

bool ScreenWindow::refresh() {
    DirtyRegion dirty = window_.takeScreenDirty();
    if (dirty.empty() && !exposed_ && !relayout_) return false;
    if (x11_) {
        refreshX11(dirty);
        return true;
    }
    SDL_Surface* screen = SDL_GetWindowSurface(sdl_);
    if (!screen) return false;
    if (screen->w != surfaceW_ || screen->h != surfaceH_) relayout_ = true;
    std::vector<SDL_Rect> sent;
    if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
    if (relayout_) {
        surfaceW_ = screen->w;
        surfaceH_ = screen->h;
        const int fw = window_.clientWidth(), fh = window_.clientHeight();
        // Fullscreen fills the screen, smoothly where a whole scale would leave the frame small.
        placement_ = fullscreen_ ? fitFullscreen(fw, fh, surfaceW_, surfaceH_)
                                 : fitFrame(fw, fh, surfaceW_, surfaceH_);
        // The border first (black), then the whole frame over it.
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        smoothFrame_ = Image();
        showArea(screen, Rect{0, 0, fw, fh}, sent);
    } else {
        for (const Rect& area : dirty.rects()) showArea(screen, area, sent);
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
    return true;
}

void ScreenWindow::takeFocus() {
    SDL_RaiseWindow(sdl_);
    SDL_SetWindowInputFocus(sdl_);
}

}  // namespace tk::sdl
