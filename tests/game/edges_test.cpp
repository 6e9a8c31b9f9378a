// The well's outer columns once a stage end has emptied the frame column left of the well: the
// first stage walls both sides in, so only later stages show whether the edges hold by
// themselves. Every case runs on both sides, the left one mirrored.
#include <array>
#include <string>

#include "assets/catalogue.h"
#include "game/bar_rules.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

constexpr int kLeft = 37, kUp = 38, kRight = 39;

enum class Side { Left, Right };

class Edge : public GameTest, public ::testing::WithParamInterface<Side> {
  protected:
    void SetUp() override {
        enterGame();
        // Stage 1 to stage 2; the jar and its explosion are not wanted here.
        app().dispatch([&] {
            form().session.stageEnd();
            form().session.setClock(Clock::Jar, false);
        });
        clearBoard();
        form().drawBoard();
        sounds();
    }
    bool right() const { return GetParam() == Side::Right; }
    // Column k counted from the edge under test: 1 is the outermost column of the well.
    int col(int k) const { return right() ? 11 - k : k; }
    // The frame cell beside the edge, in row r.
    int frame(int r) { return form().play.cellAt(right() ? kLastX + 1 : kFirstX - 1, rowY(r)); }
    // Places the bar in columns col(k1), col(k2), col(k3) (k1 outermost) with those kinds.
    void placeBarAtEdge(int k1, int kinds[3]) {
        const int leftmost = right() ? col(k1 + 2) : col(k1);
        if (right())
            placeBar(leftmost, kinds[2], kinds[1], kinds[0]);
        else
            placeBar(leftmost, kinds[0], kinds[1], kinds[2]);
    }
    void keyToward() { key(right() ? kRight : kLeft); }
    void keyAway() { key(right() ? kLeft : kRight); }
    int outerGemColumn() {
        return right() ? form().play.shapeX[3] - 10 : form().play.shapeX[1] - 10;
    }
};

TEST_P(Edge, TheFrameColumnIsGoneButTheBarStillStopsAtTheEdgeAndAtGems) {
    ASSERT_EQ(form().play.Stage, 2);
    if (!right()) {
        ASSERT_EQ(frame(1), kEmpty);
    }
    int kinds[3] = {1, 2, 3};
    placeBarAtEdge(4, kinds);
    for (int i = 0; i < 8; ++i) keyToward();
    EXPECT_EQ(outerGemColumn(), col(1));
    EXPECT_EQ(at(col(1), 1), 1);
    EXPECT_EQ(at(col(3), 1), 3);
    EXPECT_EQ(at(col(4), 1), 0);
    EXPECT_EQ(frame(1), right() ? kWall : kEmpty);
    // A gem beside the bar stops it on either side.
    put(col(4), 1, 5);
    keyAway();
    EXPECT_EQ(outerGemColumn(), col(1));
    put(col(4), 1, 0);
    placeBarAtEdge(5, kinds);
    put(col(4), 1, 5);
    keyToward();
    EXPECT_EQ(outerGemColumn(), col(5));
    EXPECT_EQ(at(col(4), 1), 5);
}

// A square of 1s in the two outer columns, completed by the bar, leaves a gap of two cells above
// five gems in the outer column. One settle step closes the column up; the rise makes a run of
// 2s down the outer column, which the next step clears. Seven gems of stage 2 (40 points each):
// 160, then 160 + 280, then 440 + 280, and the chain earns the Excellent.
TEST_P(Edge, SeveralGemsUnderAGapOfTwoCloseUpInOneStepAndAnEdgeRunIsFound) {
    ASSERT_EQ(form().play.Blocks, 7);
    const std::array<int, 8> outer = {2, 1, 1, 2, 2, 3, 4, 3};  // rows 10 down to 3
    for (int i = 0; i < 8; ++i) put(col(1), 10 - i, outer[i]);
    put(col(2), 10, 6);
    put(col(2), 9, 1);
    int kinds[3] = {1, 3, 5};  // the 1 rises under the square's fourth cell
    placeBarAtEdge(2, kinds);
    key(kUp);
    waitMs(200);
    ASSERT_FALSE(form().Timer1.enabled());
    EXPECT_EQ(markedCount(), 4);
    EXPECT_EQ(at(col(2), 8), 1);

    waitMs(330);
    EXPECT_EQ(form().play.Score, 160);
    // The outer column closed up against its top gem, order kept.
    const std::array<int, 8> closed = {2, 2, 2, 3, 4, 3, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(at(col(1), 10 - i), closed[i]) << "row " << 10 - i;
    EXPECT_EQ(at(col(2), 9), 0);
    EXPECT_EQ(markedCount(), 3);  // the run of 2s the rise made

    waitMs(660);
    EXPECT_EQ(form().play.Score, 440);
    const std::array<int, 4> last = {3, 4, 3, 0};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(at(col(1), 10 - i), last[i]) << "row " << 10 - i;

    waitMs(660);
    EXPECT_EQ(form().play.Score, 720);
    EXPECT_EQ(form().play.Gemsleft, 43);
    EXPECT_FALSE(form().Cycletimer.enabled());
    EXPECT_TRUE(played(asset::kExcellent.file));
    EXPECT_FALSE(played(asset::kIncredible.file));
}

TEST_P(Edge, TheLossTestsReachTheOuterColumn) {
    // A free window of three in row 2 at the very edge is room enough for the next bar.
    for (int k = 4; k <= 10; ++k)
        for (int r = 2; r <= 10; ++r) put(col(k), r, 1 + (r + 2 * k) % 5);  // no group
    int kinds[3] = {2, 3, 5};
    placeBarAtEdge(1, kinds);
    EXPECT_FALSE(noRoomToLaunch(form().play));
    // A gem of the bar right under the stack in the outer column loses at the launch.
    put(col(1), 2, 6);
    key(kUp);
    waitMs(20);
    EXPECT_TRUE(form().play.gameOver);
    EXPECT_TRUE(played(asset::kYouLose.file));
}

INSTANTIATE_TEST_SUITE_P(BothSides, Edge, ::testing::Values(Side::Left, Side::Right),
                         [](const auto& paramInfo) {
                             return std::string(paramInfo.param == Side::Left ? "Left" : "Right");
                         });

}  // namespace
}  // namespace lumcrest::testing
