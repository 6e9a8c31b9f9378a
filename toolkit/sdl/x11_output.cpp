#include "toolkit/sdl/x11_output.h"

#include <SDL_syswm.h>

namespace tk::sdl {

#if defined(SDL_VIDEO_DRIVER_X11)

struct X11Output::Impl {
    Display* display = nullptr;
    ::Window window = 0;
    Visual* visual = nullptr;
    GC gc = nullptr;
};

namespace {

// Whether the server stores depth-24 pixels in 32-bit words (always so on today's servers).
bool wordPixels(Display* d) {
    int n = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(d, &n);
    bool found = false;
    for (int i = 0; i < n; ++i)
        if (formats[i].depth == 24 && formats[i].bits_per_pixel == 32) found = true;
    if (formats) XFree(formats);
    return found;
}

}  // namespace

std::unique_ptr<X11Output> X11Output::forWindow(SDL_Window* w) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    Display* d = info.info.x11.display;
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, info.info.x11.window, &a) || a.depth != 24 || !a.visual ||
        a.visual->red_mask != 0xFF0000 || a.visual->green_mask != 0xFF00 ||
        a.visual->blue_mask != 0xFF || !wordPixels(d))
        return nullptr;
    std::unique_ptr<X11Output> out(new X11Output);
    out->impl_ = std::make_unique<Impl>();
    out->impl_->display = d;
    out->impl_->window = info.info.x11.window;
    out->impl_->visual = a.visual;
    out->impl_->gc = XCreateGC(d, info.info.x11.window, 0, nullptr);
    XSetForeground(d, out->impl_->gc, 0);
    return out;
}

X11Output::~X11Output() {
    if (impl_ && impl_->gc) XFreeGC(impl_->display, impl_->gc);
}

void X11Output::put(const Argb* pixels, int stride, Rect area) {
    if (area.empty()) return;
    // The image only describes the caller's pixels: Xlib sends them and keeps nothing.
    XImage image{};
    image.width = area.w;
    image.height = area.h;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(const_cast<Argb*>(pixels));
    image.byte_order = LSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = 32;
    image.depth = 24;
    image.bytes_per_line = stride * 4;
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0xFF00;
    image.blue_mask = 0xFF;
    if (!XInitImage(&image)) return;
    XPutImage(impl_->display, impl_->window, impl_->gc, &image, 0, 0, area.x, area.y,
              unsigned(area.w), unsigned(area.h));
}

void X11Output::fillBlack(Rect area) {
    if (area.empty()) return;
    XFillRectangle(impl_->display, impl_->window, impl_->gc, area.x, area.y, unsigned(area.w),
                   unsigned(area.h));
}

void X11Output::flush() {
    XFlush(impl_->display);
}

#else

struct X11Output::Impl {};

std::unique_ptr<X11Output> X11Output::forWindow(SDL_Window*) {
    return nullptr;
}
X11Output::~X11Output() = default;
void X11Output::put(const Argb*, int, Rect) {}
void X11Output::fillBlack(Rect) {}
void X11Output::flush() {}

#endif

}  // namespace tk::sdl
