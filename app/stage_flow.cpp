// The window's side of a game as a run of stages: a new game, the stage end with its jar, the
// whole-board explosion, the level banner and the change of background. The rules are those of
// game/stages.h; these members add the drawing, the sounds, the captions and the timers.
#include <exception>

#include "app/form.h"
#include "assets/catalogue.h"
#include "game/stages.h"
#include "game/walls.h"
#include "toolkit/error.h"
#include "view/frame_sizes.h"

namespace lumcrest {

void TForm1::newGame() {
    // A game under way that the player leaves for a new one has ended too.
    std::exception_ptr unwritten;
    if (!play.gameOver && (gameTouched || play.Score > 0)) {
        try {
            endGameStats(false);
        } catch (const tk::Error&) {
            unwritten = std::current_exception();
        }
    }
    randomize();
    startNewGame(play, rng);
    fieldEffects.clear();
    lblstage.setCaption("1");
    Label1.setCaption(std::to_string(play.Score));
    // Every cell the new game emptied is drawn afresh.
    fieldView.forgetCells(kClearedFromY);
    drawBoard();
    Atimer.setEnabled(true);
    vertimer.setEnabled(true);
    if (unwritten) std::rethrow_exception(unwritten);
}

void TForm1::stageEnd() {
    vertimer.setEnabled(false);
    Atimer.setEnabled(false);
    Timer1.setEnabled(false);
    Cycletimer.setEnabled(false);
    drawBoard();
    playEffect(asset::kJarFilled.file);
    advanceStage(play, rng);
    lblsetlevel.setCaption(std::to_string(play.Stage));
    jartimer.setEnabled(true);
}

void TForm1::jarEnd() {
    fieldView.startStageEndBurst(play, rng, settings.calmMode);
    playCue(asset::kStageBurstCue.file);
    blasttimer.setEnabled(true);
    jartimer.setEnabled(false);
}

void TForm1::Animation() {
    lblsetlevel.hide();
    levelup.hide();
    fieldEffects.plaque(levelup.windowRect(), false);
    // The new sky fades in over the old one.
    if (surface().drawnOn()) fieldEffects.fadeFrom(surface().pixels());
    changeBackground();
    drawBoard();
    invalidateSurface();
    vertimer.setEnabled(true);
    Atimer.setEnabled(true);
    Animtimer.setEnabled(false);
}

void TForm1::changeBackground() {
    if (chooseBackground(play, rng)) installBackground(play.Background, kFrameRect);
}

}  // namespace lumcrest
