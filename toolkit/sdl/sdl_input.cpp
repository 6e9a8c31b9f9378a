// Input: keys, typed text, the mouse, its wheel and the close box, each delivered to the window
// that takes input now (the modal one while it is open) as one event of the application.
#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/sdl/key_codes.h"
#include "toolkit/sdl/sdl_impl.h"
#include "toolkit/window.h"

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

bool SdlBackend::Impl::pacedEvent(Application& app, const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            if (!endIfDisplayLost()) pacer.close();
            return true;
        case SDL_WINDOWEVENT:
            if (e.window.event != SDL_WINDOWEVENT_CLOSE) return false;
            pacer.close();
            return true;
        case SDL_KEYDOWN: {
            if (displayKey(app, e.key)) return true;
            const bool numLock = (e.key.keysym.mod & KMOD_NUM) != 0;
            const int vk = sdl::virtualKey(e.key.keysym.sym, e.key.keysym.scancode, numLock);
            if (vk != 0) pacer.key(vk);
            return true;
        }
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED: return false;
        default:
            // The player's own input has no part in a replay; the window's own events do.
            return e.type == SDL_KEYUP || e.type == SDL_TEXTINPUT || e.type == SDL_MOUSEMOTION ||
                   e.type == SDL_MOUSEWHEEL || e.type == SDL_MOUSEBUTTONDOWN ||
                   e.type == SDL_MOUSEBUTTONUP || e.type == SDL_CONTROLLERBUTTONDOWN ||
                   e.type == SDL_CONTROLLERBUTTONUP || e.type == SDL_CONTROLLERAXISMOTION;
    }
}

void SdlBackend::Impl::handle(Application& app, const SDL_Event& e) {
    if (paced && pacedEvent(app, e)) return;
    switch (e.type) {
        case SDL_QUIT: quitRequested(app); break;
        case SDL_AUDIODEVICEREMOVED:
            if (!e.adevice.iscapture) audio->deviceRemoved();
            break;
        case SDL_WINDOWEVENT: windowEvent(app, e.window); break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: keyEvent(app, e.key); break;
        case SDL_TEXTINPUT: {
            if (Window* w = inputWindow(app, e.text.windowID)) {
                app.inputText(*w, e.text.text);
            }
            break;
        }
        case SDL_MOUSEMOTION: mouseMotion(app, e.motion); break;
        case SDL_MOUSEWHEEL: mouseWheel(app, e.wheel); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            Window* w = inputWindow(app, e.button.windowID);
            sdl::ScreenWindow* s = screenById(e.button.windowID);
            if (!w || !s) break;
            mouseButton(app, *s, *w, e.type == SDL_MOUSEBUTTONDOWN, e.button.button, e.button.x,
                        e.button.y);
            break;
        }
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION: handlePad(app, e); break;
        default: break;
    }
}

Window* SdlBackend::Impl::inputWindow(Application& app, std::uint32_t windowId) const {
    sdl::ScreenWindow* s = screenById(windowId);
    if (!s || &s->window() != app.activeWindow()) return nullptr;
    return &s->window();
}

void SdlBackend::Impl::quitRequested(Application& app) {
    if (endIfDisplayLost()) return;
    // Closing the session or a signal: the game closes as by its close box, so it saves.
    closingUnattended = true;
    Window* w = app.mainWindow();
    if (!w || !w->isOpen()) w = app.activeWindow();
    if (w) app.inputCloseRequest(*w);
}

void SdlBackend::Impl::windowEvent(Application& app, const SDL_WindowEvent& e) {
    sdl::ScreenWindow* s = screenById(e.windowID);
    if (!s) return;
    if (e.event == SDL_WINDOWEVENT_EXPOSED) {
        s->exposed();
    } else if (e.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        s->resized();
    } else if (e.event == SDL_WINDOWEVENT_CLOSE) {
        // A window behind a modal box does not close, as its controls do not click.
        if (Window* w = inputWindow(app, e.windowID)) app.inputCloseRequest(*w);
    } else if (e.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        // Clicking the main window while a box is open brings the box back to the front.
        Window* active = app.activeWindow();
        if (active && active != &s->window())
            if (sdl::ScreenWindow* a = screenOf(active)) a->takeFocus();
    }
}

