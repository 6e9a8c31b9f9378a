// Drawing a window's frame on X11 with plain XPutImage, a band at a time, instead of through
// SDL's window surface: that surface is a whole copy of the window in shared memory (7.6 MiB at
// scale 2), held for as long as the window lives. Kept apart because Xlib's macros clash with
// the toolkit's names.
#pragma once

#include <SDL_video.h>

#include <memory>

#include "toolkit/geometry.h"

namespace tk::sdl {

class X11Output {
  public:
    // The output for W, when W is an X11 window of the usual 24-bit true colour with 32-bit
    // pixels (0x00RRGGBB, as the frame's own words); nullptr otherwise (SDL's surface is used).
    static std::unique_ptr<X11Output> forWindow(SDL_Window* w);
    ~X11Output();
    X11Output(const X11Output&) = delete;
    X11Output& operator=(const X11Output&) = delete;

    // Sends the pixels of AREA (window pixels), STRIDE pixels per row from PIXELS (the alpha
    // byte is not shown).
    void put(const Argb* pixels, int stride, Rect area);
    // Fills AREA with black.
    void fillBlack(Rect area);
    // Sends what was drawn to the server without waiting for it.
    void flush();

  private:
    X11Output() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tk::sdl
