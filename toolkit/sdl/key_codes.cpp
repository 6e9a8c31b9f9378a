#include "toolkit/sdl/key_codes.h"

namespace tk::sdl {

namespace {

// The keypad: with Num Lock its digits and operators, without it the cursor block it doubles as.
int keypadKey(SDL_Scancode sc, bool numLock) {
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_0) {
        // SDL orders the keypad 1..9 then 0.
        int digit = sc == SDL_SCANCODE_KP_0 ? 0 : int(sc - SDL_SCANCODE_KP_1) + 1;
        if (numLock) return 96 + digit;
        static const int cursor[10] = {45, 35, 40, 34, 37, 12, 39, 36, 38, 33};
        return cursor[digit];
    }
    switch (sc) {
        case SDL_SCANCODE_KP_PERIOD: return numLock ? 110 : 46;
        case SDL_SCANCODE_KP_ENTER: return 13;
        case SDL_SCANCODE_KP_MULTIPLY: return 106;
        case SDL_SCANCODE_KP_PLUS: return 107;
        case SDL_SCANCODE_KP_MINUS: return 109;
        case SDL_SCANCODE_KP_DIVIDE: return 111;
        default: return -1;
    }
}

}  // namespace

int virtualKey(SDL_Keycode key, SDL_Scancode scancode, bool numLock) {
    int pad = keypadKey(scancode, numLock);
    if (pad >= 0) return pad;
    if (key >= SDLK_a && key <= SDLK_z) return 65 + int(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return 48 + int(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + int(key - SDLK_F1);
    switch (key) {
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_SPACE: return 32;
        case SDLK_RETURN:
        case SDLK_RETURN2: return 13;
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_ESCAPE: return 27;
        case SDLK_DELETE: return 46;
        case SDLK_INSERT: return 45;
        case SDLK_HOME: return 36;
        case SDLK_END: return 35;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return 17;
        case SDLK_LALT:
        case SDLK_RALT: return 18;
        case SDLK_PAUSE: return 19;
        case SDLK_CAPSLOCK: return 20;
        case SDLK_SEMICOLON: return 186;
        case SDLK_EQUALS: return 187;
        case SDLK_COMMA: return 188;
        case SDLK_MINUS: return 189;
        case SDLK_PERIOD: return 190;
        case SDLK_SLASH: return 191;
        case SDLK_BACKQUOTE: return 192;
        case SDLK_LEFTBRACKET: return 219;
        case SDLK_BACKSLASH: return 220;
        case SDLK_RIGHTBRACKET: return 221;
        case SDLK_QUOTE: return 222;
        case SDLK_APPLICATION:
        case SDLK_MENU: return 93;
        default: return 0;
    }
}

}  // namespace tk::sdl
