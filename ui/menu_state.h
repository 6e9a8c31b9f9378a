// What the high-score table shows beyond its controls.
#pragma once

#include <cstdint>

namespace lumcrest {

// The high-score table on screen, and the blink of the line a game has just entered.
struct ScorePanelState {
    int hiScores[11] = {};  // lines 1..10, best first
    int blinkCount = 0;
    int lastScore = 0;
    int sortScores[12] = {};  // the insertion's working list, entries 1..11
};

}  // namespace lumcrest
