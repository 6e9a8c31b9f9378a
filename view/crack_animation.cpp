// A lost game: the gems crack row by row from the bottom up, then the score may enter the
// table, the menu comes back and a new game waits behind it.
#include <exception>

#include "app/form.h"
#include "audio/track_names.h"
#include "toolkit/error.h"
#include "view/board_drawing.h"

namespace lumcrest {

void TForm1::cracktimerTimer() {
    // The idle animations would draw whole gems over the cracks.
    if (Atimer.enabled()) Atimer.setEnabled(false);
    if (vertimer.enabled()) vertimer.setEnabled(false);
    // Edited counters start the animation from its first row.
    if (crackRow < 1) crackRow = 1;
    if (crackStep < 0) crackStep = 0;

    if (crackStep < 3) {
        if (crackRow <= 10)
            for (int c = 1; c <= 10; ++c) {
                const int v = cellAt(columnX(c), rowY(crackRow));
                if (v > 0) {
                    eraseCell(c, crackRow);
                    surface().drawFrame(crackFrames(), frameIndex(3LL * (v - 1) + crackStep),
                                        cellLeft(c), cellTop(crackRow));
                }
            }
        ++crackStep;
    }
    if (crackStep >= 3 && crackRow <= 10) {
        ++crackRow;
        crackStep = 0;
    }
    if (crackRow <= 10) return;

    Atimer.setEnabled(false);
    vertimer.setEnabled(false);
    cracktimer.setEnabled(false);
    crackStep = 0;
    crackRow = 1;
    // Equalling the tenth score is not enough to enter the table. A score the file cannot take
    // now still shows in the table, and the game over runs its course before the player hears
    // why it was not written.
    std::exception_ptr unwritten;
    if (Score > hiScores[10]) {
        try {
            insertHighScore();
        } catch (const tk::Error&) {
            unwritten = std::current_exception();
        }
        Menupanel.show();
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
