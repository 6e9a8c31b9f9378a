// The event loop: sleep until the next event or timer tick, handle every event, deliver the ticks
// that fell due, then show what changed. No frame rate: an idle game sleeps.
#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cstdio>

#include "toolkit/application.h"
#include "toolkit/sdl/loop_timing.h"
#include "toolkit/sdl/sdl_impl.h"
#include "toolkit/sdl/x11_connection.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

namespace tk {

void SdlBackend::Impl::loop(Application& app, const std::function<bool()>& done) {
    while (!done()) {
        forgetGoneWindows(app);
        presentAll();
        app.sayPicturesLeftOut();
        if (padsWanted && !padsReady) {
            padsWanted = false;
            startPads();
        }
        // The pointer's shape follows the control under it. Input moves it; between inputs a
        // control may appear under a still pointer, which a look now and then catches without
        // a hit test on every tick of an idle game.
        if (inputSinceCursor || nowUs() - cursorCheckedUs > 250000) {
            updateCursor(app);
            inputSinceCursor = false;
            cursorCheckedUs = nowUs();
        }
        pollPads();
        Timer* next = paced ? nullptr : app.nextDueTimer();
        const std::int64_t due = paced ? pacer.dueUs() : next ? next->dueUs() : -1;
        int waitMs = sdl::waitTimeoutMs(due >= 0, due, nowUs());
        waitMs = std::min(waitMs, padWaitCapMs());
        if (waitForEvents(waitMs)) {
            SDL_Event e;
            while (!done() && SDL_PollEvent(&e)) {
                handle(app, e);
                inputSinceCursor = true;
            }
        }
        if (!done() && paced)
            pacer.run();
        else if (!done())
            deliverDueTimers(app);
        audio->tidy();
    }
}

void SdlBackend::Impl::noteConnection(SDL_Window* w) {
    if (xConnection < 0) {
        xConnection = sdl::xConnectionOf(w);
        xDisplay = sdl::xDisplayOf(w);
        if (xConnection >= 0) watchDisplay();
    }
}

bool SdlBackend::Impl::waitForEvents(int timeoutMs) {
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return true;
    if (xConnection < 0) return SDL_WaitEventTimeout(nullptr, timeoutMs) != 0;
    // Events Xlib read while the frame went out wait in its queue, not on the socket. Checking
    // that queue asks the server nothing, which keeps an idle game's wake-ups cheap.
    if (sdl::xEventsWaiting(xDisplay)) {
        SDL_PumpEvents();
        if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return true;
    }
    // On X11, SDL's own wait wakes itself by sending a message to a window through a second
    // connection to the server; when that window is destroyed at the same moment (a box closed
    // by the key that woke the loop) the server may see the message last, and the error it
    // answers ends the program. Waiting on the server's socket here has no such message. The
    // pump above left nothing unread in Xlib's queue. SIGTERM and SIGINT (quit events) come to
    // this thread and break the wait; one that arrives just before it is seen after it, within a
    // second.
    pollfd p{xConnection, POLLIN, 0};
    int ready = poll(&p, 1, timeoutMs);
    // A wait that simply ran out (a timer is due) brought nothing from the server; the pump,
    // which also turns a pending quit signal into an event, then runs only now and then.
    std::int64_t now = nowUs();
    if (ready == 0 && now - lastPumpUs < 250000) return false;
    lastPumpUs = now;
    SDL_PumpEvents();
    return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void SdlBackend::Impl::deliverDueTimers(Application& app) {
    // Only ticks due by now: a handler slower than its interval must not keep the loop from
    // events (the timer itself drops the ticks it fell behind by).
    const std::int64_t now = nowUs();
    while (!app.quitting()) {
        Timer* t = app.nextDueTimer();
        if (!t || t->dueUs() > now) break;
        app.deliverTick(*t);
    }
}

void SdlBackend::Impl::forgetGoneWindows(Application& app) {
    // A window object destroyed while open never said it closed; its screen must not outlive it.
    const auto& live = app.windows();
    std::erase_if(screens, [&live](const auto& s) {
        return std::find(live.begin(), live.end(), &s->window()) == live.end();
    });
}

void SdlBackend::Impl::presentAll() {
    // A handler may close a window while we walk them: go by a copy of the list.
    std::vector<sdl::ScreenWindow*> list;
    for (const auto& s : screens) list.push_back(s.get());
    for (sdl::ScreenWindow* s : list) {
        // Each frame's composing and sending time goes to the tick log, for the measurements.
        const std::int64_t from = nowUs();
        if (s->refresh())
            if (std::FILE* log = tickLogOf(s->window()))
                std::fprintf(log, "frame %lld\n", (long long)(nowUs() - from));
    }
    if (!firstPresentLogged && !list.empty() && tickLogOf(list.front()->window())) {
        firstPresentLogged = true;
        logWallClock(list.front()->window(), "presented");
    }
}

std::FILE* SdlBackend::Impl::tickLogOf(Window& w) {
    return w.app().tickLog;
}

void SdlBackend::Impl::logWallClock(Window& w, const char* what) {
    // Wall-clock microseconds, comparable with the moment a measuring script started the game.
    if (std::FILE* log = tickLogOf(w)) {
        timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        std::fprintf(log, "%s %lld\n", what, (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000);
        std::fflush(log);
    }
}

}  // namespace tk
