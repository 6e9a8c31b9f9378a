// The SDL backend's state, shared by its files: the clock, the sound, the windows on screen and
// the mouse cursor.
#pragma once

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "toolkit/pad.h"
#include "toolkit/sdl/sdl_audio.h"
#include "toolkit/sdl/sdl_backend.h"
#include "toolkit/sdl/sdl_window.h"

namespace tk {

class Application;

struct SdlBackend::Impl {
    SDL_Window* early = nullptr;  // shown before the main window opens, for it to take over
    int earlyW = 0, earlyH = 0;   // the client size it was opened for
    SdlBackend* owner = nullptr;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::unique_ptr<sdl::SdlAudio> audio;
    std::vector<std::unique_ptr<sdl::ScreenWindow>> screens;
    SDL_Cursor* arrow = nullptr;
    SDL_Cursor* hand = nullptr;
    bool handShown = false;
    bool x11 = false;      // the window system is X11 (else Wayland or another driver)
    int xConnection = -1;  // the X server's socket, once a window is open on X11
    // Closing because of a signal or the end of the session: nobody is there to click a box, so
    // a failed save goes to standard error and the program ends with status 1.
    bool closingUnattended = false;
    SdlBackend::Pacer pacer;  // set: a replay paces the game (see SdlBackend::setPacer)
    bool paced = false;
    // The pacer's share of an event: true when it took the event, which the game then never sees.
    bool pacedEvent(Application& app, const SDL_Event& e);
    int exitStatus = 0;

    // Notes the X connection of a window; waiting on it directly avoids SDL's own wait.
    void noteConnection(SDL_Window* w);
    // From the first window on X11: the connection breaking ends the program through
    // onDisplayLost.
    void watchDisplay();
    // On a quit event: when it came from a failed Wayland connection, ends the program as a
    // broken X connection does (onDisplayLost, then status 1); else false.
    bool endIfDisplayLost();
    // Waits at most TIMEOUTMS for input; true when events are queued.
    bool waitForEvents(int timeoutMs);

    std::int64_t nowUs() const;
    sdl::ScreenWindow* screenOf(const Window* w) const;
    sdl::ScreenWindow* screenById(std::uint32_t id) const;

    // The loop (sdl_loop.cpp): runs until DONE says so.
    void loop(Application& app, const std::function<bool()>& done);
    void forgetGoneWindows(Application& app);
    void presentAll();
    // Measuring aids, active only while the application keeps a tick log: when the main window
    // was mapped and first presented, in wall-clock microseconds.
    static std::FILE* tickLogOf(Window& w);
    static void logWallClock(Window& w, const char* what);
    bool firstPresentLogged = false;
    bool inputSinceCursor = true;
    void* xDisplay = nullptr;
    std::int64_t lastPumpUs = 0;
    std::int64_t cursorCheckedUs = 0;
    void deliverDueTimers(Application& app);

    // Input (sdl_input.cpp).
    void handle(Application& app, const SDL_Event& e);
    // The window with WINDOWID when it is the one that takes input now, else none.
    Window* inputWindow(Application& app, std::uint32_t windowId) const;
    void quitRequested(Application& app);
    void windowEvent(Application& app, const SDL_WindowEvent& e);
    void keyEvent(Application& app, const SDL_KeyboardEvent& k);
    void mouseMotion(Application& app, const SDL_MouseMotionEvent& m);
    // The wheel, at the pointer's place in the client.
    void mouseWheel(Application& app, const SDL_MouseWheelEvent& m);
    void updateCursor(Application& app);
    // Delivers a mouse event at window position (X, Y) as client pixels of S's window; presses
    // on the black border around a scaled frame go nowhere.
    void mouseButton(Application& app, sdl::ScreenWindow& s, Window& w, bool down, Uint8 button,
                     int x, int y);
    std::uint32_t buttonsDelivered = 0;  // mouse buttons whose press reached the game
    // The display keys; true when the key was one of them (it then goes no further).
    bool displayKey(Application& app, const SDL_KeyboardEvent& k);

    // Game controllers (sdl_pads.cpp), opened through SDL's controller database.
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        std::uint32_t held = 0;  // buttons this pad holds down (the stick as the D-pad)
        int stick = 0;           // the left stick held left (-1), right (1) or neither
    };
    std::vector<Pad> pads;
    bool padsReady = false;
    bool padsWanted = false;  // the main loop runs: start the pads after the first present
    int heldCount[kPadButtonCount] = {};  // pads holding each button
    std::int64_t padsPolledUs = 0;
    void startPads();
    void stopPads();
    // Reads the controllers (and notices new ones) when due; longest sleep while pads are open.
    void pollPads();
    int padWaitCapMs() const;
    void handlePad(Application& app, const SDL_Event& e);
    void padHold(Application& app, PadButton b, bool down);

    // Scaling and fullscreen (sdl_display.cpp).
    int scaleChoice = 0;  // 0 automatic, else 1..4
    bool fullscreenChoice = false;
    // The whole-number scale windows are shown at now.
    int windowScale(SDL_Window* on = nullptr) const;
    // The largest whole-number scale at which the main window fits the desktop under ON.
    int largestScale(SDL_Window* on) const;
    void applyScale();
    void changeChoices(Application& app, int scale, bool fullscreen);
};

}  // namespace tk
