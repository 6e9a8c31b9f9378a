// Which gems a detection marks, and what the clearing pass makes of them.
#include <climits>
#include <set>

#include "game_fixture.h"

namespace lumcrest::testing {
namespace {

using Cells = std::set<std::pair<int, int>>;

class Matching : public GameTest {
protected:
    Cells detect() {
        form().matchFound = false;
        for (auto& m : form().marks) m = 0;
        form().findMatches();
        auto v = markedCells();
        return Cells(v.begin(), v.end());
    }
    void lay(const Cells& cells, int v) {
        for (auto [c, r] : cells) put(c, r, v);
    }
};

// Runs of three in every orientation, at the edges of the well and in its middle.
TEST_F(Matching, RunsOfThreeInEveryDirectionAreFound) {
    const Cells runs[] = {
        {{1, 1}, {2, 1}, {3, 1}},     // along the launch row, from the left wall
        {{8, 10}, {9, 10}, {10, 10}},  // along the top row, against the right wall
        {{1, 8}, {1, 9}, {1, 10}},     // up the left column to the top
        {{10, 1}, {10, 2}, {10, 3}},   // up the right column from the bottom
        {{4, 4}, {5, 5}, {6, 6}},      // rising diagonal
        {{8, 3}, {9, 2}, {10, 1}},     // falling diagonal into the corner
        {{1, 10}, {2, 9}, {3, 8}},     // falling diagonal from the top-left corner
    };
    for (const Cells& run : runs) {
        clearBoard();
        lay(run, 3);
        EXPECT_EQ(detect(), run);
        EXPECT_TRUE(form().matchFound);
    }
}

TEST_F(Matching, TwoInARowOrAGapMatchNothing) {
    layBoard({"3 3 0 3 4 4 5 0 5 5",
              "4 3 4 0 0 0 0 0 0 0",
              "0 0 0 0 0 0 0 0 0 0",
              "0 0 0 0 0 0 0 0 0 0"});
    EXPECT_TRUE(detect().empty());
    EXPECT_FALSE(form().matchFound);
}

TEST_F(Matching, ALongRunWithAJokerInsideGoesWhole) {
    form().Blocks = 6;
    layBoard({"0 3 3 11 3 3 0 0 0 0"});
    EXPECT_EQ(detect(), (Cells{{2, 10}, {3, 10}, {4, 10}, {5, 10}, {6, 10}}));
    form().clearMatched();
    EXPECT_EQ(form().landingPoints, 100);
    EXPECT_EQ(form().chainCleared, 5);
}

TEST_F(Matching, SquaresGoEvenWithoutARun) {
    layBoard({"0 0 0 0 0 0 0 0 2 2",
              "0 0 0 0 0 0 0 0 2 2"});
    EXPECT_EQ(detect(), (Cells{{9, 10}, {10, 10}, {9, 9}, {10, 9}}));
    // A joker completes a square of any kind.
    layBoard({"5 11", "5 5"});
    EXPECT_EQ(detect().size(), 4u);
}

TEST_F(Matching, JokersAloneMakeARun) {
    layBoard({"11 11 11 0"});
    EXPECT_EQ(detect().size(), 3u);
}

TEST_F(Matching, ShapesClearTheUnionOfTheirGroupsEachGemOnce) {
    // A row, a column and a diagonal of 4s crossing: seven cells, some in two or three runs.
    layBoard({"0 4 0 0",
              "4 4 4 4",
              "0 4 0 4"});
    EXPECT_EQ(detect().size(), 7u);
    form().Blocks = 8;
    form().clearMatched();
    EXPECT_EQ(form().chainCleared, 7);
    EXPECT_EQ(form().landingPoints, 7 * 60);
    EXPECT_EQ(markedCount(), 0);
}

TEST_F(Matching, ABombInAGroupClearsItsKindJokersAndBombs) {
    // Two 4s on a diagonal with a bomb; other 4s, a joker and a bomb elsewhere, and gems of other
    // kinds that must stay.
    layBoard({"4 0 0 0 0 0 0 0 11 2",
              "0 4 0 0 0 0 0 0 0 0",
              "0 0 12 0 0 0 0 4 0 0",
              "0 0 0 0 0 5 0 0 0 12",
              "0 0 0 0 0 0 0 0 0 4"});
    EXPECT_EQ(detect(), (Cells{{1, 10}, {2, 9}, {3, 8}, {9, 10}, {8, 8}, {10, 7}, {10, 6}}));
}

TEST_F(Matching, ASquareWithABombFiresItToo) {
    layBoard({"6 12 0 0 0 0 0 0 0 6",
              "6 6 0 0 0 0 0 0 0 0"});
    EXPECT_EQ(detect(), (Cells{{1, 10}, {2, 10}, {1, 9}, {2, 9}, {10, 10}}));
}

TEST_F(Matching, BombsAndJokersAloneFireForTheFirstKindOnly) {
    // Every kind fits a group of bombs, but one scan cell bombs only its lowest kind.
    layBoard({"12 12 12 0 1 2 3 1 0 0",
              "0 0 0 0 0 0 0 0 0 11"});
    EXPECT_EQ(detect(),
              (Cells{{1, 10}, {2, 10}, {3, 10}, {5, 10}, {8, 10}, {10, 9}}));
}

TEST_F(Matching, DifferentScanCellsMayBombDifferentKinds) {
    layBoard({"2 2 12 0 0 0 12 5 5 0",
              "0 0 0 0 0 0 0 0 0 0",
              "2 0 0 5 0 0 3 0 0 0"});
    EXPECT_EQ(detect(), (Cells{{1, 10}, {2, 10}, {3, 10}, {7, 10}, {8, 10}, {9, 10}, {1, 8}, {4, 8}}));
}

TEST_F(Matching, ABombBetweenTwoKindsFiresNothing) {
    layBoard({"12 5 6 0"});
    EXPECT_TRUE(detect().empty());
    // Nor does a bomb beside two gems that are not in line with it.
    layBoard({"12 0 0", "5 5 0"});
    EXPECT_TRUE(detect().empty());
}

TEST_F(Matching, NothingBeyondTheWellMatches) {
    // An edited game with twenty kinds: the wall cells hold kind 20 but never join a run.
    form().Blocks = 20;
    layBoard({"0 0 0 0 0 0 0 0 20 20",
              "0 0 0 0 0 0 0 0 0 20"});
    EXPECT_TRUE(detect().empty());
}

TEST_F(Matching, AnEditedHugeNumberOfKindsStillScansQuickly) {
    form().Blocks = INT_MAX;
    layBoard({"7 7 7 0"});
    EXPECT_EQ(detect().size(), 3u);
}

// --- The clearing pass -----------------------------------------------------------------------

TEST_F(Matching, ClearingScoresEveryGemByTheNumberOfKinds) {
    const int perGem[] = {20, 40, 60, 80};
    for (int kinds = 6; kinds <= 9; ++kinds) {
        layBoard({"1 1 1 0"});
        detect();
        form().Blocks = kinds;
        form().landingPoints = 0;
        form().clearMatched();
        EXPECT_EQ(form().landingPoints, 3 * perGem[kinds - 6]);
        EXPECT_EQ(at(1, 10), 0);
    }
}

TEST_F(Matching, TheProgressBarGrowsOnlyWhileGemsAreStillWanted) {
    form().Gemsleft = 1;
    form().Total = 300;
    layBoard({"1 1 1 0"});
    detect();
    form().clearMatched();
    EXPECT_EQ(form().fillStep, 67);
    EXPECT_EQ(form().Total, 367);
    EXPECT_EQ(form().Gemsleft, -2);
}

TEST_F(Matching, NoGemsLeftDoesNotDivideByZero) {
    form().Gemsleft = 0;
    form().Total = 200;
    form().fillStep = 9;
    layBoard({"1 1 1 0"});
    detect();
    form().clearMatched();
    EXPECT_EQ(form().fillStep, 9);
    EXPECT_EQ(form().Total, 200);
    EXPECT_EQ(form().Gemsleft, -3);
}

TEST_F(Matching, EditedExtremesSaturateInsteadOfOverflowing) {
    form().Gemsleft = -1;
    form().Total = INT_MIN;
    form().Blocks = INT_MAX;
    form().landingPoints = INT_MAX - 5;
    layBoard({"11 11 11 0"});
    detect();
    form().clearMatched();
    EXPECT_EQ(form().fillStep, INT_MIN);
    EXPECT_EQ(form().landingPoints, INT_MAX);
}

}  // namespace
}  // namespace lumcrest::testing
