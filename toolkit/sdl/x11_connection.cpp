#include "toolkit/sdl/x11_connection.h"

#include <SDL_syswm.h>
#include <unistd.h>

namespace tk::sdl {

namespace {

void (*connectionLost)(bool windowGone) = nullptr;
bool (*isOurWindow)(unsigned long window) = nullptr;

#if defined(SDL_VIDEO_DRIVER_X11)
// Said once, whichever way the display goes: then the program ends at once, without the exit
// handlers, which keeps the sound threads and SDL from running on over a display that is gone.
[[noreturn]] void endWithoutDisplay(bool windowGone) {
    static bool once = false;
    if (!once && connectionLost) {
        once = true;
        connectionLost(windowGone);
    }
    ::_exit(1);
}

// Xlib ends the program when this returns, without letting anything more happen: the program's
// last words are said here.
int connectionBroken(Display*) {
    endWithoutDisplay(false);
}

// The handler before ours (SDL's, which ends in Xlib's: print the error and exit).
XErrorHandler previousErrorHandler = nullptr;

int requestFailed(Display* d, XErrorEvent* e) {
    if ((e->error_code == BadWindow || e->error_code == BadDrawable) && isOurWindow &&
        isOurWindow(e->resourceid))
        endWithoutDisplay(true);
    return previousErrorHandler ? previousErrorHandler(d, e) : 0;
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

unsigned long xWindowOf(SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (w && SDL_GetWindowWMInfo(w, &info) && info.subsystem == SDL_SYSWM_X11)
        return info.info.x11.window;
#else
    (void)w;
#endif
    return 0;
}

void whenXConnectionBreaks(void (*lost)(bool windowGone), bool (*ours)(unsigned long window)) {
    connectionLost = lost;
    isOurWindow = ours;
#if defined(SDL_VIDEO_DRIVER_X11)
    // SDL opens libX11 itself; this program links the same library, so the handlers set here
    // are the ones SDL's connection uses.
    XSetIOErrorHandler(connectionBroken);
    XErrorHandler before = XSetErrorHandler(requestFailed);
    if (before != requestFailed) previousErrorHandler = before;
#endif
}

}  // namespace tk::sdl
