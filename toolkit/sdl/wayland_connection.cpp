#include "toolkit/sdl/wayland_connection.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

namespace tk::sdl {

bool waylandConnectionBroken(SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!w || !SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return false;
    // SDL opened libwayland-client itself: its error query is looked up there rather than linked,
    // so the game needs the library only where SDL uses it.
    void* lib = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!lib) return false;
    using GetError = int (*)(wl_display*);
    auto getError = reinterpret_cast<GetError>(dlsym(lib, "wl_display_get_error"));
    const bool broken = getError && getError(info.info.wl.display) != 0;
    dlclose(lib);
    return broken;
#else
    (void)w;
    return false;
#endif
}

}  // namespace tk::sdl
