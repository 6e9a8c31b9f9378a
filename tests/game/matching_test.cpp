// Which gems a detection marks, and what the clearing pass makes of them.
#include <climits>
#include <set>

#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

using Cells = std::set<std::pair<int, int>>;

class Matching : public GameTest {
  protected:
    Cells detect(std::initializer_list<const char*> rowsFromTop) {
        layBoard(rowsFromTop);
        return detect();
    }
    Cells detect() {
        form().play.matchFound = false;
        form().findMatches();
        Cells cells;
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r)
                if (form().play.marks[gridIndex(columnX(c), rowY(r))]) cells.emplace(c, r);
        return cells;
    }
};

TEST_F(Matching, RunsOfThreeInEveryDirectionUpToTheWalls) {
    const Cells runs[] = {
        {{1, 1}, {2, 1}, {3, 1}},    {{8, 10}, {9, 10}, {10, 10}}, {{1, 8}, {1, 9}, {1, 10}},
        {{10, 1}, {10, 2}, {10, 3}}, {{4, 4}, {5, 5}, {6, 6}},     {{8, 3}, {9, 2}, {10, 1}},
        {{1, 10}, {2, 9}, {3, 8}},
    };
    for (const Cells& run : runs) {
        clearBoard();
        for (auto [c, r] : run) put(c, r, 3);
        EXPECT_EQ(detect(), run);
        EXPECT_TRUE(form().play.matchFound);
    }
    // Pairs, gaps and mixed kinds make nothing.
    EXPECT_TRUE(detect({"3 3 0 3 4 4 5 0 5 5", "4 3 4 0 0 0 0 0 0 0"}).empty());
    EXPECT_FALSE(form().play.matchFound);
}

TEST_F(Matching, JokersCompleteRunsAndSquaresOfAnyKind) {
    EXPECT_EQ(detect({"0 3 3 11 3 3 0 0 0 0"}),
              (Cells{{2, 10}, {3, 10}, {4, 10}, {5, 10}, {6, 10}}));
    // A square goes even without a run of three in it.
    EXPECT_EQ(detect({"0 0 0 0 0 0 0 0 2 2", "0 0 0 0 0 0 0 0 2 2"}).size(), 4u);
    EXPECT_EQ(detect({"5 11", "5 5"}).size(), 4u);
    EXPECT_EQ(detect({"11 11 11 0"}).size(), 3u);
}

TEST_F(Matching, CrossingRunsClearTheirUnionAndEachGemCountsOnce) {
    form().play.Blocks = 8;
    form().play.landingPoints = 0;
    form().play.chainCleared = 0;
    EXPECT_EQ(detect({"0 4 0 0", "4 4 4 4", "0 4 0 4"}).size(), 7u);
    form().clearMatched();
    EXPECT_EQ(form().play.chainCleared, 7);
    EXPECT_EQ(form().play.landingPoints, 7 * 60);
    EXPECT_TRUE(detect().empty());  // the gems are gone and the marks cleared
}

TEST_F(Matching, ABombInAGroupClearsItsKindEveryJokerAndEveryBomb) {
    EXPECT_EQ(detect({"4 0 0 0 0 0 0 0 11 2", "0 4 0 0 0 0 0 0 0 0", "0 0 12 0 0 0 0 4 0 0",
                      "0 0 0 0 0 5 0 0 0 12", "0 0 0 0 0 0 0 0 0 4"}),
              (Cells{{1, 10}, {2, 9}, {3, 8}, {9, 10}, {8, 8}, {10, 7}, {10, 6}}));
    EXPECT_EQ(detect({"6 12 0 0 0 0 0 0 0 6", "6 6 0 0 0 0 0 0 0 0"}).size(), 5u);
    // A bomb beside two kinds, or beside two gems out of line, fires nothing.
    EXPECT_TRUE(detect({"12 5 6 0"}).empty());
    EXPECT_TRUE(detect({"12 0 0", "5 5 0"}).empty());
}

TEST_F(Matching, OneScanCellBombsOnlyItsLowestKind) {
    // Three bombs fit every kind, but only kind 1 goes; the 2 and the 3 stay.
    EXPECT_EQ(detect({"12 12 12 0 1 2 3 1 0 0", "0 0 0 0 0 0 0 0 0 11"}),
              (Cells{{1, 10}, {2, 10}, {3, 10}, {5, 10}, {8, 10}, {10, 9}}));
    // Two bombs in two groups of different kinds take both kinds.
    EXPECT_EQ(detect({"2 2 12 0 0 0 12 5 5 0", "0 0 0 0 0 0 0 0 0 0", "2 0 0 5 0 0 3 0 0 0"}),
              (Cells{{1, 10}, {2, 10}, {3, 10}, {7, 10}, {8, 10}, {9, 10}, {1, 8}, {4, 8}}));
}

TEST_F(Matching, TheProgressBarGrowsOnlyWhileGemsAreStillWanted) {
    form().play.Gemsleft = 1;
    form().play.Total = 300;
    detect({"1 1 1 0"});
    form().clearMatched();
    EXPECT_EQ(form().play.fillStep, 67);
    EXPECT_EQ(form().play.Total, 367);
    EXPECT_EQ(form().play.Gemsleft, -2);
}

// What an edited saved game can hold must neither fail nor match outside the well.
TEST_F(Matching, EditedValuesNeitherFailNorReachBeyondTheWell) {
    // No gems left: no division, the step stays.
    form().play.Gemsleft = 0;
    form().play.fillStep = 9;
    detect({"1 1 1 0"});
    form().clearMatched();
    EXPECT_EQ(form().play.fillStep, 9);
    EXPECT_EQ(form().play.Gemsleft, -3);
    // Twenty kinds: the walls hold "kind 20" but never join a run.
    form().play.Blocks = 20;
    EXPECT_TRUE(detect({"0 0 0 0 0 0 0 0 20 20", "0 0 0 0 0 0 0 0 0 20"}).empty());
    // Billions of kinds scan at once; sums saturate.
    form().play.Blocks = INT_MAX;
    form().play.Gemsleft = -1;
    form().play.Total = INT_MIN;
    form().play.landingPoints = INT_MAX - 5;
    EXPECT_EQ(detect({"7 7 7 0"}).size(), 3u);
    form().clearMatched();
    EXPECT_EQ(form().play.fillStep, INT_MIN);
    EXPECT_EQ(form().play.landingPoints, INT_MAX);
}

}  // namespace
}  // namespace lumcrest::testing
