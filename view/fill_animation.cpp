// The progress bar grows to the new Total, four pixel rows per tick, after every chain.
#include "game/saturate.h"
#include "view/board_drawing.h"
#include "view/board_view.h"

namespace lumcrest {

bool BoardView::fillTick(int total) {
    const long long a = (long long)fillMark + fillDrawn;
    if (a > total) return false;
    for (long long y = 461 - a; y <= 464 - a; ++y)
        if (y >= 0 && y < surface_.height()) drawTubeRow(surface_, int(y));
    addSaturated(fillDrawn, 4);
    return true;
}

}  // namespace lumcrest
