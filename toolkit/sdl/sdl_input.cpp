// Input: keys, typed text, the mouse and the close box, each delivered to the window that takes
// input now (the modal one while it is open) as one event of the application.
#include "../application.h"
#include "../control.h"
#include "../window.h"
#include "key_codes.h"
#include "sdl_impl.h"

namespace tk {

namespace {

bool toButton(Uint8 sdlButton, MouseButton& out) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: out = MouseButton::Left; return true;
        case SDL_BUTTON_RIGHT: out = MouseButton::Right; return true;
        case SDL_BUTTON_MIDDLE: out = MouseButton::Middle; return true;
        default: return false;
    }
}

}  // namespace

void SdlBackend::Impl::handle(Application& app, const SDL_Event& e) {
    // The window an event belongs to, when it is the one that takes input.
    auto inputWindow = [&](std::uint32_t windowId) -> Window* {
        sdl::ScreenWindow* s = screenById(windowId);
        if (!s || &s->window() != app.activeWindow()) return nullptr;
        return &s->window();
    };

    switch (e.type) {
        case SDL_QUIT: {
            // Closing the session or a signal: the game closes as by its close box, so it saves.
            Window* w = app.mainWindow();
            if (!w || !w->isOpen()) w = app.activeWindow();
            if (w) app.inputCloseRequest(*w);
            break;
        }
        case SDL_WINDOWEVENT: {
            sdl::ScreenWindow* s = screenById(e.window.windowID);
            if (!s) break;
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                s->exposed();
            } else if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                // A window behind a modal box does not close, as its controls do not click.
                if (Window* w = inputWindow(e.window.windowID)) app.inputCloseRequest(*w);
            } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                // Clicking the main window while a box is open brings the box back to the front.
                Window* active = app.activeWindow();
                if (active && active != &s->window())
                    if (sdl::ScreenWindow* a = screenOf(active)) a->takeFocus();
            }
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            Window* w = inputWindow(e.key.windowID);
            if (!w) break;
            bool numLock = (e.key.keysym.mod & KMOD_NUM) != 0;
            int vk = sdl::virtualKey(e.key.keysym.sym, e.key.keysym.scancode, numLock);
            if (vk == 0) break;
            // Auto-repeat counts: every repeat is a new press, as the game's keys expect.
            if (e.type == SDL_KEYDOWN)
                app.inputKeyDown(*w, vk);
            else
                app.inputKeyUp(*w, vk);
            break;
        }
        case SDL_TEXTINPUT: {
            if (Window* w = inputWindow(e.text.windowID)) {
                app.inputText(*w, e.text.text);
            }
            break;
        }
        case SDL_MOUSEMOTION: {
            if (Window* w = inputWindow(e.motion.windowID)) {
                app.inputMouseMove(*w, e.motion.x, e.motion.y);
            }
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            MouseButton b;
            if (!toButton(e.button.button, b)) break;
            Window* w = inputWindow(e.button.windowID);
            if (!w) break;
            int x = e.button.x, y = e.button.y;
            if (e.type == SDL_MOUSEBUTTONDOWN)
                app.inputMouseDown(*w, b, x, y);
            else
                app.inputMouseUp(*w, b, x, y);
            break;
        }
        default: break;
    }
}

void SdlBackend::Impl::updateCursor(Application& app) {
    // The hand shows over controls that ask for it, in the window that takes input; controls
    // move and hide under a still mouse too, so this runs after every round of the loop.
    bool hand = false;
    SDL_Window* focus = SDL_GetMouseFocus();
    if (focus) {
        sdl::ScreenWindow* s = screenById(SDL_GetWindowID(focus));
        if (s && &s->window() == app.activeWindow()) {
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            Control* c = s->window().controlAt(x, y);
            hand = c && c->handCursor && c->showing();
        }
    }
    if (hand == handShown) return;
    handShown = hand;
    SDL_SetCursor(hand ? this->hand : arrow);
}

}  // namespace tk
