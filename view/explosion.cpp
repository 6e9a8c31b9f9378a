// The explosion of cleared gems: five growing and fading frames, a last wisp, then the bare
// background. The stage-end explosion ends by showing the new level.
#include "app/form.h"
#include "view/board_drawing.h"

namespace lumcrest {

void TForm1::blasttimerTimer() {
    auto eachExploding = [&](auto&& paint) {
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r) {
                int& b = blastCells[gridIndex(columnX(c), rowY(r))];
                if (b != 0) paint(c, r, b);
            }
    };
    auto repaint = [&](int frame) {
        eachExploding([&](int c, int r, int&) {
            eraseCell(c, r);
            surface().drawFrame(gemsblast2, frame, cellLeft(c), cellTop(r));
        });
    };

    if (blastFrame >= 0 && blastFrame <= 3) {
        repaint(frameIndex(3 + 10LL * blastStyle + blastFrame));
        ++blastFrame;
    } else if (blastFrame == 4) {
        repaint(frameIndex(32LL + blastStyle));
        blastFrame = 5;
    } else {
        eachExploding([&](int c, int r, int& b) {
            eraseCell(c, r);
            b = 0;
        });
        if (levelPending) {
            levelPending = false;
            lblsetlevel.show();
            levelup.show();
            Animtimer.setEnabled(true);
        }
        blasttimer.setEnabled(false);
    }
}

}  // namespace lumcrest
