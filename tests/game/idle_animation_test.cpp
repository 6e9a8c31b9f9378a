// The idle sparkle, the joker and bomb blink and the wave: which frames go where, tick by tick.
#include "tests/game/game_fixture.h"
#include "toolkit/surface.h"

namespace lumcrest::testing {
namespace {

class IdleAnimation : public GameTest {
  protected:
    void SetUp() override {
        enterGame();
        clearBoard();
        placeBar(4, 1, 2, 3);
        form().drawBoard();
    }
    // What the square at (x, y) should show after FRAME of LIST is drawn over what it shows now.
    tk::Image expectOver(int x, int y, const tk::ImageList& list, int frame) {
        tk::Image now = form().surface().pixels().crop(tk::Rect{x, y, kCellSize, kCellSize});
        tk::Surface scratch(kCellSize, kCellSize, 0);
        scratch.setBrush(now);
        scratch.fillWithBrush(tk::Rect{0, 0, kCellSize, kCellSize});
        scratch.drawFrame(list, frame, 0, 0);
        return scratch.pixels();
    }
    // A sparkle of LOOK at PHASE on a gem of KIND in cell (c, r), with the board drawn.
    void startSparkle(int c, int r, int kind, int look, int phase) {
        put(c, r, kind);
        form().drawBoard();
        form().fieldView.twinkleColumn = c;
        form().fieldView.twinkleRow = r;
        form().fieldView.twinkleLight = look;
        form().fieldView.twinklePhase = phase;
    }
    bool shows(int x, int y, const tk::Image& expected) {
        for (int j = 0; j < kCellSize; ++j)
            for (int i = 0; i < kCellSize; ++i)
                if ((expected.pixel(i, j) & 0xFFFFFFu) !=
                    (form().surface().pixel(x + i, y + j) & 0xFFFFFFu))
                    return false;
        return true;
    }
};

TEST_F(IdleAnimation, AGlintRunsThroughItsPhasesOnTheGemAndEndsOnThePlainGem) {
    TForm1& f = form();
    startSparkle(5, 10, 3, 0, 1);
    const int x = cellLeft(5), y = cellTop(10);
    // Phases 1, 2, 3 show glint steps 1, 2, 3 of kind 3 (frames 13, 14, 15).
    for (int step = 1; step <= 3; ++step) {
        tk::Image expected = expectOver(x, y, f.fieldView.firstanim, 12 + step);
        f.AtimerTimer();
        EXPECT_TRUE(shows(x, y, expected)) << "phase " << step;
    }
    EXPECT_TRUE(f.fieldView.twinklePhase == 4 || f.fieldView.twinklePhase == 5);
    std::vector<int> phases;
    for (int guard = 0; guard < 20 && f.fieldView.twinklePhase != 0; ++guard) {
        phases.push_back(f.fieldView.twinklePhase);
        f.AtimerTimer();
    }
    EXPECT_EQ(phases.back(), 11);
    EXPECT_EQ(f.fieldView.twinklePhase, 0);
    // The last step puts the plain gem back.
    tk::Image plain = expectOver(x, y, f.fieldView.Blockimage, 3);
    EXPECT_TRUE(shows(x, y, plain));
}

TEST_F(IdleAnimation, UnderTheMenuASparkleRunsUndrawnAndTheBoardComesBackWhole) {
    TForm1& f = form();
    startSparkle(5, 10, 3, 1, 1);
    const int x = cellLeft(5), y = cellTop(10);
    const tk::Image plain = expectOver(x, y, f.fieldView.Blockimage, 3);
    f.Menupanel.show();
    f.surface().dirty().clear();
    for (int step = 1; step <= 4; ++step) f.AtimerTimer();
    // The sheen's steps went by as they do in sight, and nothing was drawn for them.
    EXPECT_GE(f.fieldView.twinklePhase, 5);
    EXPECT_TRUE(f.surface().dirty().empty());
    // The menu goes: the board is drawn again with the plain gem, and the sheen goes on.
    f.Menupanel.hide();
    app().flushPaints();
    EXPECT_TRUE(shows(x, y, plain));
    const tk::Image next = expectOver(x, y, f.fieldView.lightanim, 18 + 6);
    f.fieldView.twinklePhase = 6;
    f.AtimerTimer();
    EXPECT_TRUE(shows(x, y, next));
}

TEST_F(IdleAnimation, ASparkleWaitsInAnEmptiedCellAndALaunchStepEndsIt) {
    TForm1& f = form();
    startSparkle(7, 10, 2, 1, 4);
    put(7, 10, 0);
    f.AtimerTimer();
    EXPECT_EQ(f.fieldView.twinklePhase, 4);  // nothing to shine on: it waits
    put(7, 10, 2);
    key(38);
    waitMs(20);
    EXPECT_EQ(f.fieldView.twinklePhase, 0);
    EXPECT_TRUE(shows(cellLeft(7), cellTop(10),
                      expectOver(cellLeft(7), cellTop(10), f.fieldView.Blockimage, 2)));
}

TEST_F(IdleAnimation, AStartAttemptSetsTheLookAndTheTimersPace) {
    TForm1& f = form();
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r) put(c, r, 1 + (c + r) % 6);
    int glints = 0, sheens = 0;
    for (int attempt = 0; attempt < 400; ++attempt) {
        f.fieldView.twinklePhase = 0;
        f.AtimerTimer();
        if (f.fieldView.twinklePhase == 1) {
            if (f.fieldView.twinkleLight == 0) {
                ++glints;
                EXPECT_EQ(f.Atimer.interval(), 120);
            } else {
                ++sheens;
                EXPECT_EQ(f.Atimer.interval(), 20);
            }
            EXPECT_GE(f.fieldView.twinkleRow, 2);  // never the launch row
        }
    }
    // About 19 starts in 100 attempts, half of each look.
    EXPECT_GT(glints, 10);
    EXPECT_GT(sheens, 10);
    // No new sparkle starts while a wave crosses the board.
    f.wavetimer.setEnabled(true);
    for (int attempt = 0; attempt < 100; ++attempt) {
        f.fieldView.twinklePhase = 0;
        f.AtimerTimer();
        ASSERT_EQ(f.fieldView.twinklePhase, 0);
    }
}

TEST_F(IdleAnimation, JokersAndBombsBlinkInTheLaunchRowAndThePreview) {
    TForm1& f = form();
    placeBar(4, 11, 2, 12);
    f.play.Nextshape[3] = kBomb;
    f.play.Nextshape[2] = kJoker;
    f.fieldView.specialBlinkPhase = 0;
    const int bombX = cellLeft(6), jokerX = cellLeft(4), rowTop = cellTop(1);
    const int jokerFrames[] = {11, 13, 14, 11}, bombFrames[] = {12, 15, 12, 12};
    for (int tick = 0; tick < 4; ++tick) {
        tk::Image joker = expectOver(jokerX, rowTop, f.fieldView.Blockimage, jokerFrames[tick]);
        tk::Image bomb = expectOver(bombX, rowTop, f.fieldView.Blockimage, bombFrames[tick]);
        tk::Image previewBomb =
            expectOver(previewLeft(3), kPreviewTop, f.fieldView.Blockimage, bombFrames[tick]);
        f.vertimerTimer();
        EXPECT_TRUE(shows(jokerX, rowTop, joker)) << "tick " << tick;
        EXPECT_TRUE(shows(bombX, rowTop, bomb)) << "tick " << tick;
        EXPECT_TRUE(shows(previewLeft(3), kPreviewTop, previewBomb)) << "tick " << tick;
    }
    EXPECT_EQ(f.fieldView.specialBlinkPhase, 1);  // 0, 1, 2, 3, then round again from 1
    // Launched, the bomb is drawn with its plain frame by the board redraw.
    key(38);
    waitMs(20);
    EXPECT_TRUE(
        shows(bombX, cellTop(2), expectOver(bombX, cellTop(2), f.fieldView.Blockimage, 12)));
}

TEST_F(IdleAnimation, TheWaveSweepsThreeColumnsAcrossIn13TicksAndLeavesGapsAlone) {
    TForm1& f = form();
    for (int c = 1; c <= 10; ++c) put(c, 10, 1 + c % 6);
    put(3, 9, 4);
    f.drawBoard();
    tk::Image gap =
        form().surface().pixels().crop(tk::Rect{cellLeft(2), cellTop(9), kCellSize, kCellSize});
    f.fieldView.waveColumn = 1;
    f.wavetimer.setEnabled(true);
    tk::Image first = expectOver(cellLeft(1), cellTop(10), f.fieldView.waveanim, 2 * (2 - 1));
    waitMs(20);
    EXPECT_TRUE(shows(cellLeft(1), cellTop(10), first));
    tk::Image second = expectOver(cellLeft(1), cellTop(10), f.fieldView.waveanim, 2 * (2 - 1) + 1);
    waitMs(20);
    EXPECT_TRUE(shows(cellLeft(1), cellTop(10), second));
    waitMs(20 * 10);
    EXPECT_TRUE(f.wavetimer.enabled());
    waitMs(20);
    EXPECT_FALSE(f.wavetimer.enabled());
    EXPECT_EQ(f.fieldView.waveColumn, 1);
    EXPECT_TRUE(shows(cellLeft(2), cellTop(9), gap));  // an empty cell is never drawn on
}

}  // namespace
}  // namespace lumcrest::testing
