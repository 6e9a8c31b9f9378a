// Chains: the timing of the settle steps, the accumulating score and the rewards.
#include "assets/catalogue.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

constexpr int kUp = 38;

class Chain : public GameTest {
  protected:
    void SetUp() override {
        enterGame();
        form().play.Blocks = 6;
        form().play.Gemsleft = 20;
        form().play.Score = 0;
    }
    // Launches at the current time; the bar lands after its tenth step, 200 ms later when a
    // gem of it flies the whole well.
    void launch() { key(kUp); }
};

// The landing makes a run of 1s in row 10; the 2s under it rise into a second run; nothing
// follows. Six gems of 20 points: 60 + 120 + 120.
TEST_F(Chain, StepsComeAfter330msThenEvery660msAndTheScoreAccumulates) {
    layBoard({"2 1 1 0 0 0 0 0 0 0", "0 2 2 0 0 0 0 0 0 0"});
    placeBar(4, 1, 3, 4);
    launch();
    waitMs(200);
    EXPECT_TRUE(form().Cycletimer.enabled());
    EXPECT_FALSE(form().Atimer.enabled());
    EXPECT_EQ(markedCount(), 3);

    waitMs(329);
    EXPECT_EQ(form().play.Score, 0);
    waitMs(1);
    EXPECT_EQ(form().play.Score, 60);
    EXPECT_EQ(form().Label1.caption(), "60");
    EXPECT_EQ(markedCount(), 3);  // the 2s that rose into a run

    waitMs(659);
    EXPECT_EQ(form().play.Score, 60);
    waitMs(1);
    EXPECT_EQ(form().play.Score, 180);
    EXPECT_EQ(at(5, 1), 0);  // no bar before the closing step

    waitMs(659);
    EXPECT_EQ(form().play.Score, 180);
    waitMs(1);
    EXPECT_EQ(form().play.Score, 300);
    EXPECT_EQ(form().play.Gemsleft, 14);
    // The chain is over: the next bar waits, the fill and the idle animations run, and a third
    // step flashes the board.
    EXPECT_FALSE(form().Cycletimer.enabled());
    EXPECT_NE(at(5, 1), 0);
    EXPECT_TRUE(form().filltimer.enabled());
    EXPECT_TRUE(form().Atimer.enabled());
    EXPECT_TRUE(form().flashtimer.enabled());
    EXPECT_FALSE(played(asset::kExcellent.file));
    EXPECT_FALSE(played(asset::kIncredible.file));

    // The flash takes three ticks and comes to rest.
    waitMs(150);
    EXPECT_FALSE(form().flashtimer.enabled());
    EXPECT_EQ(form().fieldView.flashStep, 0);
}

// A bomb brought up beside two 1s clears every 1 on the board.
class Rewards : public Chain, public ::testing::WithParamInterface<bool> {};

TEST_P(Rewards, ManyGemsClearedSinceTheLaunchEarnASoundAtTheEnd) {
    const bool ten = GetParam();
    layBoard({"1 1 0 2 1 2 1 2 1 2", "0 0 0 0 0 1 0 1 0 0"});
    if (ten) {
        put(1, 9, 1);
        put(10, 9, 1);
    }
    placeBar(3, kBomb, 3, 4);
    launch();
    waitMs(200);
    EXPECT_EQ(markedCount(), ten ? 10 : 8);
    waitMs(330);
    EXPECT_FALSE(played(asset::kExcellent.file));
    waitMs(660);
    EXPECT_FALSE(form().Cycletimer.enabled());
    EXPECT_EQ(form().play.chainCleared, ten ? 10 : 8);
    EXPECT_EQ(played(asset::kExcellent.file), !ten);
    EXPECT_EQ(played(asset::kIncredible.file), ten);
}

INSTANTIATE_TEST_SUITE_P(EightOrTen, Rewards, ::testing::Bool());

TEST_F(Chain, ReachingTheTargetEndsTheChainAtOnce) {
    form().play.Gemsleft = 3;
    // The bar's 5 completes a square of 5s; the 6s under it rise into a run of three with the
    // 6s of row 10, which the next stage never sees.
    layBoard({"6 6 5 5 0 0 0 0 0 0", "0 0 5 0 0 0 0 0 0 0", "0 0 6 0 0 0 0 0 0 0",
              "0 0 6 0 0 0 0 0 0 0"});
    placeBar(4, 5, 1, 2);
    launch();
    waitMs(200);
    ASSERT_EQ(markedCount(), 4);
    waitMs(330);
    EXPECT_EQ(form().play.Gemsleft, -1);
    EXPECT_FALSE(form().Cycletimer.enabled());
    EXPECT_TRUE(form().filltimer.enabled());
    EXPECT_EQ(at(5, 1), 0);  // the stage end brings the next bar
    EXPECT_EQ(at(3, 10), 6);
    EXPECT_EQ(markedCount(), 0);
}

}  // namespace
}  // namespace lumcrest::testing
