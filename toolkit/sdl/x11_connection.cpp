#include "toolkit/sdl/x11_connection.h"

#include <SDL_syswm.h>

namespace tk::sdl {

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

}  // namespace tk::sdl
