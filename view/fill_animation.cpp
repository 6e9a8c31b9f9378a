// The progress bar grows to the new Total, four pixel rows per tick, after every chain; a
// finished stage is handed to the stage end once the bar has caught up.
#include "app/form.h"
#include "game/saturate.h"
#include "view/board_drawing.h"

namespace lumcrest {

void TForm1::filltimerTimer() {
    const long long a = (long long)fillMark + fillDrawn;
    if (a <= Total) {
        for (long long y = 461 - a; y <= 464 - a; ++y)
            if (y >= 0 && y < surface().height()) drawTubeRow(surface(), int(y));
        addSaturated(fillDrawn, 4);
        return;
    }
    if (Gemsleft < 1) stageEnd();
    filltimer.setEnabled(false);
}

}  // namespace lumcrest
