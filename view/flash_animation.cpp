// A chain that reaches its third step makes every resting gem flash: two highlight frames,
// then the plain gem again. Exploding cells are left to their explosion.
#include "app/form.h"
#include "view/board_drawing.h"

namespace lumcrest {

void TForm1::flashtimerTimer() {
    const int step = flashStep;
    const tk::ImageList& lights = flashFrames();
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r) {
            const int i = gridIndex(columnX(c), rowY(r));
            const int k = board[i];
            if (k <= 0 || blastCells[i] != 0) continue;
            eraseCell(c, r);
            if (step == 0 || step == 1)
                surface().drawFrame(lights, frameIndex(2LL * (k - 1) + step), cellLeft(c),
                                    cellTop(r));
            else
                surface().drawFrame(Blockimage, k, cellLeft(c), cellTop(r));
        }
    if (step == 0 || step == 1) {
        flashStep = step + 1;
    } else {
        flashStep = 0;
        flashtimer.setEnabled(false);
    }
}

}  // namespace lumcrest
