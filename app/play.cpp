// The window's side of play: the bar's keys, its flight, the next bar, the loss and the settle
// cycle. The rules are those of game/; these members add the drawing, the sounds, the captions
// and the timers that pace them.
#include "app/form.h"
#include "assets/catalogue.h"
#include "game/bar_rules.h"
#include "game/matching.h"
#include "game/settle.h"

namespace lumcrest {

void TForm1::shiftLeft() {
    if (Timer1.enabled() || barAtSide(*this, -1) || gameOver || Cycletimer.enabled()) return;
    // A gem in the way stops the bar, but the board is still redrawn.
    shiftBar(*this, -1);
    drawBoard();
}

void TForm1::shiftRight() {
    if (Timer1.enabled() || barAtSide(*this, +1) || gameOver || Cycletimer.enabled()) return;
    shiftBar(*this, +1);
    drawBoard();
}

void TForm1::rotateGems() {
    if (Timer1.enabled() || gameOver || Cycletimer.enabled()) return;
    rotateBar(*this);
    drawBoard();
}

void TForm1::launchBar() {
    if (Timer1.enabled() || gameOver || Animtimer.enabled() || Cycletimer.enabled()) return;
    Timer1.setEnabled(true);
}

void TForm1::Boxupdate() {
    fieldView.coverSparkle(*this);

    const Flight flight = riseBar(*this);
    if (flight == Flight::Blocked) {
        Timer1.setEnabled(false);
        playEffect(asset::kYouLose.file);
        cracktimer.setEnabled(true);
        fieldView.twinklePhase = 0;
        return;
    }
    const bool landed = flight == Flight::Landed;
    if (landed && !matchFound) {
        playEffect(asset::kGemsTouch.file);
        spawnBar();
        checkLoss();
        if (gameOver) {
            // The new bar is not shown: the cracks take over the board.
            Timer1.setEnabled(false);
            fieldView.twinklePhase = 0;
            return;
        }
    }
    drawBoard();
    if (landed) {
        Timer1.setEnabled(false);
        if (matchFound) {
            settleSkip = true;
            fieldView.fillMark = Total;
            Atimer.setEnabled(false);
            vertimer.setEnabled(false);
            Cycletimer.setEnabled(true);
        }
    }
    fieldView.twinklePhase = 0;
}

void TForm1::spawnBar() {
    drawNextBar(*this, rng);
}

void TForm1::countGems() {
    gemCount = gemsOnBoard(*this);
}

void TForm1::checkLoss() {
    if (!noRoomToLaunch(*this)) return;
    gameOver = true;
    playEffect(asset::kYouLose.file);
    cracktimer.setEnabled(true);
}

void TForm1::makeStartRow() {
    fillStartRow(*this, rng);
}

void TForm1::findMatches() {
    markGroups(*this);
}

void TForm1::clearMatched() {
    clearMarkedGems(*this);
}

void TForm1::CycletimerTimer() {
    if (!settleTickActs(*this)) return;
    settleStep(*this);
    Label1.setCaption(std::to_string(Score));

    bool lost = false;
    if (landedCount == 3 && !matchFound) {
        // Nothing left to clear: the next bar comes in, and may find no room.
        spawnBar();
        checkLoss();
        lost = gameOver;
    }
    if (!lost && settleSteps == 3) flashtimer.setEnabled(true);

    if (matchFound && Gemsleft > 0) {
        findMatches();
    } else {
        if (chainCleared >= 7 && chainCleared <= 9) playEffect(asset::kExcellent.file);
        if (chainCleared >= 10) playEffect(asset::kIncredible.file);
        Cycletimer.setEnabled(false);
        fieldView.fillDrawn = 0;
        Atimer.setEnabled(true);
        vertimer.setEnabled(true);
        filltimer.setEnabled(true);
    }
    drawBoard();
}

}  // namespace lumcrest
