// The bar: moves and their refusals, the flight, the next bar, the loss tests and the
// starting row.
#include <array>
#include <climits>

#include "game_fixture.h"

namespace lumcrest::testing {
namespace {

constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

class Bar : public GameTest {
protected:
    void SetUp() override {
        enterGame();
        clearBoard();
        placeBar(4, 1, 2, 3);
        form().drawBoard();
    }
    std::array<int, 3> barColumns() {
        return {form().shapeX[1] - 10, form().shapeX[2] - 10, form().shapeX[3] - 10};
    }
};

TEST_F(Bar, ShiftsMoveTheBarAndStopAtTheWalls) {
    key(kLeft);
    EXPECT_EQ(barColumns(), (std::array<int, 3>{3, 4, 5}));
    EXPECT_EQ(at(6, 1), 0);
    EXPECT_EQ(at(3, 1), 1);
    EXPECT_EQ(at(5, 1), 3);
    for (int i = 0; i < 5; ++i) key(kLeft);
    EXPECT_EQ(barColumns(), (std::array<int, 3>{1, 2, 3}));
    for (int i = 0; i < 12; ++i) key(kRight);
    EXPECT_EQ(barColumns(), (std::array<int, 3>{8, 9, 10}));
    EXPECT_EQ(at(7, 1), 0);
    EXPECT_EQ(at(10, 1), 3);
}

TEST_F(Bar, AGemInTheLaunchRowBlocksAShiftButTheBoardIsRedrawn) {
    put(7, 1, 5);
    form().shapeMoved = true;
    key(kRight);
    EXPECT_EQ(barColumns(), (std::array<int, 3>{4, 5, 6}));
    // The redraw happened: it clears the flag.
    EXPECT_FALSE(form().shapeMoved);
}

TEST_F(Bar, RotationTurnsTheKindsLeftAndThreeTurnsRestoreThem) {
    key(kDown);
    EXPECT_EQ(form().Shape[1], 2);
    EXPECT_EQ(form().Shape[2], 3);
    EXPECT_EQ(form().Shape[3], 1);
    EXPECT_EQ(at(4, 1), 2);
    EXPECT_EQ(at(6, 1), 1);
    key(kDown);
    key(kDown);
    EXPECT_EQ(at(4, 1), 1);
    EXPECT_EQ(at(5, 1), 2);
    EXPECT_EQ(at(6, 1), 3);
}

TEST_F(Bar, MovesAndLaunchAreRefusedWhileTheGameIsBusyOrLost) {
    auto unchanged = [&] {
        return at(4, 1) == 1 && at(5, 1) == 2 && at(6, 1) == 3 && !form().Timer1.enabled();
    };
    form().Cycletimer.setEnabled(true);
    for (int k : {kLeft, kRight, kDown, kUp}) key(k);
    EXPECT_TRUE(unchanged());
    form().Cycletimer.setEnabled(false);

    form().gameOver = true;
    for (int k : {kLeft, kRight, kDown, kUp}) key(k);
    EXPECT_TRUE(unchanged());
    form().gameOver = false;

    // The level banner stops only the launch.
    form().Animtimer.setEnabled(true);
    key(kUp);
    EXPECT_FALSE(form().Timer1.enabled());
    key(kDown);
    EXPECT_EQ(at(4, 1), 2);
}

TEST_F(Bar, AShiftIsRefusedInFlight) {
    key(kUp);
    EXPECT_TRUE(form().Timer1.enabled());
    key(kLeft);
    EXPECT_EQ(barColumns(), (std::array<int, 3>{4, 5, 6}));
}

TEST_F(Bar, TheBarRisesARowEveryTwentyMillisecondsAndLandsOnTheTenthStep) {
    key(kUp);
    waitMs(9 * 20);
    EXPECT_EQ(at(4, 10), 1);
    EXPECT_EQ(at(6, 10), 3);
    EXPECT_TRUE(form().Timer1.enabled());
    EXPECT_EQ(form().landedCount, 0);
    EXPECT_FALSE(played("gemstouch.wav"));
    waitMs(20);
    EXPECT_FALSE(form().Timer1.enabled());
    EXPECT_TRUE(played("gemstouch.wav"));
    // The preview came in as the new bar at home.
    EXPECT_EQ(barColumns(), (std::array<int, 3>{4, 5, 6}));
    EXPECT_EQ(form().shapeY[1], kLaunchY);
    EXPECT_NE(at(5, 1), 0);
}

TEST_F(Bar, EachGemStopsUnderItsOwnColumn) {
    put(5, 10, 4);
    put(5, 9, 6);
    put(6, 10, 5);
    key(kUp);
    waitMs(200);
    EXPECT_EQ(at(4, 10), 1);
    EXPECT_EQ(at(5, 8), 2);
    EXPECT_EQ(at(6, 9), 3);
}

TEST_F(Bar, AGemRightUnderTheStackLosesTheGameBeforeAnythingMoves) {
    put(5, 2, 4);
    key(kUp);
    waitMs(20);
    EXPECT_TRUE(form().gameOver);
    EXPECT_TRUE(form().cracktimer.enabled());
    EXPECT_FALSE(form().Timer1.enabled());
    EXPECT_TRUE(played("youlose.wav"));
    EXPECT_EQ(at(4, 1), 1);
    EXPECT_EQ(at(5, 1), 2);
}

TEST_F(Bar, ANewBarWithNoThreeFreeCellsInRowTwoLosesTheGame) {
    // Columns 2 and 5 reach down to row 2, column 8 to row 3; the bar's left gem fills row 2 of
    // column 8, so after the landing no window of three is free there. No group is made.
    for (int r = 2; r <= 10; ++r)
        for (int c : {2, 5}) put(c, r, 1 + (r + c) % 2 * 3);
    for (int r = 3; r <= 10; ++r) put(8, r, 1 + (r + 8) % 2 * 3);
    placeBar(8, 2, 3, 5);
    key(kUp);
    waitMs(180);
    ASSERT_TRUE(form().Timer1.enabled());
    EXPECT_FALSE(form().gameOver);
    const int home = gridIndex(columnX(5), rowY(1));
    form().shownCells[home] = 77;
    waitMs(20);
    EXPECT_FALSE(form().Timer1.enabled());
    EXPECT_TRUE(form().gameOver);
    EXPECT_TRUE(form().cracktimer.enabled());
    EXPECT_TRUE(played("youlose.wav"));
    // The new bar is in place but the step that lost did not redraw the board.
    EXPECT_NE(at(5, 1), 0);
    EXPECT_EQ(form().shownCells[home], 77);
}

TEST_F(Bar, OneFreeWindowInRowTwoKeepsTheGameGoing) {
    for (int c : {1, 4, 8}) put(c, 2, 6);
    form().checkLoss();
    EXPECT_FALSE(form().gameOver);
    put(6, 2, 6);
    form().checkLoss();
    EXPECT_TRUE(form().gameOver);
}

// --- The next bar ----------------------------------------------------------------------------

class Spawn : public Bar {
protected:
    struct Seen {
        int jokers = 0, bombs = 0, specialOutsideRight = 0, threeEqual = 0, bombTwiceRunning = 0;
    };
    Seen spawnMany(int stage, int times) {
        Seen seen;
        form().Stage = stage;
        bool lastWasBomb = false;
        for (int i = 0; i < times; ++i) {
            form().spawnBar();
            const int* n = form().Nextshape;
            jokersAndBombs(n[3], seen);
            if (n[1] > 10 || n[2] > 10) ++seen.specialOutsideRight;
            if (n[1] == n[2] && n[2] == n[3]) ++seen.threeEqual;
            if (n[3] == kBomb && lastWasBomb) ++seen.bombTwiceRunning;
            lastWasBomb = n[3] == kBomb;
        }
        return seen;
    }
    static void jokersAndBombs(int v, Seen& s) {
        if (v == kJoker) ++s.jokers;
        if (v == kBomb) ++s.bombs;
    }
    // Fills the well with 40 gems that make no group, so bombs may come.
    void crowd() {
        for (int c = 1; c <= 10; ++c)
            for (int r = 7; r <= 10; ++r) put(c, r, 1 + (c + 2 * r) % 5);
    }
};

TEST_F(Spawn, StageOneBringsNeitherJokersNorBombs) {
    crowd();
    Seen s = spawnMany(1, 400);
    EXPECT_EQ(s.jokers + s.bombs, 0);
    EXPECT_EQ(s.threeEqual, 0);
}

TEST_F(Spawn, StageTwoBringsJokersOnTheRightOnly) {
    crowd();
    Seen s = spawnMany(2, 400);
    EXPECT_GT(s.jokers, 20);  // 14 in 100
    EXPECT_LT(s.jokers, 100);
    EXPECT_EQ(s.bombs, 0);
    EXPECT_EQ(s.specialOutsideRight, 0);
}

TEST_F(Spawn, StageThreeBringsBombsOnlyOnACrowdedBoardAndNeverTwiceRunning) {
    Seen sparse = spawnMany(3, 400);
    EXPECT_EQ(sparse.bombs, 0);
    crowd();
    form().bombThreshold = 0;
    Seen s = spawnMany(3, 600);
    EXPECT_GT(s.bombs, 0);
    EXPECT_EQ(s.bombTwiceRunning, 0);
    EXPECT_EQ(form().bombThreshold, 15);
    EXPECT_EQ(s.specialOutsideRight, 0);
    // 40 gems are not more than 15 + 30 once a bomb has come.
    form().bombThreshold = 15;
    form().bombLast = false;
    EXPECT_EQ(spawnMany(3, 400).bombs, 0);
}

TEST_F(Spawn, ThePreviewBecomesTheBarAtHome) {
    form().Nextshape[1] = 4;
    form().Nextshape[2] = 5;
    form().Nextshape[3] = 11;
    placeBar(1, 1, 2, 3);
    form().spawnBar();
    EXPECT_EQ(barColumns(), (std::array<int, 3>{4, 5, 6}));
    EXPECT_EQ(at(4, 1), 4);
    EXPECT_EQ(at(5, 1), 5);
    EXPECT_EQ(at(6, 1), 11);
}

TEST_F(Spawn, CountsEveryGemOfTheWell) {
    crowd();
    put(3, 1, 12);
    form().countGems();
    EXPECT_EQ(form().gemCount, 40 + 1 + 3);  // the crowd, the bomb and the waiting bar
}

// --- The starting row ------------------------------------------------------------------------

TEST_F(Bar, TheStartingRowNeverHoldsThreeEqualGemsAndLeavesGaps) {
    for (int blocks = 6; blocks <= 9; ++blocks) {
        form().Blocks = blocks;
        for (int round = 0; round < 200; ++round) {
            form().makeStartRow();
            int k[11];
            for (int c = 1; c <= 10; ++c) {
                k[c] = at(c, 10);
                ASSERT_GE(k[c], 0);
                ASSERT_LE(k[c], blocks);
            }
            for (int first : {1, 4, 7}) {
                EXPECT_NE(k[first + 1], k[first]);
                EXPECT_NE(k[first + 1], k[first + 2]);
            }
            EXPECT_TRUE(k[1] == 0 || k[2] == 0 || k[3] == 0);
            EXPECT_TRUE(k[4] == 0 || k[5] == 0 || k[6] == 0);
            EXPECT_GE(k[10], 1);
        }
    }
}

// An edited saved game may hold any number of kinds: nothing that draws kinds may hang.
TEST_F(Bar, DrawsFinishWhateverTheNumberOfKinds) {
    for (int blocks : {1, 0, -7, INT_MIN, INT_MAX}) {
        form().Blocks = blocks;
        form().makeStartRow();
        form().spawnBar();
        form().Stage = 3;
        form().spawnBar();
        EXPECT_GE(at(10, 10), 1) << blocks;
        EXPECT_GE(form().Nextshape[1], 1) << blocks;
    }
}

}  // namespace
}  // namespace lumcrest::testing
