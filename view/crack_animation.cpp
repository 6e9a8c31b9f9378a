// A lost game: the gems crack row by row from the bottom up.
#include "view/board_drawing.h"
#include "view/board_view.h"

namespace lumcrest {

bool BoardView::crackTick(const GameState& g, bool calm) {
    // Edited counters start the animation from its first row.
    if (crackRow < 1) crackRow = 1;
    if (crackStep < 0) crackStep = 0;

    if (crackStep < 3) {
        if (crackRow <= 10)
            for (int c = 1; c <= 10; ++c) {
                const int v = g.cellAt(columnX(c), rowY(crackRow));
                if (v > 0) {
                    eraseCell(c, crackRow);
                    surface_.drawFrame(crackFrames(calm), frameIndex(3LL * (v - 1) + crackStep),
                                       cellLeft(c), cellTop(crackRow));
                }
            }
        ++crackStep;
    }
    if (crackStep >= 3 && crackRow <= 10) {
        ++crackRow;
        crackStep = 0;
    }
    if (crackRow <= 10) return false;
    crackStep = 0;
    crackRow = 1;
    return true;
}

}  // namespace lumcrest
