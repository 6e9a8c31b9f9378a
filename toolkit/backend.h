// What a platform gives the toolkit: a clock, sound, the shell, the error box, the event loop and
// the set-up a program asks of it before the game opens.
// Three backends exist: SDL2 (toolkit/sdl: a real window and sound card), headless
// (toolkit/headless: a memory surface, recorded audio, a virtual clock) and the browser's
// (toolkit/web: a canvas, the page's events and Web Audio, the browser's own event loop).
#pragma once

#include <cstdint>
#include <functional>
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

    // --- What a program sets up before the game opens; each backend does what its platform
    // has, the others nothing (the desktop's: toolkit/sdl).
    // Puts an empty window of the main window's client size on screen at once, before the game
    // has loaded what it shows, named TITLE; the main window takes it over when it opens.
    virtual void openEarly(int clientW, int clientH, const std::string& title) {
        (void)clientW, (void)clientH, (void)title;
    }
    // The player's display choices: SCALE 0 for automatic or 1..4; FULLSCREEN for the main
    // window. Values out of range count as 0.
    virtual void setDisplayChoices(int scale, bool fullscreen) { (void)scale, (void)fullscreen; }
    // Runs, as an event of the application, when the player changed them with the keys, so they
    // can be remembered.
    std::function<void(int scale, bool fullscreen)> onDisplayChoicesChanged;
    // Runs when the display goes away under the game (the connection broke, another program
    // destroyed a window): the program's last chance to keep what it must and to say why it ends
    // (WHAT, in a few words). Nothing can be shown any more.
    std::function<void(const char* what)> onDisplayLost;
    // The program's status once run() has returned: 0, or 1 when a close without anyone at the
    // screen failed.
    virtual int exitStatus() const { return 0; }
};

}  // namespace tk
