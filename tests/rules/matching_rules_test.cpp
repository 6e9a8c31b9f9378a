// Which gems the rules mark and what clearing them earns, on a bare game state.
#include <gtest/gtest.h>

#include "game/matching.h"
#include "tests/rules/well.h"

namespace lumcrest::testing {
namespace {

Cells groups(Well& w, std::initializer_list<const char*> rowsFromTop) {
    w.lay(rowsFromTop);
    w.s.matchFound = false;
    std::fill(std::begin(w.s.marks), std::end(w.s.marks), 0);
    markGroups(w.s);
    return w.marked();
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
