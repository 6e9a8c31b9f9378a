// A chain that reaches its third step makes every resting gem flash: two highlight frames,
// then the plain gem again. Exploding cells are left to their explosion.
#include "view/board_drawing.h"
#include "view/board_view.h"

namespace lumcrest {

bool BoardView::flashTick(const GameState& g, bool calm) {
    const int step = flashStep;
    const tk::ImageList& lights = flashFrames(calm);
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r) {
            const int i = gridIndex(columnX(c), rowY(r));
            const int k = g.board[i];
            if (k <= 0 || g.blastCells[i] != 0) continue;
            eraseCell(c, r);
            if (step == 0 || step == 1)
                surface_.drawFrame(lights, frameIndex(2LL * (k - 1) + step), cellLeft(c),
                                   cellTop(r));
            else
                surface_.drawFrame(Blockimage, k, cellLeft(c), cellTop(r));
        }
    if (step == 0 || step == 1) {
        flashStep = step + 1;
        return false;
    }
    flashStep = 0;
    return true;
}

}  // namespace lumcrest
