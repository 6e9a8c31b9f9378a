// The bar: moves and their refusals, the flight, the next bar, both loss tests and the
// starting row.
#include <array>
#include <climits>

#include "assets/catalogue.h"
#include "game/bar_rules.h"
#include "tests/game/game_fixture.h"

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
    std::array<int, 3> row1(int c1) { return {at(c1, 1), at(c1 + 1, 1), at(c1 + 2, 1)}; }
    int leftColumn() { return form().play.shapeX[1] - 10; }
};

TEST_F(Bar, ShiftsStopAtTheWallsAndAtGemsAndRotationTurnsLeft) {
    for (int i = 0; i < 6; ++i) key(kLeft);
    EXPECT_EQ(leftColumn(), 1);
    EXPECT_EQ(row1(1), (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ(at(4, 1), 0);
    for (int i = 0; i < 12; ++i) key(kRight);
    EXPECT_EQ(leftColumn(), 8);
    EXPECT_EQ(at(7, 1), 0);
    // A gem in the launch row stops the bar, but the board is still redrawn.
    put(7, 1, 5);
    form().play.shapeMoved = true;
    key(kLeft);
    EXPECT_EQ(leftColumn(), 8);
    EXPECT_FALSE(form().play.shapeMoved);
    key(kDown);
    EXPECT_EQ(row1(8), (std::array<int, 3>{2, 3, 1}));
    key(kDown);
    key(kDown);
    EXPECT_EQ(row1(8), (std::array<int, 3>{1, 2, 3}));
}

TEST_F(Bar, NothingMovesWhileTheBarFliesAChainSettlesOrTheGameIsLost) {
    auto still = [&] { return row1(4) == std::array<int, 3>{1, 2, 3} && !form().Timer1.enabled(); };
    form().session.setClock(Clock::Settle, true);
    for (int k : {kLeft, kRight, kDown, kUp}) key(k);
    EXPECT_TRUE(still());
    form().session.setClock(Clock::Settle, false);
    form().play.gameOver = true;
    for (int k : {kLeft, kRight, kDown, kUp}) key(k);
    EXPECT_TRUE(still());
    form().play.gameOver = false;
    // The level banner holds back the launch only.
    form().session.setClock(Clock::Banner, true);
    key(kUp);
    EXPECT_TRUE(still());
    form().session.setClock(Clock::Banner, false);
    key(kUp);
    key(kLeft);
    key(kDown);
    EXPECT_EQ(leftColumn(), 4);
    EXPECT_EQ(form().play.Shape[1], 1);
}

TEST_F(Bar, EachGemRisesARowEveryTwentyMillisecondsUntilItIsStopped) {
    put(5, 10, 4);
    put(5, 9, 6);
    put(6, 10, 5);
    key(kUp);
    waitMs(9 * 20);
    EXPECT_EQ(at(4, 10), 1);
    EXPECT_EQ(at(5, 8), 2);
    EXPECT_EQ(at(6, 9), 3);
    EXPECT_TRUE(form().Timer1.enabled());
    EXPECT_FALSE(played(asset::kGemsTouch.file));
    // The tenth step finds all three stopped: the bar has landed and the preview comes in.
    const int next[3] = {form().play.Nextshape[1], form().play.Nextshape[2],
                         form().play.Nextshape[3]};
    waitMs(20);
    EXPECT_FALSE(form().Timer1.enabled());
    EXPECT_TRUE(played(asset::kGemsTouch.file));
    EXPECT_EQ(leftColumn(), 4);
    EXPECT_EQ(row1(4), (std::array<int, 3>{next[0], next[1], next[2]}));
}

TEST_F(Bar, AGemRightUnderTheStackLosesTheGameBeforeAnythingMoves) {
    put(5, 2, 4);
    key(kUp);
    waitMs(20);
    EXPECT_TRUE(form().play.gameOver);
    EXPECT_TRUE(form().cracktimer.enabled());
    EXPECT_FALSE(form().Timer1.enabled());
    EXPECT_TRUE(played(asset::kYouLose.file));
    EXPECT_EQ(row1(4), (std::array<int, 3>{1, 2, 3}));
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
    ASSERT_FALSE(form().play.gameOver);
    const int home = gridIndex(columnX(5), rowY(1));
    form().fieldView.shownCells[home] = 77;
    waitMs(20);
    EXPECT_FALSE(form().Timer1.enabled());
    EXPECT_TRUE(form().play.gameOver);
    EXPECT_TRUE(form().cracktimer.enabled());
    EXPECT_TRUE(played(asset::kYouLose.file));
    // The new bar is in place but the step that lost did not redraw the board.
    EXPECT_NE(at(5, 1), 0);
    EXPECT_EQ(form().fieldView.shownCells[home], 77);
    // One free window of three would have been enough.
    form().play.gameOver = false;
    put(9, 2, 0);
    put(10, 2, 0);
    put(8, 2, 0);
    EXPECT_FALSE(noRoomToLaunch(form().play));
}

TEST_F(Bar, JokersFromStageTwoBombsFromStageThreeOnlyOnACrowdedBoard) {
    // Forty gems that make no group.
    for (int c = 1; c <= 10; ++c)
        for (int r = 7; r <= 10; ++r) put(c, r, 1 + (c + 2 * r) % 5);
    for (int stage = 1; stage <= 3; ++stage) {
        form().play.Stage = stage;
        form().play.bombThreshold = 0;
        int jokers = 0, bombs = 0, twiceRunning = 0, elsewhere = 0, threeEqual = 0;
        for (int i = 0; i < 500; ++i) {
            const bool lastWasBomb = form().play.Nextshape[3] == kBomb;
            drawNextBar(form().play, form().rng);
            const int* n = form().play.Nextshape;
            jokers += n[3] == kJoker;
            bombs += n[3] == kBomb;
            twiceRunning += lastWasBomb && n[3] == kBomb;
            elsewhere += n[1] > 10 || n[2] > 10;
            threeEqual += n[1] == n[2] && n[2] == n[3];
        }
        EXPECT_EQ(jokers > 30, stage >= 2) << stage;  // 14 in 100, fewer where bombs come
        EXPECT_EQ(bombs > 0, stage == 3) << stage;
        EXPECT_EQ(twiceRunning + elsewhere + threeEqual, 0) << stage;
    }
    // 43 gems on the board are not more than 15 + 30 once a bomb has come.
    EXPECT_EQ(form().play.bombThreshold, 15);
    form().play.bombLast = false;
    for (int i = 0; i < 300; ++i) {
        drawNextBar(form().play, form().rng);
        EXPECT_NE(form().play.Nextshape[3], kBomb);
    }
}

TEST_F(Bar, TheStartingRowNeverHoldsThreeEqualGemsAndLeavesGaps) {
    // One kind and the gap are two values, enough for the rule (an edited saved game).
    for (int blocks : {1, 2, 6, 7, 8, 9}) {
        form().play.Blocks = blocks;
        for (int round = 0; round < 200; ++round) {
            fillStartRow(form().play, form().rng);
            int k[11];
            for (int c = 1; c <= 10; ++c) k[c] = at(c, 10);
            for (int first : {1, 4, 7}) {
                EXPECT_NE(k[first + 1], k[first]);
                EXPECT_NE(k[first + 1], k[first + 2]);
                EXPECT_GE(std::min({k[first], k[first + 1], k[first + 2]}), 0);
                EXPECT_LE(std::max({k[first], k[first + 1], k[first + 2]}), blocks);
            }
            EXPECT_TRUE(k[1] == 0 || k[2] == 0 || k[3] == 0);
            EXPECT_TRUE(k[4] == 0 || k[5] == 0 || k[6] == 0);
            EXPECT_GE(k[10], 1);
        }
    }
}

// An edited saved game may hold any number of kinds: no draw of kinds may go on for ever.
TEST_F(Bar, DrawsFinishWhateverTheNumberOfKinds) {
    for (int blocks : {1, 0, -7, INT_MIN, INT_MAX}) {
        form().play.Blocks = blocks;
        fillStartRow(form().play, form().rng);
        for (int stage : {1, 3}) {
            form().play.Stage = stage;
            drawNextBar(form().play, form().rng);
        }
        EXPECT_GE(at(10, 10), 1) << blocks;
        EXPECT_GE(form().play.Nextshape[1], 1) << blocks;
    }
}

}  // namespace
}  // namespace lumcrest::testing
