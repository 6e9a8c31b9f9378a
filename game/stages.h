// What each stage asks for, and the rules of a new game, a stage end and the background.
#pragma once

#include "game/game_state.h"
#include "game/random.h"

namespace lumcrest {

// The most kinds of gem a stage asks for (the board view holds it to the kinds it has
// pictures of).
inline constexpr int kMostKinds = 9;

struct StageParameters {
    int gemsToClear;
    int kinds;
};

// Stage 1 asks 20 gems of 6 kinds, 2: 50 of 7, 3: 60 of 8, 4: 70 of 9, then 15n + 10 of 9.
// Stages below 1 (an edited saved game) are taken as stage 1.
StageParameters stageParameters(int stage);

// A new game at stage 1: score and progress reset, the well emptied and walled at the top, a
// fresh starting row, bar and preview.
void startNewGame(GameState& s, Random& rng);
// The stage is finished: the next stage's target and kinds, every gem on the board handed to
// the explosion (blastCells), a fresh starting row, and the preview becomes the bar.
void advanceStage(GameState& s, Random& rng);
// Picks the next background, one not among the five most recent. False, changing nothing, once
// a long session has used up its changes.
bool chooseBackground(GameState& s, Random& rng);

}  // namespace lumcrest
