// The settle cycle and the stages on a bare game state.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "game/bar_rules.h"
#include "game/settle.h"
#include "game/stages.h"
#include "tests/rules/well.h"

namespace lumcrest::testing {
namespace {

TEST(SettleRules, ColumnsCloseUpInOneStepWithTheirOrderKept) {
    Well w;
    w.lay({"1.........", ".2........", "3.3.......", "..........", ".4.5......", "..........",
           "5.........", ".6.6......", "..........", "7.7.....88"});
    closeUpColumns(w.s);
    EXPECT_EQ(w.column(1), "1357......");
    EXPECT_EQ(w.column(2), "246.......");
    EXPECT_EQ(w.column(3), "37........");
    EXPECT_EQ(w.column(4), "56........");
    EXPECT_EQ(w.column(9), "8.........");
    EXPECT_EQ(w.column(10), "8.........");
    // The walls stay where they are.
    for (int x = 9; x <= 22; ++x) EXPECT_EQ(w.s.board[gridIndex(x, kWallY)], kWall);
}

TEST(SettleRules, EveryOtherTickActsUntilNoGemsAreLeftThenEveryTick) {
    Well w;
    w.s.Gemsleft = 5;
    w.s.settleSkip = true;  // as the landing leaves it
    EXPECT_TRUE(settleTickActs(w.s));
    EXPECT_FALSE(settleTickActs(w.s));
    EXPECT_TRUE(settleTickActs(w.s));
    w.s.Gemsleft = 0;
    EXPECT_TRUE(settleTickActs(w.s));
    EXPECT_TRUE(settleTickActs(w.s));
}

TEST(SettleRules, AChainPaysEveryPointEarnedSinceTheLaunchAtEachStep) {
    Well w;
    w.s.Blocks = 6;  // 20 points a gem
    w.s.Gemsleft = 20;
    w.s.Score = 1000;
    // The 1s go first; the 2s below them rise into a row of three and go next.
    w.lay({"111.", "2.2.", ".2.."});
    w.s.landedCount = 3;
    settleStep(w.s);
    EXPECT_TRUE(w.s.matchFound);
    EXPECT_EQ(w.column(2), "2.........");
    EXPECT_EQ(w.s.Score, 1000 + 60);
    settleStep(w.s);
    EXPECT_TRUE(w.s.matchFound);
    EXPECT_EQ(w.s.Score, 1000 + 60 + 120);
    settleStep(w.s);
    EXPECT_FALSE(w.s.matchFound);
    EXPECT_EQ(w.s.settleSteps, 3);
    EXPECT_EQ(w.s.chainCleared, 6);
    EXPECT_EQ(w.s.Gemsleft, 14);
    EXPECT_EQ(w.s.Score, 1000 + 60 + 120 + 120);
}

// A bar flown and landed, then its chain settled as the settle timer does: a step after the
// landing, and again while the step before found something. Returns the steps taken.
int flyAndSettle(Well& w) {
    Flight f = Flight::Rising;
    for (int step = 0; (f = riseBar(w.s)) == Flight::Rising; ++step)
        if (step > 20) return -1;
    if (f != Flight::Landed) return -1;
    int steps = 0;
    do {
        settleStep(w.s);
        ++steps;
    } while (w.s.matchFound && steps < 20);
    return steps;
}

// The steps, the gems and the points of a chain are those of its own bar: the flash, the cheers
// and the score of the next bar never carry the last one's.
TEST(SettleRules, EachBarsChainCountsItsStepsGemsAndPointsAfresh) {
    Well w;
    w.s.Blocks = 6;  // 20 points a gem
    w.s.Gemsleft = 20;
    w.s.Score = 500;
    // The first bar completes a row of four 1s at the top.
    w.lay({"11.1"});
    w.bar(1, 2, 3, 1);
    ASSERT_EQ(flyAndSettle(w), 2);
    EXPECT_EQ(w.s.settleSteps, 2);
    EXPECT_EQ(w.s.chainCleared, 4);
    EXPECT_EQ(w.s.Score, 500 + 2 * 80);
    EXPECT_EQ(w.column(1), "2.........");
    // The second completes a row of three 4s: its chain alone is counted.
    w.lay({"44"});
    w.bar(1, 1, 2, 4);
    ASSERT_EQ(flyAndSettle(w), 2);
    EXPECT_EQ(w.s.settleSteps, 2);
    EXPECT_EQ(w.s.chainCleared, 3);
    EXPECT_EQ(w.s.landingPoints, 60);
    EXPECT_EQ(w.s.Score, 500 + 2 * 80 + 2 * 60);
    EXPECT_EQ(w.s.Gemsleft, 20 - 7);
}

TEST(StageRules, TheNextStageStartsAfreshWithEveryGemHandedToTheExplosion) {
    Well w(11);
    w.s.Stage = 1;
    w.s.Blocks = 6;
    w.s.Gemsleft = -4;  // surplus gems do not carry over
    w.s.Total = 367;
    w.s.bombThreshold = 15;
    w.s.landedCount = 3;
    w.lay({"1234", "56"});
    w.bar(4, 1, 2, 3);
    const int preview[3] = {4, 5, 6};
    for (int k = 1; k <= 3; ++k) w.s.Nextshape[k] = preview[k - 1];
    advanceStage(w.s, w.rng);
    EXPECT_EQ(w.s.Stage, 2);
    EXPECT_EQ(w.s.Gemsleft, 50);
    EXPECT_EQ(w.s.Blocks, 7);
    EXPECT_EQ(w.s.Total, 0);
    EXPECT_EQ(w.s.fillStep, 367 / 50);
    EXPECT_EQ(w.s.bombThreshold, 0);
    EXPECT_EQ(w.s.landedCount, 0);
    // The old gems explode; the board holds only the starting row and the bar.
    EXPECT_EQ(w.s.blastCells[gridIndex(columnX(2), rowY(10))], 2);
    EXPECT_EQ(w.s.blastCells[gridIndex(columnX(2), rowY(9))], 6);
    EXPECT_EQ(w.s.blastCells[gridIndex(columnX(6), rowY(1))], 3);
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 9; ++r) ASSERT_EQ(w.at(c, r), kEmpty) << c << " " << r;
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(w.s.Shape[k], preview[k - 1]);
        EXPECT_EQ(w.at(3 + k, 1), preview[k - 1]);
        EXPECT_TRUE(w.s.Nextshape[k] >= 1 && w.s.Nextshape[k] <= 7);
    }
    // The wall row is whole again; the frame column on the left and the row below are open.
    for (int x = 10; x <= 28; ++x) EXPECT_EQ(w.s.board[gridIndex(x, kWallY)], kWall);
    for (int y = 17; y <= kLastY; ++y) EXPECT_EQ(w.s.board[gridIndex(10, y)], kEmpty);
    for (int x = 10; x <= kLastX; ++x) EXPECT_EQ(w.s.board[gridIndex(x, 17)], kEmpty);
    EXPECT_EQ(w.s.board[gridIndex(21, rowY(5))], kWall);
    // Far stages keep nine kinds and a growing target; the count saturates.
    w.s.Stage = 9;
    advanceStage(w.s, w.rng);
    EXPECT_EQ(w.s.Gemsleft, 160);
    EXPECT_EQ(w.s.Blocks, 9);
    w.s.Stage = INT_MAX;
    advanceStage(w.s, w.rng);
    EXPECT_EQ(w.s.Stage, INT_MAX);
    EXPECT_EQ(w.s.fillStep, 0);
}

