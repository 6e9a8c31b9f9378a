// The X server connection behind an SDL window, kept apart because Xlib's macros (None, Status,
// ...) clash with the toolkit's names.
#pragma once

#include <SDL_video.h>

namespace tk::sdl {

// The socket of the X connection of W; -1 when W is not on X11.
int xConnectionOf(SDL_Window* w);
// The X display of W (an opaque pointer); nullptr when W is not on X11.
void* xDisplayOf(SDL_Window* w);
// Whether Xlib has already read events that SDL has not taken yet (asks the server nothing).
bool xEventsWaiting(void* display);
// From now on, a broken connection to the X server (the server ended or was killed) runs LOST
// once, then ends the program with status 1 at once: Xlib cannot go on, and nothing may be drawn
// or asked of the server in LOST.
void whenXConnectionBreaks(void (*lost)());

}  // namespace tk::sdl
