// Which gems the rules mark and what clearing them earns, on a bare game state.
#include <gtest/gtest.h>

#include <climits>

#include "game/matching.h"
#include "tests/rules/well.h"

namespace lumcrest::testing {
namespace {

// The groups of the well as it lies.
Cells groups(Well& w) {
    w.s.matchFound = false;
    std::fill(std::begin(w.s.marks), std::end(w.s.marks), 0);
    markGroups(w.s);
    return w.marked();
}

Cells groups(Well& w, std::initializer_list<const char*> rowsFromTop) {
    w.lay(rowsFromTop);
    return groups(w);
}

TEST(MatchingRules, RunsOfThreeInEveryDirectionUpToTheWalls) {
    Well w;
    w.s.Blocks = 7;
    const Cells runs[] = {
        {{1, 1}, {2, 1}, {3, 1}},    {{8, 10}, {9, 10}, {10, 10}}, {{1, 8}, {1, 9}, {1, 10}},
        {{10, 1}, {10, 2}, {10, 3}}, {{4, 4}, {5, 5}, {6, 6}},     {{8, 3}, {9, 2}, {10, 1}},
        {{1, 10}, {2, 9}, {3, 8}},
    };
    for (const Cells& run : runs) {
        w.lay({});
        for (auto [c, r] : run) w.put(c, r, 3);
        EXPECT_EQ(groups(w), run);
        EXPECT_TRUE(w.s.matchFound);
    }
    // Pairs, gaps and mixed kinds make nothing.
    EXPECT_TRUE(groups(w, {"33.3445.55", "434"}).empty());
    EXPECT_FALSE(w.s.matchFound);
    // A joker inside a longer run, and a square with no run of three in it.
    EXPECT_EQ(groups(w, {".33J33"}), (Cells{{2, 10}, {3, 10}, {4, 10}, {5, 10}, {6, 10}}));
    EXPECT_EQ(groups(w, {"........22", "........22"}).size(), 4u);
}

TEST(MatchingRules, CrossingRunsClearTheirUnionAndEachGemCountsOnce) {
    Well w;
    w.s.Blocks = 8;
    w.s.landingPoints = 0;
    w.s.chainCleared = 0;
    EXPECT_EQ(groups(w, {".4", "4444", ".4.4"}).size(), 7u);
    clearMarkedGems(w.s);
    EXPECT_EQ(w.s.chainCleared, 7);
    EXPECT_EQ(w.s.landingPoints, 7 * 60);
    EXPECT_TRUE(groups(w).empty());  // the gems are gone and the marks cleared
}

TEST(MatchingRules, GroupsReachBothSidesAndNothingBeyondTheWellEverMatches) {
    Well w;
    // The frame's cells emptied by a stage end and then holding gems by an edit must not count:
    // only what lies inside columns 1..10 and rows 1..10 makes a group.
    for (int y = 17; y <= kWallY; ++y) w.s.board[gridIndex(10, y)] = 3;
    for (int y = 17; y <= kWallY; ++y) w.s.board[gridIndex(21, y)] = 3;
    for (int x = 10; x <= 21; ++x) w.s.board[gridIndex(x, kWallY)] = 3;
    for (int x = 10; x <= 21; ++x) w.s.board[gridIndex(x, 17)] = 3;
    EXPECT_EQ(groups(w, {"33......33", "3........3", "3........3"}),
              (Cells{{1, 10}, {1, 9}, {1, 8}, {10, 10}, {10, 9}, {10, 8}}));
    EXPECT_TRUE(groups(w, {"3.......3.", "..........", "33......33"}).empty());
    EXPECT_FALSE(w.s.matchFound);
    EXPECT_TRUE(groups(w, {"........3.", ".........3", "", "", "", "", "", "", ".3", "3"}).empty());
    // Every direction finds a run that ends at a side of the well.
    EXPECT_EQ(groups(w, {".......444"}), (Cells{{8, 10}, {9, 10}, {10, 10}}));
    EXPECT_EQ(groups(w, {"5", ".5", "..5"}), (Cells{{1, 10}, {2, 9}, {3, 8}}));
    EXPECT_EQ(groups(w, {"", "", "", "", "", "", "", ".......2.2", "........22", ".........2"}),
              (Cells{{10, 1}, {10, 2}, {10, 3}, {9, 2}, {8, 3}}));
}

TEST(MatchingRules, JokersFitEveryKindAndABombTakesItsKindOffTheBoard) {
    Well w;
    w.s.Blocks = 7;
    EXPECT_EQ(groups(w, {"1J1"}).size(), 3u);
    EXPECT_EQ(groups(w, {"5J", "55"}).size(), 4u);
    EXPECT_EQ(groups(w, {"JJJ"}).size(), 3u);
    // The bomb's run is of kind 4: every 4, joker and bomb goes, wherever it is; other kinds stay.
    const Cells gone = groups(w, {"44B.......", "..........", "4.5.J...4.", ".........B"});
    EXPECT_EQ(gone, (Cells{{1, 10}, {2, 10}, {3, 10}, {1, 8}, {5, 8}, {9, 8}, {10, 7}}));
    EXPECT_TRUE(w.s.matchFound);
    // A bomb beside gems that make no group does nothing.
    EXPECT_TRUE(groups(w, {"4B5", "5.4"}).empty());
    // Kinds beyond those in play are never looked for.
    w.s.Blocks = 6;
    EXPECT_TRUE(groups(w, {"777"}).empty());
    w.s.Blocks = 7;
    EXPECT_EQ(groups(w, {"777"}).size(), 3u);
}

TEST(MatchingRules, ABombFiresOnlyInAGroupAndAtOneScanCellTakesOnlyItsLowestKind) {
    Well w;
    w.s.Blocks = 7;
    EXPECT_EQ(groups(w, {"4.......J2", ".4", "..B....4", ".....5...B", ".........4"}),
              (Cells{{1, 10}, {2, 9}, {3, 8}, {9, 10}, {8, 8}, {10, 7}, {10, 6}}));
    EXPECT_EQ(groups(w, {"6B.......6", "66"}).size(), 5u);
    // A bomb beside two kinds, or beside two gems out of line, fires nothing.
    EXPECT_TRUE(groups(w, {"B56"}).empty());
    EXPECT_TRUE(groups(w, {"B", "55"}).empty());
    // Three bombs fit every kind, but only kind 1 goes; the 2 and the 3 stay.
    EXPECT_EQ(groups(w, {"BBB.1231", ".........J"}),
              (Cells{{1, 10}, {2, 10}, {3, 10}, {5, 10}, {8, 10}, {10, 9}}));
    // Two bombs in two groups of different kinds take both kinds.
    EXPECT_EQ(groups(w, {"22B...B55", "", "2..5..3"}),
              (Cells{{1, 10}, {2, 10}, {3, 10}, {7, 10}, {8, 10}, {9, 10}, {1, 8}, {4, 8}}));
}

TEST(MatchingRules, ClearingScoresEachGemOnceAndTheBarNeverOverflowsItsTube) {
    Well w;
    w.s.Blocks = 7;
    w.s.Gemsleft = 2;
    w.s.Total = 300;
    w.s.chainCleared = 4;
    w.s.landingPoints = 10;
    EXPECT_EQ(groups(w, {"222", "2", "2"}).size(), 5u);
    // A wall inside the well (an edited saved game) is never cleared, even when marked.
    w.put(5, 5, kWall);
    w.s.marks[gridIndex(columnX(5), rowY(5))] = 1;
    clearMarkedGems(w.s);
    // (367 - 300) / 2 = 33 per gem while gems are left to clear; surplus gems count down below 0.
    EXPECT_EQ(w.s.fillStep, 33);
    EXPECT_EQ(w.s.Total, 366);
    EXPECT_EQ(w.s.Gemsleft, -3);
    EXPECT_EQ(w.s.chainCleared, 9);
    EXPECT_EQ(w.s.landingPoints, 10 + 5 * 40);
    EXPECT_EQ(w.at(5, 5), kWall);
    EXPECT_TRUE(w.marked().empty());
    EXPECT_EQ(w.column(1), "..........");
    // With nothing left to count the step keeps its value and Total stays.
    w.s.Gemsleft = 0;
    EXPECT_EQ(groups(w, {"333"}).size(), 3u);
    clearMarkedGems(w.s);
    EXPECT_EQ(w.s.Total, 366);
    EXPECT_EQ(w.s.fillStep, 33);
}

TEST(MatchingRules, TheProgressBarGrowsOnlyWhileGemsAreStillWanted) {
    // One gem wanted: the step is the whole way to the top, and only the first gem adds it. None
    // wanted (an edited saved game): no division, the step and the bar stay.
    const struct {
        int gemsLeft, fillStep, wantStep, wantTotal, wantLeft;
    } cases[] = {{1, 0, 67, 367, -2}, {0, 9, 9, 300, -3}};
    for (const auto& c : cases) {
        Well w;
        w.s.Gemsleft = c.gemsLeft;
        w.s.fillStep = c.fillStep;
        w.s.Total = 300;
        groups(w, {"111"});
        clearMarkedGems(w.s);
        EXPECT_EQ(w.s.fillStep, c.wantStep);
        EXPECT_EQ(w.s.Total, c.wantTotal);
        EXPECT_EQ(w.s.Gemsleft, c.wantLeft);
    }
}

// What an edited saved game can hold must neither fail nor match outside the well.
TEST(MatchingRules, EditedValuesNeitherFailNorReachBeyondTheWell) {
    Well w;
    // Twenty kinds: the walls hold "kind 20" but never join a run.
    w.s.Blocks = 20;
    w.lay({});
    for (auto [c, r] : {std::pair{9, 10}, {10, 10}, {10, 9}}) w.put(c, r, 20);
    EXPECT_TRUE(groups(w).empty());
    // Billions of kinds scan at once; sums saturate.
    w.s.Blocks = INT_MAX;
    w.s.Gemsleft = -1;
    w.s.Total = INT_MIN;
    w.s.landingPoints = INT_MAX - 5;
    EXPECT_EQ(groups(w, {"777"}).size(), 3u);
    clearMarkedGems(w.s);
    EXPECT_EQ(w.s.fillStep, INT_MIN);
    EXPECT_EQ(w.s.landingPoints, INT_MAX);
}

TEST(MatchingRules, TheBlastStyleKeepsItsOdds) {
    Random rng;
    rng.seed(99);
    int count[3] = {};
    constexpr int kDraws = 30000;
    for (int i = 0; i < kDraws; ++i) {
        const int style = chooseBlastStyle(rng);
        ASSERT_GE(style, 0);
        ASSERT_LE(style, 2);
        ++count[style];
    }
    EXPECT_NEAR(double(count[0]) / kDraws, 0.34, 0.015);
    EXPECT_NEAR(double(count[1]) / (count[1] + count[2]), 0.54, 0.015);
}

}  // namespace
}  // namespace lumcrest::testing
