// The player's bar as rules over the game state: moving it along the launch row, its flight up
// the well, the next bar, the loss tests and the starting row at the top of the well.
#pragma once

#include "game/game_state.h"
#include "game/random.h"

namespace lumcrest {

// A random ordinary kind, 1..blocks (1 when there are no kinds).
int randomKind(Random& rng, int blocks);
// Three random ordinary kinds into bar[1..3], drawn again while all three are equal.
void drawOrdinaryBar(Random& rng, int blocks, int* bar);
// Puts the bar home, columns 4..6 of the launch row, and writes its gems there.
void placeBarHome(GameState& s);

// Whether the waiting bar already touches the side of the well it would move to (dx -1: left,
// +1: right).
bool barAtSide(const GameState& s, int dx);
// Moves the bar one column by dx when the cell beside it is free; a gem there keeps it still.
void shiftBar(GameState& s, int dx);
// Turns the bar's kinds one place to the left: the first gem goes to the end.
void rotateBar(GameState& s);

// One step of the bar's flight: each gem rises a row on its own until something is above it.
enum class Flight {
    Blocked,  // a gem of the bar sat right under the stack: the game is lost (gameOver is set)
    Rising,   // at least one gem still moves
    Landed,   // all three have stopped; the groups they made are marked (matchFound)
};
Flight riseBar(GameState& s);

// The number of non-empty cells in the well.
int gemsOnBoard(const GameState& s);
// The preview bar becomes the bar, waiting at home, and a new preview is drawn: jokers from
// stage 2 on, bombs from stage 3 on (only on a crowded board, never twice running).
void drawNextBar(GameState& s, Random& rng);
// True when row 2 has no three adjacent free cells, so the next bar can never be launched.
bool noRoomToLaunch(const GameState& s);

// The starting row: ten cells of row 10, gaps and kinds, written into Shape[1..10], shapeX,
// shapeY and the board.
void fillStartRow(GameState& s, Random& rng);

}  // namespace lumcrest
