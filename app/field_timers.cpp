// The window's side of the field's drawing: the repaint and the timers of the animations. The
// drawing is the board view's; these handlers give it the play state and add the timers, the
// sounds and what follows an animation's end.
#include <exception>

#include "app/form.h"
#include "assets/catalogue.h"
#include "toolkit/error.h"
#include "view/frame_sizes.h"

namespace lumcrest {

void TForm1::drawBoard() {
    const bool started = fieldView.drawBoard(play, rng, settings.calmMode);
    soundBurst(started);
    if (started) blasttimer.setEnabled(true);
}

void TForm1::redraw() {
    // The menu covers the whole window.
    if (Menupanel.visible()) return;
    const bool started = fieldView.repaint(play, rng, settings.calmMode, blasttimer.enabled());
    soundBurst(started);
    if (started) blasttimer.setEnabled(true);
}

void TForm1::blasttimerTimer() {
    const BoardView::BlastTick tick = fieldView.explosionTick(play, settings.calmMode);
    if (tick != BoardView::BlastTick::Going)
        session.blastEnded(tick == BoardView::BlastTick::OverBeforeBanner);
}

void TForm1::filltimerTimer() {
    if (!fieldView.fillTick(play.Total)) session.fillEnded();
}

void TForm1::flashtimerTimer() {
    if (fieldView.flashTick(play, settings.calmMode)) flashtimer.setEnabled(false);
}

void TForm1::jartimerTimer() {
    jartimer.setInterval(fieldView.jarInterval());
    const bool ended = fieldView.jarTick(play.Background);
    // The jar celebrates large over the well while the small one plays in its corner.
    if (fieldView.jarHalfTick == 0 || ended) fieldEffects.jar(fieldView.jarPicture(), ended);
    if (ended) session.jarEnded();
}

void TForm1::AtimerTimer() {
    const BoardView::SparkleTick tick = fieldView.sparkleTick(play, rng, wavetimer.enabled());
    if (tick.interval != 0) Atimer.setInterval(tick.interval);
    if (tick.sendWave) wavetimer.setEnabled(true);
}

void TForm1::vertimerTimer() {
    fieldView.blinkSpecials(play);
    // The time in play goes by the field's own beat, while the field shows a live game.
    if (!Menupanel.visible() && !play.gameOver) tally.beat(vertimer.interval());
}

void TForm1::wavetimerTimer() {
    if (fieldView.waveTick(play)) wavetimer.setEnabled(false);
}

void TForm1::cracktimerTimer() {
    session.crackTick();
    if (!fieldView.crackTick(play, settings.calmMode)) return;
    // Every row has cracked: the score may enter the table, the menu comes back and a new game
    // waits behind it.
    session.cracksEnded();
    gameOverToMenu();
}

void TForm1::gameOverToMenu() {
    // Equalling the tenth score is not enough to enter the table. A score the file cannot take
    // now still shows in the table, and the game over runs its course before the player hears
    // why it was not written.
    std::exception_ptr unwritten;
    try {
        tally.gameEnded(profile_, play.Score, play.Stage, true);
    } catch (const tk::Error&) {
        unwritten = std::current_exception();
    }
    // The cracked well fades out over the table or the menu.
    tk::Image lastFrame;
    composeArea(lastFrame, kFrameRect);
    fieldEffects.curtainFrom(lastFrame);
    if (play.Score > scorePanel.state.hiScores[10]) {
        try {
            insertHighScore();
        } catch (const tk::Error&) {
            unwritten = std::current_exception();
        }
        Menupanel.show();
        scorePanel.showPage(0);
        Scorepanel.show();
        scoretimer.setEnabled(true);
    } else {
        Menupanel.show();
    }
    if (overpanel.visible()) overpanel.hide();
    newGame();
    switchTrack(kMenuTrack, kMenuTrackRestartMs);
    if (unwritten) std::rethrow_exception(unwritten);
}

}  // namespace lumcrest
