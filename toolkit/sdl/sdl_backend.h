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

    // A real window at once (openEarly); the display's scale, automatic the largest whole
    // number that fits the desktop; a change of the choices by F11 or Alt+Enter, Ctrl+plus,
    // Ctrl+minus, Ctrl+0 (onDisplayChoicesChanged); the X server ending or another program
    // destroying a window (onDisplayLost, on standard error; without it a line says what, and
    // the program ends with status 1).
    void openEarly(int clientW, int clientH, const std::string& title) override;
    void setDisplayChoices(int scale, bool fullscreen) override;

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
    int exitStatus() const override;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace tk
