// What the menu and its high-score table show beyond their controls.
#pragma once

#include <cstdint>

namespace lumcrest {

// The menu's image buttons lit by the pointer or the controller's highlight: the hover picture
// and its sound come once per entry.
struct MenuLights {
    std::uint8_t newLit = 0, scoreLit = 0, musicLit = 0, soundLit = 0, helpLit = 0, aboutLit = 0,
                 backLit = 0, calmLit = 0;
};

// The high-score table on screen, and the blink of the line a game has just entered.
struct ScorePanelState {
    int hiScores[11] = {};  // lines 1..10, best first
    int blinkCount = 0;
    int lastScore = 0;
    int sortScores[12] = {};  // the insertion's working list, entries 1..11
};

}  // namespace lumcrest
