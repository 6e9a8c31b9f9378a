// The window's side of a game as a run of stages: a new game, the stage end with its jar, the
// whole-board explosion, the level banner and the change of background. The rules are those of
// game/stages.h; these members add the drawing, the sounds, the captions and the timers.
#include "app/form.h"
#include "assets/catalogue.h"
#include "game/matching.h"
#include "game/stages.h"
#include "game/walls.h"
#include "view/board_drawing.h"
#include "view/frame_sizes.h"

namespace lumcrest {

void TForm1::newGame() {
    randomize();
    startNewGame(*this, rng);
    lblstage.setCaption("1");
    Label1.setCaption(std::to_string(Score));
    // Every cell the new game emptied is drawn afresh.
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kClearedFromY; y <= kLastY; ++y) shownCells[gridIndex(x, y)] = -5;
    drawBoard();
    Atimer.setEnabled(true);
    vertimer.setEnabled(true);
}

void TForm1::stageEnd() {
    vertimer.setEnabled(false);
    Atimer.setEnabled(false);
    Timer1.setEnabled(false);
    Cycletimer.setEnabled(false);
    drawBoard();
    playEffect(asset::kJarFilled.file);
    advanceStage(*this, rng);
    lblstage.setCaption(std::to_string(Stage));
    lblsetlevel.setCaption(std::to_string(Stage));
    jartimer.setEnabled(true);
}

void TForm1::jarEnd() {
    levelPending = true;
    blastStyle = chooseBlastStyle(rng);
    // The wave starts in the board's middle; the cells further out keep their gems a while.
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r)
            if (blastCells[gridIndex(columnX(c), rowY(r))] != 0 && stageEndWaveDelay(c, r) == 0) {
                eraseCell(c, r);
                surface().drawFrame(burstFrames(), blastStepFrame(blastStyle, 0), cellLeft(c),
                                    cellTop(r));
            }
    blastFrame = 0;
    blasttimer.setEnabled(true);
    jartimer.setEnabled(false);
}

void TForm1::Animation() {
    lblsetlevel.hide();
    levelup.hide();
    changeBackground();
    drawBoard();
    invalidateSurface();
    vertimer.setEnabled(true);
    Atimer.setEnabled(true);
    Animtimer.setEnabled(false);
}

void TForm1::changeBackground() {
    if (chooseBackground(*this, rng)) installBackground(Background, kFrameRect);
}

}  // namespace lumcrest
