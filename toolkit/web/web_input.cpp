// The page's input entry points: each delivers its input to the window that takes input now
// through the same entry points as the desktop's loop, then shows what changed.
#include <emscripten.h>

#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/pad.h"
#include "toolkit/web/web_backend.h"
#include "toolkit/window.h"

namespace tk {

namespace {

EM_JS(void, jsCursor, (int hand), { Module.lumcrest.screen.cursor(hand != 0); });

}  // namespace

void WebBackend::pointerShape(Window& w, int x, int y) {
    // The hand over the controls that ask for it, as on the desktop.
    Control* c = w.controlAt(x, y);
    const bool hand = c && c->handCursor && c->showing();
    if (hand == handShown_) return;
    handShown_ = hand;
    jsCursor(hand ? 1 : 0);
}

void WebBackend::keyDown(int vk, bool shift) {
    if (Window* w = inputWindow()) app_->inputKeyDown(*w, vk, shift);
    afterEvents();
}

void WebBackend::keyUp(int vk) {
    if (Window* w = inputWindow()) app_->inputKeyUp(*w, vk);
    afterEvents();
}

void WebBackend::text(const std::string& utf8) {
    if (Window* w = inputWindow()) app_->inputText(*w, utf8);
    afterEvents();
}

void WebBackend::mouse(int kind, int button, int x, int y) {
    Window* w = inputWindow();
    if (w) {
        // Positions are the main window's; a box over it is drawn in its middle.
        if (w != app_->mainWindow()) {
            x -= (app_->mainWindow()->clientWidth() - w->clientWidth()) / 2;
            y -= (app_->mainWindow()->clientHeight() - w->clientHeight()) / 2;
        }
        const MouseButton b = button == 2   ? MouseButton::Right
                              : button == 1 ? MouseButton::Middle
                                            : MouseButton::Left;
        if (kind == 0) {
            app_->inputMouseMove(*w, x, y);
            if (inputWindow() == w) pointerShape(*w, x, y);
        } else if (kind == 1) {
            app_->inputMouseDown(*w, b, x, y);
        } else {
            app_->inputMouseUp(*w, b, x, y);
        }
    }
    afterEvents();
}

void WebBackend::wheel(int x, int y, int steps) {
    if (Window* w = inputWindow()) app_->inputMouseWheel(*w, x, y, steps);
    afterEvents();
}

void WebBackend::pad(int button, bool down) {
    if (app_ && button >= 0 && button < kPadButtonCount)
        app_->padInput(static_cast<PadButton>(button), down);
    afterEvents();
}

}  // namespace tk

// Called by the page's script (web/js/).
extern "C" {

EMSCRIPTEN_KEEPALIVE void lumcrest_key(int vk, int down, int shift) {
    if (auto* b = tk::WebBackend::current()) {
        if (down)
            b->keyDown(vk, shift != 0);
        else
            b->keyUp(vk);
    }
}

EMSCRIPTEN_KEEPALIVE void lumcrest_text(const char* utf8) {
    if (auto* b = tk::WebBackend::current()) b->text(utf8);
}

// KIND: 0 a move, 1 a press, 2 a release; BUTTON: 0 left, 1 middle, 2 right (the DOM's numbers).
EMSCRIPTEN_KEEPALIVE void lumcrest_mouse(int kind, int button, int x, int y) {
    if (auto* b = tk::WebBackend::current()) b->mouse(kind, button, x, y);
}

EMSCRIPTEN_KEEPALIVE void lumcrest_wheel(int x, int y, int steps) {
    if (auto* b = tk::WebBackend::current()) b->wheel(x, y, steps);
}

// BUTTON: the toolkit's PadButton order (A, B, X, Y, Back, Start, up, down, left, right).
EMSCRIPTEN_KEEPALIVE void lumcrest_pad(int button, int down) {
    if (auto* b = tk::WebBackend::current()) b->pad(button, down != 0);
}

EMSCRIPTEN_KEEPALIVE void lumcrest_timer() {
    if (auto* b = tk::WebBackend::current()) b->timerDue();
}

// The browser tests' clock (with ?clock=test in the page's address): MS milliseconds on.
EMSCRIPTEN_KEEPALIVE void lumcrest_advance(double ms) {
    if (auto* b = tk::WebBackend::current()) b->advance(static_cast<std::int64_t>(ms));
}

EMSCRIPTEN_KEEPALIVE void lumcrest_page_hidden() {
    if (auto* b = tk::WebBackend::current()) b->pageHidden();
}

EMSCRIPTEN_KEEPALIVE void lumcrest_fonts_arrived() {
    if (auto* b = tk::WebBackend::current()) b->fontsArrived();
}
}
