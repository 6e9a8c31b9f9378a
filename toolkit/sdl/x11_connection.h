// The X server connection behind an SDL window, kept apart because Xlib's macros (None, Status,
// ...) clash with the toolkit's names.
#pragma once

#include <SDL_video.h>

namespace tk::sdl {

// The socket of the X connection of W; -1 when W is not on X11.
int xConnectionOf(SDL_Window* w);

}  // namespace tk::sdl
