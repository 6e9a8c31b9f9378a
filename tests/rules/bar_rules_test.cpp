// The bar on a bare game state: moves, the flight, the next bar, the loss test, the starting row.
#include "game/bar_rules.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/rules/well.h"

namespace lumcrest::testing {
namespace {

TEST(BarRules, ShiftsStopAtBothSidesAndAtGemsAndRotationTurnsLeft) {
    Well w;
    w.bar(2, 1, 2, 3);
    EXPECT_FALSE(barAtSide(w.s, -1));
    shiftBar(w.s, -1);
    EXPECT_TRUE(barAtSide(w.s, -1));
    EXPECT_EQ(w.s.shapeX[1], columnX(1));
    EXPECT_EQ(w.at(4, 1), kEmpty);
    EXPECT_TRUE(w.s.shapeMoved);
    for (int i = 0; i < 7; ++i) shiftBar(w.s, +1);
    EXPECT_TRUE(barAtSide(w.s, +1));
    EXPECT_EQ((std::array{w.at(7, 1), w.at(8, 1), w.at(9, 1), w.at(10, 1)}),
              (std::array{kEmpty, 1, 2, 3}));
    // A gem beside the bar keeps it still.
    w.put(7, 1, 5);
    w.s.shapeMoved = false;
    shiftBar(w.s, -1);
    EXPECT_EQ(w.s.shapeX[1], columnX(8));
    EXPECT_FALSE(w.s.shapeMoved);
    rotateBar(w.s);
    EXPECT_EQ((std::array{w.at(8, 1), w.at(9, 1), w.at(10, 1)}), (std::array{2, 3, 1}));
    EXPECT_EQ(w.s.Shape[1], 2);
}

TEST(BarRules, EachGemRisesOnItsOwnAndTheLandingMarksWhatItMade) {
    Well w;
    w.s.Blocks = 6;
    w.lay({"4.4", "...", "1.."});
    w.bar(1, 3, 4, 2);
    int steps = 0;
    Flight f = Flight::Rising;
    while ((f = riseBar(w.s)) == Flight::Rising) ASSERT_LT(++steps, 20);
    EXPECT_EQ(f, Flight::Landed);
    EXPECT_EQ(w.s.landedCount, 3);
    EXPECT_EQ(w.column(1), "4.13......");
    EXPECT_EQ(w.column(2), "4.........");
    EXPECT_EQ(w.column(3), "42........");
    EXPECT_EQ(w.marked(), (Cells{{1, 10}, {2, 10}, {3, 10}}));
    EXPECT_TRUE(w.s.matchFound);
    EXPECT_FALSE(w.s.gameOver);
    // A bar whose gem sits right under the stack loses at once, and nothing moves.
    w.lay({"", "", "", "", "", "", "", "", "........6"});
    w.bar(7, 1, 2, 3);
    EXPECT_EQ(riseBar(w.s), Flight::Blocked);
    EXPECT_TRUE(w.s.gameOver);
    EXPECT_EQ(w.at(7, 1), 1);
}

TEST(BarRules, ThereIsNoRoomOnlyWhenRowTwoHasNoThreeFreeCellsSideBySide) {
    Well w;
    w.lay({"", "", "", "", "", "", "", "", "1.1.1.1.1."});
    EXPECT_TRUE(noRoomToLaunch(w.s));
    w.put(9, 2, kEmpty);  // columns 8, 9, 10 at the right side
    EXPECT_FALSE(noRoomToLaunch(w.s));
    w.lay({"", "", "", "", "", "", "", "", "...1..1..1"});
    EXPECT_FALSE(noRoomToLaunch(w.s));  // columns 1, 2, 3 at the left side
}

TEST(BarRules, TheNextBarHasNoThreeOfAKindJokersFromStageTwoAndRareBombsFromStageThree) {
    for (int stage : {1, 2, 3, 5}) {
        Well w{std::uint32_t(stage)};
        w.s.Stage = stage;
        w.s.Blocks = stage == 1 ? 6 : 9;
        // A crowded board: bombs need more than thirty gems.
        for (int c = 1; c <= 10; ++c)
            for (int r = 6; r <= 10; ++r) w.put(c, r, 1 + (c + r) % 5);
        drawOrdinaryBar(w.rng, w.s.Blocks, w.s.Nextshape);
        int jokers = 0, bombs = 0;
        bool bombBefore = false;
        for (int i = 0; i < 3000; ++i) {
            const int preview[3] = {w.s.Nextshape[1], w.s.Nextshape[2], w.s.Nextshape[3]};
            drawNextBar(w.s, w.rng);
            for (int k = 1; k <= 3; ++k) {
                ASSERT_EQ(w.s.Shape[k], preview[k - 1]);
                ASSERT_EQ(w.s.shapeX[k], kHomeX1 + k - 1);
                ASSERT_EQ(w.at(3 + k, 1), w.s.Shape[k]);
            }
            const int* n = w.s.Nextshape;
            ASSERT_FALSE(n[1] == n[2] && n[2] == n[3]);
            for (int k = 1; k <= 2; ++k) ASSERT_TRUE(n[k] >= 1 && n[k] <= w.s.Blocks);
            jokers += n[3] == kJoker;
            if (n[3] == kBomb) {
                ++bombs;
                ASSERT_FALSE(bombBefore) << "two bombs running";
            }
            bombBefore = n[3] == kBomb;
            w.s.bombThreshold = 0;
        }
        EXPECT_EQ(w.s.gemCount, 50 + 3);
        EXPECT_EQ(jokers > 0, stage >= 2) << stage;
        EXPECT_EQ(bombs > 0, stage >= 3) << stage;
        EXPECT_LT(bombs, 3000 / 10);
    }
    // Thirty gems or fewer on the board, or a bomb just gone: no bomb.
    Well w(3);
    w.s.Stage = 7;
    w.s.Blocks = 9;
    for (int i = 0; i < 2000; ++i) {
        drawNextBar(w.s, w.rng);
        ASSERT_NE(w.s.Nextshape[3], kBomb);
    }
}

TEST(BarRules, TheStartingRowHasAGapInEachOfItsFirstTwoThreesAndNoLoneMiddleTwins) {
    for (int blocks = 2; blocks <= 9; ++blocks)
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            Well w(seed);
            w.s.Blocks = blocks;
            fillStartRow(w.s, w.rng);
            for (int first = 1; first <= 7; first += 3) {
                const int a = w.at(first, 10), b = w.at(first + 1, 10), c = w.at(first + 2, 10);
                EXPECT_TRUE(b != a && b != c) << blocks << " " << seed << " " << first;
                if (first < 7) {
                    EXPECT_TRUE(a == 0 || b == 0 || c == 0);
                }
                for (int v : {a, b, c}) EXPECT_TRUE(v >= 0 && v <= blocks);
            }
            EXPECT_TRUE(w.at(10, 10) >= 1 && w.at(10, 10) <= blocks);
            for (int i = 1; i <= 10; ++i) EXPECT_EQ(w.s.Shape[i], w.at(i, 10));
        }
}

}  // namespace
}  // namespace lumcrest::testing
