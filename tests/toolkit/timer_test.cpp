// The timer rules every handler of the game relies on.
#include "toolkit/timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/headless/headless_backend.h"

namespace {

struct TimerWorld {
    tk::HeadlessBackend backend;
    tk::Application app{backend};
    std::vector<std::string> log;

    void wait(int ms) { backend.advance(app, ms); }
    void record(tk::Timer& t) {
        t.onTimer = [this, &t] {
            log.push_back(t.name() + "@" + std::to_string(backend.nowUs() / 1000));
        };
    }
};

TEST(Timers, SettingTheSameValueKeepsTheCountdownAndAChangeRestartsIt) {
    TimerWorld w;
    tk::Timer t(w.app, "t", 100, true);
    w.record(t);
    w.wait(60);
    t.setEnabled(true);  // already on: nothing restarts
    t.setInterval(100);  // same interval: nothing restarts
    w.wait(40);
    ASSERT_EQ(w.log, (std::vector<std::string>{"t@100"}));
    w.wait(30);
    t.setInterval(50);  // a new interval counts from now (130)
    w.wait(49);
    EXPECT_EQ(w.log.size(), 1u);
    w.wait(1);
    EXPECT_EQ(w.log.back(), "t@180");
    t.setEnabled(false);
    w.wait(10);
    t.setEnabled(true);  // re-enabled at 190: first tick a whole interval later
    w.wait(50);
    EXPECT_EQ(w.log.back(), "t@240");
}

TEST(Timers, TicksArriveInOrderOfTimeAndHandlersChangeWhatFollows) {
    TimerWorld w;
    tk::Timer fast(w.app, "fast", 20, true);
    tk::Timer slow(w.app, "slow", 30, true);
    tk::Timer later(w.app, "later", 10, false);
    w.record(fast);
    w.record(later);
    slow.onTimer = [&] {
        w.log.push_back("slow@" + std::to_string(w.backend.nowUs() / 1000));
        fast.setEnabled(false);
        later.setEnabled(true);  // first due 10 ms after this handler's tick
    };
    w.wait(60);  // a tick due exactly at the end of a wait is delivered
    EXPECT_EQ(w.log, (std::vector<std::string>{"fast@20", "slow@30", "later@40", "later@50",
                                               "slow@60", "later@60"}));
}

TEST(Timers, SimultaneousTicksFollowTheOrderTheTimersWereMade) {
    TimerWorld w;
    tk::Timer a(w.app, "a", 10, true), b(w.app, "b", 5, true);
    w.record(a);
    w.record(b);
    w.wait(10);
    EXPECT_EQ(w.log, (std::vector<std::string>{"b@5", "a@10", "b@10"}));
}

TEST(Timers, ALateLoopDeliversOneTickNotAQueue) {
    TimerWorld w;
    tk::Timer t(w.app, "t", 20, true);
    // The loop was busy for 200 ms: the tick due at 20 goes out at 200, one more follows at once,
    // and then the schedule runs from there instead of catching up nine missed ticks.
    w.backend.setClockUs(200000);
    t.advanceAfterTick(w.backend.nowUs());
    EXPECT_EQ(t.dueUs(), 200000);
    t.advanceAfterTick(w.backend.nowUs());
    EXPECT_EQ(t.dueUs(), 220000);
}

TEST(Timers, ADisabledOrZeroIntervalTimerNeverSpins) {
    TimerWorld w;
    tk::Timer zero(w.app, "zero", 0, true);
    int ticks = 0;
    zero.onTimer = [&] { ++ticks; };
    w.wait(5);
    EXPECT_EQ(ticks, 5);  // a zero interval ticks as a one-millisecond timer
}

}  // namespace
