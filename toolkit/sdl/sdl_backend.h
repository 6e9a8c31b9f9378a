// The SDL2 backend: real windows, the keyboard and mouse, SDL2_mixer for sound, and an event loop
// that sleeps until the next event or timer tick.
#pragma once

#include <functional>
#include <memory>

#include "toolkit/backend.h"

namespace tk {

class SdlBackend : public Backend {
  public:
    // Starts SDL's video and events; audio is opened when it can be (else the game runs silent).
    // Throws tk::Error when there is no display.
    SdlBackend();
    ~SdlBackend() override;

    // Puts an empty window of the main window's client size on screen at once, before the game
    // has loaded what it shows, named TITLE; the main window takes it over when it opens.
    void openEarly(int clientW, int clientH, const std::string& title);

    // The player's display choices: SCALE 0 for automatic (the largest whole number that fits
    // the desktop) or 1..4; FULLSCREEN for the main window. Values out of range count as 0.
    void setDisplayChoices(int scale, bool fullscreen);
    // Runs, as an event of the application, when the player changed them with the keys (F11 or
    // Alt+Enter, Ctrl+plus, Ctrl+minus, Ctrl+0), so they can be remembered.
    std::function<void(int scale, bool fullscreen)> onDisplayChoicesChanged;
    // Runs when the connection to the display breaks (the X server ended), or when another
    // program destroyed one of the game's windows: the program's last chance to keep what it
    // must and to say why it ends (WHAT, in a few words), on standard error. Nothing can be
    // shown any more; the program then ends with status 1. Without it a line says WHAT.
    std::function<void(const char* what)> onDisplayLost;

    // A replay paces the game instead of the clock and the player. While a pacer is set the loop
    // delivers no timer tick of its own and hands no input to the game: it sleeps until
    // dueUs() (negative: until input comes), then calls run(); every key press goes to key(VK),
    // and the window's close box or a signal to close(). The shell then opens nothing, and an
    // error goes to standard error instead of a box.
    struct Pacer {
        std::function<std::int64_t()> dueUs;
        std::function<void()> run;
        std::function<void(int vk)> key;
        std::function<void()> close;
    };
    void setPacer(Pacer pacer);

    std::int64_t nowUs() override;
    Audio& audio() override;
    void beep() override;
    void openUrl(const std::string& address) override;
    bool closingUnattended() const override;
    void showError(Application& app, const std::string& message) override;
    void showFatalError(Application& app, const std::string& message) override;
    void setTextInput(bool on) override;
    void windowOpened(Window& w) override;
    void windowClosed(Window& w) override;
    void run(Application& app) override;
    // 0, or 1 when a close without anyone at the screen failed (its message went to standard
    // error).
    int exitStatus() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace tk
