// The window's side of play: the bar's keys, its flight, the next bar, the loss and the settle
// cycle. The rules are those of game/; these members add the drawing, the sounds, the captions
// and the timers that pace them.
#include "app/form.h"
#include "assets/catalogue.h"
#include "game/bar_rules.h"
#include "game/matching.h"
#include "game/settle.h"

namespace lumcrest {

namespace {

// Where a long chain's praise stands in the well, and how long.
constexpr int kPraiseY = 250;
constexpr int kPraiseMs = 1800;
// The final score of a lost game, over the cracking board until the menu comes.
constexpr int kFinalScoreY = 280;
constexpr int kFinalScoreMs = 3000;

}  // namespace

void TForm1::shiftLeft() {
    if (Timer1.enabled() || barAtSide(play, -1) || play.gameOver || Cycletimer.enabled()) return;
    // A gem in the way stops the bar, but the board is still redrawn.
    const int from = play.shapeX[1];
    shiftBar(play, -1);
    if (play.shapeX[1] != from) playCue(asset::kShiftCue.file);
    drawBoard();
}

void TForm1::shiftRight() {
    if (Timer1.enabled() || barAtSide(play, +1) || play.gameOver || Cycletimer.enabled()) return;
    const int from = play.shapeX[1];
    shiftBar(play, +1);
    if (play.shapeX[1] != from) playCue(asset::kShiftCue.file);
    drawBoard();
}

void TForm1::rotateGems() {
    if (Timer1.enabled() || play.gameOver || Cycletimer.enabled()) return;
    rotateBar(play);
    playCue(asset::kRotateCue.file);
    drawBoard();
}

void TForm1::launchBar() {
    if (Timer1.enabled() || play.gameOver || Animtimer.enabled() || Cycletimer.enabled()) return;
    gameTouched = true;
    Timer1.setEnabled(true);
    playCue(asset::kLaunchCue.file);
}

void TForm1::Boxupdate() {
    fieldView.coverSparkle(play);

    const Flight flight = riseBar(play);
    if (flight == Flight::Blocked) {
        Timer1.setEnabled(false);
        playEffect(asset::kYouLose.file);
        cracktimer.setEnabled(true);
        showFinalScore();
        fieldView.twinklePhase = 0;
        return;
    }
    const bool landed = flight == Flight::Landed;
    if (landed && !play.matchFound) {
        playEffect(asset::kGemsTouch.file);
        spawnBar();
        checkLoss();
        if (play.gameOver) {
            // The new bar is not shown: the cracks take over the board.
            Timer1.setEnabled(false);
            fieldView.twinklePhase = 0;
            return;
        }
    }
    drawBoard();
    if (landed) {
        Timer1.setEnabled(false);
        if (play.matchFound) {
            play.settleSkip = true;
            fieldView.fillMark = play.Total;
            Atimer.setEnabled(false);
            vertimer.setEnabled(false);
            Cycletimer.setEnabled(true);
        }
    }
    fieldView.twinklePhase = 0;
}

void TForm1::spawnBar() {
    drawNextBar(play, rng);
}

void TForm1::countGems() {
    play.gemCount = gemsOnBoard(play);
}

void TForm1::checkLoss() {
    if (!noRoomToLaunch(play)) return;
    play.gameOver = true;
    playEffect(asset::kYouLose.file);
    cracktimer.setEnabled(true);
    showFinalScore();
}

void TForm1::showFinalScore() {
    fieldEffects.dimWell();
    fieldEffects.mark(tk::tr("Final score: %s", std::to_string(play.Score)), kFinalScoreY, 44,
                      kFinalScoreMs, true);
}

void TForm1::makeStartRow() {
    fillStartRow(play, rng);
}

void TForm1::findMatches() {
    markGroups(play);
}

void TForm1::clearMatched() {
    clearMarkedGems(play);
}

void TForm1::CycletimerTimer() {
    if (!settleTickActs(play)) return;
    const std::pair<int, int> specials = specialsOnBoard();
    settleStep(play);
    tallySpecials(specials);
    Label1.setCaption(std::to_string(play.Score));

    bool lost = false;
    if (play.landedCount == 3 && !play.matchFound) {
        // Nothing left to clear: the next bar comes in, and may find no room.
        spawnBar();
        checkLoss();
        lost = play.gameOver;
    }
    if (!lost && play.settleSteps == 3) flashtimer.setEnabled(true);

    if (play.matchFound && play.Gemsleft > 0) {
        findMatches();
    } else {
        if (play.chainCleared >= 7 && play.chainCleared <= 9) {
            playEffect(asset::kExcellent.file);
            fieldEffects.mark(tk::tr("Excellent!"), kPraiseY, 64, kPraiseMs);
        }
        if (play.chainCleared >= 10) {
            playEffect(asset::kIncredible.file);
            fieldEffects.mark(tk::tr("Incredible!"), kPraiseY, 64, kPraiseMs);
        }
        tallyChain();
        Cycletimer.setEnabled(false);
        fieldView.fillDrawn = 0;
        Atimer.setEnabled(true);
        vertimer.setEnabled(true);
        filltimer.setEnabled(true);
    }
    drawBoard();
}

}  // namespace lumcrest