TEST(StageRules, ANewGameResetsTheRunButNotTheSession) {
    Well w(5);
    w.s.Stage = 6;
    w.s.Blocks = 9;
    w.s.Score = 12345;
    w.s.Total = 200;
    w.s.gameOver = true;
    w.s.backgroundChanges = 9;
    w.lay({"123456789", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    startNewGame(w.s, w.rng);
    EXPECT_EQ(w.s.Stage, 1);
    EXPECT_EQ(w.s.Blocks, 6);
    EXPECT_EQ(w.s.Gemsleft, 20);
    EXPECT_EQ(w.s.fillStep, 18);
    EXPECT_EQ(w.s.Score, 0);
    EXPECT_EQ(w.s.Total, 0);
    EXPECT_FALSE(w.s.gameOver);
    EXPECT_EQ(w.s.backgroundChanges, 9);
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 9; ++r) ASSERT_EQ(w.at(c, r), kEmpty);
    for (int x = 10; x <= 28; ++x) EXPECT_EQ(w.s.board[gridIndex(x, kWallY)], kWall);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(w.at(3 + k, 1), w.s.Shape[k]);
        EXPECT_TRUE(w.s.Shape[k] >= 1 && w.s.Shape[k] <= 6);
        EXPECT_TRUE(w.s.Nextshape[k] >= 1 && w.s.Nextshape[k] <= 6);
    }
}

TEST(StageRules, BackgroundsAvoidTheFiveRecentAndStopChangingLateInASession) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        Well w(seed);
        w.s.Background = 4;
        w.s.backgroundHistoryIndex = 6;  // a fresh run starts from the current picture
        std::set<int> seen;
        for (int i = 0, before = 4; i < 5; ++i, before = w.s.Background) {
            ASSERT_TRUE(chooseBackground(w.s, w.rng));
            EXPECT_EQ(w.s.previousBackground, before);
            seen.insert(w.s.Background);
        }
        EXPECT_EQ(seen.size(), 5u);
        EXPECT_EQ(seen.count(4), 0u);
        ASSERT_TRUE(chooseBackground(w.s, w.rng));
        EXPECT_EQ(w.s.Background, 4);
    }
    Well w(8);
    w.s.Background = 4;
    w.s.backgroundChanges = 28;
    EXPECT_FALSE(chooseBackground(w.s, w.rng));
    EXPECT_EQ(w.s.Background, 4);
    EXPECT_EQ(w.s.backgroundChanges, 28);
}

}  // namespace
}  // namespace lumcrest::testing
