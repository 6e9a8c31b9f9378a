// Which gems go: runs of three in eight directions, 2 x 2 squares, jokers that fit every kind
// and bombs that take a whole kind off the board; the clearing pass that scores them, and the
// look of the explosion that shows them going.
#pragma once

#include "game/game_state.h"
#include "game/random.h"

namespace lumcrest {

// Marks every gem of the well that belongs to a group; sets matchFound when one did, and
// bombFired when a bomb went off at the last cell scanned.
void markGroups(GameState& s);
// Whether a bomb of the well is among the marked gems (it goes off with them).
bool bombMarked(const GameState& s);
// Clears the marked gems and scores them: each adds fillStep to Total while gems are left to
// clear, counts down Gemsleft, counts into the chain and earns 20 x Blocks - 100 points. Every
// mark is dropped afterwards.
void clearMarkedGems(GameState& s);

// The look of an explosion: style 0 with 34 chances in 100, else style 1 or 2 (54 : 46).
int chooseBlastStyle(Random& rng);

}  // namespace lumcrest
