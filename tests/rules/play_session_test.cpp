// The play session alone: what the player may do in each phase, the phases a launch runs through
// to the next bar, a stage end and a loss, and the events the window hears on the way.
#include "game/play_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/rules/well.h"

namespace lumcrest::testing {
namespace {

using K = PlayEvent::Kind;

struct Session {
    PlaySession s;
    std::vector<PlayEvent> heard;

    explicit Session(const Well& w) {
        s.state() = w.s;
        s.setListener([this](const PlayEvent& e) { heard.push_back(e); });
    }
    std::vector<PlayEvent> take() { return std::exchange(heard, {}); }
    bool heardClock(K kind, Clock c) const {
        return std::ranges::any_of(
            heard, [&](const PlayEvent& e) { return e.kind == kind && e.clock == c; });
    }
    bool heardSound(PlaySound sound) const {
        return std::ranges::any_of(
            heard, [&](const PlayEvent& e) { return e.kind == K::Sound && e.sound == sound; });
    }
    // Ticks the clock of the phase until the phase changes (at most LIMIT ticks).
    void tickThrough(Phase p, int limit = 100) {
        for (int i = 0; i < limit && s.phase() == p; ++i) {
            if (p == Phase::InFlight) s.flightTick();
            if (p == Phase::Settling) s.settleTick();
        }
    }
};

// A well of six kinds with two 2s in column 1 over the launch row's gap, and the bar under
// them with a 2 at its left: launched, it makes a column of three.
Well pairOverTheBar() {
    Well w;
    w.s.Blocks = 6;
    w.s.Gemsleft = 30;
    w.s.Stage = 1;
    w.lay({".........."});
    w.put(1, 3, 2);
    w.put(1, 4, 2);
    w.bar(1, 2, 1, 3);
    for (int k = 1; k <= 3; ++k) w.s.Nextshape[k] = k;
    return w;
}

TEST(PlaySession, AWaitingBarMovesAndFliesButNotOnceInFlight) {
    Session t(pairOverTheBar());
    EXPECT_EQ(t.s.phase(), Phase::BarWaiting);
    t.s.shift(+1);
    EXPECT_EQ(t.s.state().shapeX[1], columnX(2));
    EXPECT_TRUE(t.heardSound(PlaySound::ShiftCue));
    // At the side the shift is refused outright: no redraw, no sound.
    t.s.shift(-1);
    t.take();
    t.s.shift(-1);
    EXPECT_TRUE(t.take().empty());

    t.s.launch();
    EXPECT_EQ(t.take(), (std::vector<PlayEvent>{{K::Launched},
                                                {K::Start, Clock::Flight},
                                                {K::Sound, Clock::Flight, PlaySound::LaunchCue}}));
    EXPECT_EQ(t.s.phase(), Phase::InFlight);
    EXPECT_TRUE(t.s.barInFlight());
    const GameState before = t.s.state();
    t.s.shift(+1);
    t.s.rotate();
    t.s.launch();
    EXPECT_TRUE(t.take().empty());
    EXPECT_EQ(t.s.state().shapeX[1], before.shapeX[1]);
    EXPECT_EQ(t.s.state().Shape[1], before.Shape[1]);
}

TEST(PlaySession, ALandingWithoutAGroupBringsTheNextBar) {
    Well w = pairOverTheBar();
    w.bar(4, 1, 2, 1);
    Session t(w);
    const int next = t.s.state().Nextshape[1];
    t.s.launch();
    t.tickThrough(Phase::InFlight);
    EXPECT_EQ(t.s.phase(), Phase::BarWaiting);
    EXPECT_TRUE(t.heardSound(PlaySound::GemsTouch));
    EXPECT_TRUE(t.heardClock(K::Stop, Clock::Flight));
    EXPECT_FALSE(t.heardClock(K::Start, Clock::Settle));
    EXPECT_EQ(t.s.state().Shape[1], next);
    EXPECT_FALSE(t.s.barInFlight());
}

TEST(PlaySession, AGroupSettlesThenTheTubeFillsAndAFinishedStageRunsToTheBanner) {
    Session t(pairOverTheBar());
    t.s.launch();
    t.tickThrough(Phase::InFlight);
    ASSERT_EQ(t.s.phase(), Phase::Settling);
    // The idle animations rest while the chain settles; the bar waits.
    EXPECT_TRUE(t.heardClock(K::Stop, Clock::Sparkle));
    EXPECT_TRUE(t.heardClock(K::Stop, Clock::Blink));
    t.take();
    t.s.launch();
    t.s.shift(+1);
    EXPECT_TRUE(t.take().empty());

    t.tickThrough(Phase::Settling);
    EXPECT_EQ(t.s.phase(), Phase::Filling);
    EXPECT_GT(t.s.state().Score, 0);
    const auto chain = std::ranges::find(t.heard, K::ChainEnded, &PlayEvent::kind);
    ASSERT_NE(chain, t.heard.end());
    EXPECT_EQ(chain->count, 3);
    EXPECT_TRUE(t.heardClock(K::Start, Clock::Fill));
    // The tube may still fill while the next bar flies.
    t.s.fillEnded();
    EXPECT_EQ(t.s.phase(), Phase::BarWaiting);

    // The stage's target reached: the jar, the burst, the banner, then the next bar.
    t.s.state().Gemsleft = 0;
    t.s.fillEnded();
    EXPECT_EQ(t.s.phase(), Phase::StageEnd);
    EXPECT_EQ(t.s.state().Stage, 2);
    EXPECT_TRUE(t.heardSound(PlaySound::JarFilled));
    t.s.jarEnded();
    EXPECT_EQ(t.s.phase(), Phase::Exploding);
    t.s.blastEnded(true);
    EXPECT_EQ(t.s.phase(), Phase::LevelBanner);
    t.take();
    t.s.launch();
    EXPECT_TRUE(t.take().empty());
    t.s.bannerEnded();
    EXPECT_EQ(t.s.phase(), Phase::BarWaiting);
    EXPECT_TRUE(t.heardClock(K::Stop, Clock::Banner));
    EXPECT_TRUE(t.heardClock(K::Start, Clock::Sparkle));
}

TEST(PlaySession, AChainTellsTheJokersAndBombsItUsedAndWhereTheTubeStarts) {
    // The bar's 2 under a bomb and a 2: the bomb takes every 2 and the joker far away.
    Well w = pairOverTheBar();
    w.put(1, 3, kBomb);
    w.put(6, 10, kJoker);
    Session t(w);
    t.s.launch();
    t.tickThrough(Phase::InFlight);
    t.tickThrough(Phase::Settling);
    int jokers = 0, bombs = 0;
    for (const PlayEvent& e : t.heard)
        if (e.kind == K::SpecialsUsed) jokers += e.count, bombs += e.bombs;
    EXPECT_EQ(jokers, 1);
    EXPECT_EQ(bombs, 1);
    // The tube's mark is set at the landing, before the chain; it draws afresh at the chain's end.
    auto at = [&](K kind) { return std::ranges::find(t.heard, kind, &PlayEvent::kind); };
    ASSERT_NE(at(K::FillMarked), t.heard.end());
    EXPECT_LT(at(K::FillMarked), at(K::SpecialsUsed));
    EXPECT_GT(at(K::FillRestarts), at(K::ChainEnded));
}

TEST(PlaySession, ABlockedLaunchLosesAndTheCracksLeadToANewGame) {
    Well w = pairOverTheBar();
    w.put(2, 2, 3);
    Session t(w);
    t.s.launch();
    t.s.flightTick();
    EXPECT_EQ(t.s.phase(), Phase::GameOver);
    EXPECT_TRUE(t.s.state().gameOver);
    EXPECT_TRUE(t.heardSound(PlaySound::YouLose));
    EXPECT_TRUE(std::ranges::find(t.heard, K::FinalScore, &PlayEvent::kind) != t.heard.end());
    t.take();
    t.s.launch();
    t.s.rotate();
    EXPECT_TRUE(t.take().empty());
    t.s.cracksEnded();
    EXPECT_EQ(t.s.phase(), Phase::BarWaiting);
    t.s.newGame(5);
    EXPECT_FALSE(t.s.state().gameOver);
    EXPECT_EQ(t.s.state().Stage, 1);
}

TEST(PlaySession, TheSameSeedPlaysTheSameGame) {
    Session a{Well{}}, b{Well{}};
    for (Session* t : {&a, &b}) {
        t->s.newGame(42);
        for (int i = 0; i < 6; ++i) {
            t->s.shift(i % 2 ? 1 : -1);
            t->s.launch();
            t->tickThrough(Phase::InFlight);
            t->tickThrough(Phase::Settling);
            t->s.fillEnded();
        }
    }
    EXPECT_EQ(a.heard, b.heard);
    EXPECT_TRUE(std::ranges::equal(a.s.state().board, b.s.state().board));
}

}  // namespace
}  // namespace lumcrest::testing
