// The browser backend: the composed frame goes to a canvas, input comes from the page's events,
// the timers run on the browser's event loop and sound plays through Web Audio. The page's
// script (web/js/) calls the exported entry points of web_input.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/image.h"
#include "toolkit/web/web_audio.h"

namespace tk {

class WebBackend : public Backend {
  public:
    WebBackend();
    ~WebBackend() override;

    std::int64_t nowUs() override;
    Audio& audio() override { return audio_; }
    void beep() override;
    // Opens ADDRESS in a new tab; the game's own pages are served beside the game.
    void openUrl(const std::string& address) override;
    bool closingUnattended() const override { return pageClosing_; }
    void showError(Application& app, const std::string& message) override;
    void showFatalError(Application& app, const std::string& message) override;
    void setTextInput(bool on) override;
    // Starts the event loop's work and returns: from here the browser calls in.
    void run(Application& app) override;

    // Runs when the page goes away or out of sight (closing or reloading the tab, another tab
    // in front): the last moment to keep the game in progress.
    std::function<void()> onPageHidden;

    // The page's entry points (web_input.cpp): each runs its input, then shows what changed and
    // sets the timeout for the next tick.
    void keyDown(int vk, bool shift);
    void keyUp(int vk);
    void text(const std::string& utf8);
    void mouse(int kind, int button, int x, int y);
    void wheel(int x, int y, int steps);
    void pad(int button, bool down);
    void timerDue();
    void pageHidden();
    // A download of faces has come: everything is drawn again, with the letters they bring.
    void fontsArrived();

    // For the browser tests: a clock that stands still but for advance(), delivering the ticks
    // on the way as the headless driver's wait does, so the page's frames can be compared with
    // the driver's.
    void useTestClock() { testClock_ = true; }
    void advance(std::int64_t ms);

    // The one backend of the page.
    static WebBackend* current();

  private:
    struct Shown {
        Window* window;
        Image frame;
    };
    // Composes what changed and hands it to the canvas: the main window, with any box open over
    // it drawn in its middle.
    void present();
    void sendWhole();
    // Asks the browser for a call when the next timer tick falls due (none when no timer runs).
    void schedule();
    // Delivers the ticks due by now, each as one event; a late timer drops what it fell behind by.
    void deliverDueTimers();
    void afterEvents();
    Window* inputWindow() const;
    // The pointer's shape for the control under (x, y) of W.
    void pointerShape(Window& w, int x, int y);

    Application* app_ = nullptr;
    WebAudio audio_;
    std::vector<Shown> shown_;
    Image screen_;
    bool pageClosing_ = false;
    bool handShown_ = false;
    bool testClock_ = false;
    std::int64_t testUs_ = 0;
};

}  // namespace tk
