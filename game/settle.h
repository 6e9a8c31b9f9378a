// The settle cycle after a landing with a match: remove the exploding gems, let the gems below
// rise into the gaps, and look for the groups the rise made.
#pragma once

#include "game/game_state.h"

namespace lumcrest {

// The cycle acts on every second tick so the explosions have time to play out; once no gems are
// left to clear it acts on every tick. False on a tick that only waits.
bool settleTickActs(GameState& s);
// One step: the groups already shown exploding are cleared and scored, the columns close up and
// the points earned since the launch are added to Score. matchFound tells whether it cleared
// anything.
void settleStep(GameState& s);
// Gems rise toward row 10 until every column is closed up against the top, their order kept.
void closeUpColumns(GameState& s);

}  // namespace lumcrest
