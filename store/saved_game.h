// The saved game: 102 integer keys in four sections of the settings file, written at close and
// read back by the next start.
#pragma once

#include "game/game_state.h"
#include "store/profile.h"

namespace lumcrest {

// What the saved game stores for the cell in column C, row R. A bar in flight is stored as if it
// still waited in the launch row: its kinds are in Shape and the next start puts it there, so
// its gems must not stay on the board as well.
int savedCell(const GameState& s, bool barInFlight, int c, int r);
// Writes every key of the saved game; all of them replace the file at once, so a crash never
// leaves half a saved game.
void saveGame(Profile& profile, const GameState& s, bool barInFlight);
// The keys one by one, for a batch already begun.
void saveGameKeys(Profile& profile, const GameState& s, bool barInFlight);
// Reads the bar, the preview, the stage, the score and rows 2..10 of the board.
void loadGame(const Profile& profile, GameState& s);

}  // namespace lumcrest
