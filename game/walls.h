// The walls around the well. Outside the 10 x 10 well a cell holds 0 or the wall, and the rules
// tell the two apart in one row only: the ceiling, the row over the top row, whose wall stops a
// rising gem. A fresh window frames the well on every side; a new game and each new stage empty
// the frame beside and under the well and wall the ceiling again.
#pragma once

#include "game/board_geometry.h"
#include "game/game_state.h"

namespace lumcrest {

// The floor (the row under the launch row) and the ceiling (kWallY) of a fresh window run from
// column x 9 to x 22; its sides stand one column beside the well, from the floor to one row over
// the ceiling.
constexpr int kFrameLeftX = 9, kFrameRightX = 22;
constexpr int kLeftSideX = kFirstX - 1, kRightSideX = kLastX + 1;
constexpr int kFloorY = kFirstY - 1;
constexpr int kSideTopY = kWallY + 1;
// A new game empties the well, the side left of it and the rows under it from this row up...
constexpr int kClearedFromY = 10;
// ...and walls the ceiling from the left side to this column.
constexpr int kCeilingRightX = 28;

enum class Walls {
    Frame,      // a fresh window: the well walled in on every side
    NewGame,    // the well and its frame emptied, then the ceiling walled
    NextStage,  // the left side and the floor emptied, the ceiling walled
};

// Builds the walls of the board for WHEN; no cell changes but those named above.
void buildWalls(GameState& s, Walls when);

}  // namespace lumcrest
