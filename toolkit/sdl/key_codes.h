// The keyboard as the game knows it: SDL key symbols turned into Windows virtual-key codes, which
// is what every key handler of the game compares against.
#pragma once

#include <SDL_keycode.h>

namespace tk::sdl {

// The virtual-key code of KEY (the layout's symbol; the keypad is told by SCANCODE so that
// Num Lock decides between its digits and its cursor keys). 0 for keys the game has no code for.
int virtualKey(SDL_Keycode key, SDL_Scancode scancode, bool numLock);

}  // namespace tk::sdl
