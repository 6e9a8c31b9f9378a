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
// The X window of W; 0 when W is not on X11.
unsigned long xWindowOf(SDL_Window* w);
// From now on, a broken connection to the X server (the server ended or was killed) runs
// LOST(false) once, then ends the program with status 1 at once: Xlib cannot go on, and nothing
// may be drawn or asked of the server in LOST. A window that OURS owns (an X window id) destroyed
// by another program, which the server then answers with an error at the next drawing, ends it
// the same way through LOST(true). Other X errors end the program as they did before.
void whenXConnectionBreaks(void (*lost)(bool windowGone), bool (*ours)(unsigned long window));

}  // namespace tk::sdl
