// The settle cycle: after a landing with a match, every second tick of Cycletimer removes the
// exploding gems, lets the gems below rise into the gaps and looks for the groups the rise made.
#include "../app/form.h"
#include "saturate.h"

namespace lumcrest {

void TForm1::CycletimerTimer() {
    // Act on every second tick, so the explosions have time to play out between steps.
    if (!settleSkip && Gemsleft != 0) {
        settleSkip = true;
        return;
    }
    settleSkip = false;

    // The groups found here are those already shown exploding.
    matchFound = false;
    findMatches();
    addSaturated(settleSteps, 1);
    clearMatched();

    // Gems rise toward row 10 until every column is closed up against the top, order kept.
    for (int pass = 0; pass < 100; ++pass)
        for (int x = kFirstX; x <= kLastX; ++x)
            for (int y = kFirstY; y < kLastY; ++y) {
                int& here = board[gridIndex(x, y)];
                int& above = board[gridIndex(x, y + 1)];
                if (here != kEmpty && above == kEmpty) {
                    above = here;
                    here = kEmpty;
                }
            }

    // Every step adds all points earned since the launch, so long chains pay off.
    addSaturated(Score, landingPoints);
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
        if (chainCleared >= 7 && chainCleared <= 9) playEffect("Excellent.wav");
        if (chainCleared >= 10) playEffect("Incredible.wav");
        Cycletimer.setEnabled(false);
        fillDrawn = 0;
        Atimer.setEnabled(true);
        vertimer.setEnabled(true);
        filltimer.setEnabled(true);
    }
    drawBoard();
}

}  // namespace lumcrest
