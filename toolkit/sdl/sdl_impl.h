// The SDL backend's state, shared by its files: the clock, the sound, the windows on screen and
// the mouse cursor.
#pragma once

#include <cstdio>

#include <SDL.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "sdl_audio.h"
#include "sdl_backend.h"
#include "sdl_window.h"

namespace tk {

class Application;

struct SdlBackend::Impl {
    SDL_Window* early = nullptr;  // shown before the main window opens, for it to take over
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::unique_ptr<sdl::SdlAudio> audio;
    std::vector<std::unique_ptr<sdl::ScreenWindow>> screens;
    SDL_Cursor* arrow = nullptr;
    SDL_Cursor* hand = nullptr;
    bool handShown = false;
    int xConnection = -1;  // the X server's socket, once a window is open on X11
    // Closing because of a signal or the end of the session: nobody is there to click a box, so
    // a failed save goes to standard error and the program ends with status 1.
    bool closingUnattended = false;
    int exitStatus = 0;

    // Notes the X connection of a window; waiting on it directly avoids SDL's own wait.
    void noteConnection(SDL_Window* w);
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
    void updateCursor(Application& app);
};

}  // namespace tk
