// What a platform gives the toolkit: a clock, sound, the shell, the error box and the event loop.
// Three backends exist: SDL2 (toolkit/sdl: a real window and sound card), headless
// (toolkit/headless: a memory surface, recorded audio, a virtual clock) and the browser's
// (toolkit/web: a canvas, the page's events and Web Audio, the browser's own event loop).
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/audio.h"

namespace tk {

class Application;
class Window;

class Backend {
  public:
    virtual ~Backend() = default;
    // Microseconds of a monotonic clock.
    virtual std::int64_t nowUs() = 0;
    virtual Audio& audio() = 0;
    // The short system beep.
    virtual void beep() = 0;
    // Hands ADDRESS to the web browser (the desktop's, or a new tab of the page's); the result is
    // not looked at.
    virtual void openUrl(const std::string& address) = 0;
    // Whether the close under way was asked for by nobody at the screen (a signal, the end of the
    // session, the display going away) rather than by the window's close box.
    virtual bool closingUnattended() const { return false; }
    // Shows MESSAGE in the error box (headless: kept for whoever drives the program).
    virtual void showError(Application& app, const std::string& message) = 0;
    // Shows MESSAGE for an error that ends the program, and returns when the player has seen it.
    virtual void showFatalError(Application& app, const std::string& message) {
        showError(app, message);
    }
    // Starts or stops the platform's text input while a box that takes typed text has the focus
    // (where the system has an on-screen keyboard, it shows it then).
    virtual void setTextInput(bool on) { (void)on; }
    // A window opened or closed on screen.
    virtual void windowOpened(Window&) {}
    virtual void windowClosed(Window&) {}
    // Runs the event loop until the main window has closed. In the browser, whose own loop
    // delivers the events and timers, this only starts it and returns at once.
    virtual void run(Application& app) = 0;
};

}  // namespace tk
