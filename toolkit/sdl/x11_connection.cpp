#include "toolkit/sdl/x11_connection.h"

#include <SDL_syswm.h>
#include <unistd.h>

namespace tk::sdl {

namespace {

void (*connectionLost)() = nullptr;

#if defined(SDL_VIDEO_DRIVER_X11)
// Xlib ends the program when this returns, without letting anything more happen: the program's
// last words are said here. Ending without the exit handlers keeps the sound threads and SDL from
// running on over a display that is gone.
int connectionBroken(Display*) {
    static bool once = false;
    if (!once && connectionLost) {
        once = true;
        connectionLost();
    }
    ::_exit(1);
}
#endif

}  // namespace

int xConnectionOf(SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(w, &info) && info.subsystem == SDL_SYSWM_X11)
        return ConnectionNumber(info.info.x11.display);
#else
    (void)w;
#endif
    return -1;
}

void* xDisplayOf(SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(w, &info) && info.subsystem == SDL_SYSWM_X11)
        return info.info.x11.display;
#else
    (void)w;
#endif
    return nullptr;
}

bool xEventsWaiting(void* display) {
#if defined(SDL_VIDEO_DRIVER_X11)
    return display && XEventsQueued(static_cast<Display*>(display), QueuedAlready) > 0;
#else
    (void)display;
    return true;
#endif
}

void whenXConnectionBreaks(void (*lost)()) {
    connectionLost = lost;
#if defined(SDL_VIDEO_DRIVER_X11)
    // SDL opens libX11 itself; this program links the same library, so the handler set here is
    // the one SDL's connection uses.
    XSetIOErrorHandler(connectionBroken);
#endif
}

}  // namespace tk::sdl
