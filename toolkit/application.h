// The application: its windows, its timers, modality and the dispatch of every handler.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/pad.h"

namespace tk {

class Timer;
class Window;
enum class MouseButton;

// Sees every input and every timer tick that the real loop hands to the game, in the order they
// come, just before each is handled (for recording a session). The times are the clock's.
class InputObserver {
  public:
    virtual ~InputObserver() = default;
    virtual void keyDown(Window&, int /*vk*/) {}
    virtual void keyUp(Window&, int /*vk*/) {}
    virtual void text(Window&, const std::string& /*utf8*/) {}
    virtual void mouseMove(Window&, int /*x*/, int /*y*/) {}
    virtual void mouseDown(Window&, MouseButton, int /*x*/, int /*y*/) {}
    virtual void mouseUp(Window&, MouseButton, int /*x*/, int /*y*/) {}
    virtual void mouseWheel(Window&, int /*x*/, int /*y*/, int /*steps*/) {}
    virtual void closeRequest(Window&) {}
    // A game-controller button pressed or released, for the window that takes input.
    virtual void padButton(PadButton, bool /*down*/) {}
    virtual void tick(Timer&) {}
};

class Application {
  public:
    explicit Application(Backend& backend);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Backend& backend() { return backend_; }
    std::int64_t nowUs() { return backend_.nowUs(); }

    // Runs HANDLER as one event: an error escaping it is shown in the error box and the loop goes
    // on. Pending paints run afterwards.
    void dispatch(const std::function<void()>& handler);
    // Shows MESSAGE in the error box; on the terminal when no box can be had. Never throws.
    void reportError(const std::string& message);
    // Says each picture newly left out (tk::pictureLeftOut), on the terminal and in the error box;
    // nothing while an event is being handled (it runs after every event and every frame shown).
    void sayPicturesLeftOut();
    // Runs after every event that was dispatched (a handler and the paints it asked for), for tests
    // that check the game's invariants between events.
    std::function<void()> afterEvent;
    // When set, every delivered tick is written to it as "NAME MICROSECONDS" (for measuring the
    // real timer periods).
    std::FILE* tickLog = nullptr;
    // Runs ACTION after the current event has been handled (at once when none is being handled).
    void later(std::function<void()> action);

    // --- Input ------------------------------------------------------------------------------
    // The entry points of the real loop's input: each tells the observer, then runs the input
    // on window W as one event.
    // SHIFT: whether a Shift key was held at the press (the only modifier the game reads).
    void inputKeyDown(Window& w, int vk, bool shift = false);
    void inputKeyUp(Window& w, int vk);
    void inputText(Window& w, const std::string& utf8);
    void inputMouseMove(Window& w, int x, int y);
    void inputMouseDown(Window& w, MouseButton b, int x, int y);
    void inputMouseUp(Window& w, MouseButton b, int x, int y);
    void inputMouseWheel(Window& w, int x, int y, int steps);
    void inputCloseRequest(Window& w);
    // Not owned; nullptr for none.
    InputObserver* inputObserver = nullptr;
    // Whether Shift was held at the key press being handled now (false outside one, and for
    // presses that handlers make themselves, such as a controller's).
    bool shiftHeld() const { return shift_; }

    // A game-controller button went down or up: one event for the window that takes input now.
    // Every backend and the script driver deliver pad input here.
    void padInput(PadButton button, bool down);

    // --- Windows -------------------------------------------------------------------------
    void addWindow(Window* w);
    void removeWindow(Window* w);
    const std::vector<Window*>& windows() const { return windows_; }
    // The window whose closing ends the program.
    Window* mainWindow() const { return main_; }
    void setMainWindow(Window* w) { main_ = w; }
    // Opens W modally: until it closes, only W takes input. Returns at once; ON_CLOSED runs when W
    // closes.
    void showModal(Window& w, std::function<void()> onClosed = {});
    // The window that takes input now: the topmost modal window, else the main window.
    Window* activeWindow() const;
    bool acceptsInput(const Window& w) const { return activeWindow() == &w; }
    // Called by a window when it closes.
    void windowClosed(Window& w);
    // Runs every pending paint of every window.
    void flushPaints();

    // --- Timers ----------------------------------------------------------------------------
    void addTimer(Timer* t);
    void removeTimer(Timer* t);
    const std::vector<Timer*>& timers() const { return timers_; }
    // The enabled timer that falls due first (ties: the one created first); nullptr when none.
    Timer* nextDueTimer() const;
    // Delivers one tick of T now (as one event).
    void deliverTick(Timer& t);
    // Delivers, in order of time, every tick due at or before UNTILUS. SETCLOCK moves the
    // (virtual) clock to each tick's time before it is delivered. For the headless backend.
    void runTimersUntil(std::int64_t untilUs, const std::function<void(std::int64_t)>& setClock);

    // --- The real loop -----------------------------------------------------------------------
    void run() { backend_.run(*this); }
    bool quitting() const { return quitting_; }
    void quit() { quitting_ = true; }

  private:
    void runLater();
    Backend& backend_;
    std::vector<Window*> windows_;
    std::vector<Timer*> timers_;
    Window* main_ = nullptr;
    struct Modal {
        Window* window;
        std::function<void()> onClosed;
    };
    std::vector<Modal> modal_;
    bool quitting_ = false;
    bool shift_ = false;
    bool flushing_ = false;
    std::vector<std::function<void()>> later_;
    int depth_ = 0;
};

}  // namespace tk
