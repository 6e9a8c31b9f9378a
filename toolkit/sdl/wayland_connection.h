// The Wayland connection behind an SDL window, kept apart with the X one.
#pragma once

#include <SDL_video.h>

namespace tk::sdl {

// Whether the Wayland connection of W has failed (the compositor ended or was killed); false when
// W is not on Wayland or nothing can be learnt of it.
bool waylandConnectionBroken(SDL_Window* w);

}  // namespace tk::sdl