void SdlBackend::Impl::keyEvent(Application& app, const SDL_KeyboardEvent& k) {
    Window* w = inputWindow(app, k.windowID);
    if (!w) return;
    if (displayKey(app, k)) return;
    bool numLock = (k.keysym.mod & KMOD_NUM) != 0;
    int vk = sdl::virtualKey(k.keysym.sym, k.keysym.scancode, numLock);
    if (vk == 0) return;
    // Auto-repeat counts: every repeat is a new press, as the game's keys expect.
    if (k.type == SDL_KEYDOWN)
        app.inputKeyDown(*w, vk, (k.keysym.mod & KMOD_SHIFT) != 0);
    else
        app.inputKeyUp(*w, vk);
}

void SdlBackend::Impl::mouseMotion(Application& app, const SDL_MouseMotionEvent& m) {
    Window* w = inputWindow(app, m.windowID);
    sdl::ScreenWindow* s = screenById(m.windowID);
    if (!w || !s) return;
    // Positions on the border around a scaled frame lie outside the client, as a pointer beside
    // a window would.
    int x = 0, y = 0;
    s->clientPoint(m.x, m.y, x, y);
    app.inputMouseMove(*w, x, y);
}

void SdlBackend::Impl::mouseWheel(Application& app, const SDL_MouseWheelEvent& m) {
    Window* w = inputWindow(app, m.windowID);
    sdl::ScreenWindow* s = screenById(m.windowID);
    if (!w || !s) return;
    // Whole notches only (a touchpad's fractions add up in SDL to whole ones), up positive
    // whichever way the desktop turns its wheel.
    const int steps = m.direction == SDL_MOUSEWHEEL_FLIPPED ? -m.y : m.y;
    int wx = 0, wy = 0, x = 0, y = 0;
    SDL_GetMouseState(&wx, &wy);
    if (!s->clientPoint(wx, wy, x, y)) return;
    app.inputMouseWheel(*w, x, y, steps);
}

void SdlBackend::Impl::mouseButton(Application& app, sdl::ScreenWindow& s, Window& w, bool down,
                                   Uint8 sdlButton, int wx, int wy) {
    MouseButton b;
    if (!toButton(sdlButton, b)) return;
    int x = 0, y = 0;
    bool onFrame = s.clientPoint(wx, wy, x, y);
    const std::uint32_t bit = 1u << sdlButton;
    if (down) {
        // A press on the black border goes nowhere, and so does its release.
        if (!onFrame) return;
        buttonsDelivered |= bit;
        app.inputMouseDown(w, b, x, y);
    } else {
        // A release reaches the game when it is on the frame or ends a press that did.
        if (!onFrame && !(buttonsDelivered & bit)) return;
        buttonsDelivered &= ~bit;
        app.inputMouseUp(w, b, x, y);
    }
}

void SdlBackend::Impl::updateCursor(Application& app) {
    // The hand shows over controls that ask for it, in the window that takes input; controls
    // move and hide under a still mouse too, so this runs after every round of the loop.
    bool wantHand = false;
    SDL_Window* focus = SDL_GetMouseFocus();
    if (focus) {
        sdl::ScreenWindow* s = screenById(SDL_GetWindowID(focus));
        if (s && &s->window() == app.activeWindow()) {
            int wx = 0, wy = 0, x = 0, y = 0;
            SDL_GetMouseState(&wx, &wy);
            Control* c = s->clientPoint(wx, wy, x, y) ? s->window().controlAt(x, y) : nullptr;
            wantHand = c && c->handCursor && c->showing();
        }
    }
    if (wantHand == handShown) return;
    handShown = wantHand;
    SDL_SetCursor(wantHand ? hand : arrow);
}

}  // namespace tk
