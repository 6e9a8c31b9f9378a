// The settle cycle: after a landing with a match, every second tick removes the exploding gems,
// lets the gems below rise into the gaps and looks for the groups the rise made.
#include "game/settle.h"

#include "game/matching.h"
#include "game/saturate.h"

namespace lumcrest {

bool settleTickActs(GameState& s) {
    if (!s.settleSkip && s.Gemsleft != 0) {
        s.settleSkip = true;
        return false;
    }
    s.settleSkip = false;
    return true;
}

void settleStep(GameState& s) {
    // The groups found here are those already shown exploding.
    s.matchFound = false;
    markGroups(s);
    addSaturated(s.settleSteps, 1);
    clearMarkedGems(s);
    closeUpColumns(s);
    // Every step adds all points earned since the launch, so long chains pay off.
    addSaturated(s.Score, s.landingPoints);
}

void closeUpColumns(GameState& s) {
    for (int pass = 0; pass < 100; ++pass)
        for (int x = kFirstX; x <= kLastX; ++x)
            for (int y = kFirstY; y < kLastY; ++y) {
                int& here = s.board[gridIndex(x, y)];
                int& above = s.board[gridIndex(x, y + 1)];
                if (here != kEmpty && above == kEmpty) {
                    above = here;
                    here = kEmpty;
                }
            }
}

}  // namespace lumcrest
