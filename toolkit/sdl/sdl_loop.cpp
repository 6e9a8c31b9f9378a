// The event loop: sleep until the next event or timer tick, handle every event, deliver the ticks
// that fell due, then show what changed. No frame rate: an idle game sleeps.
#include "../application.h"
#include "../timer.h"
#include "../window.h"
#include "loop_timing.h"
#include "sdl_impl.h"

namespace tk {

void SdlBackend::Impl::loop(Application& app, const std::function<bool()>& done) {
    while (!done()) {
        presentAll();
        updateCursor(app);
        Timer* next = app.nextDueTimer();
        int waitMs = sdl::waitTimeoutMs(next != nullptr, next ? next->dueUs() : 0, nowUs());
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, waitMs)) {
            handle(app, e);
            while (!done() && SDL_PollEvent(&e)) handle(app, e);
        }
        if (!done()) deliverDueTimers(app);
    }
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

void SdlBackend::Impl::presentAll() {
    // A handler may close a window while we walk them: go by a copy of the list.
    std::vector<sdl::ScreenWindow*> list;
    for (const auto& s : screens) list.push_back(s.get());
    for (sdl::ScreenWindow* s : list) s->refresh();
}

}  // namespace tk
