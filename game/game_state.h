// The play state: what the rules read and write, and what the saved game holds. How the field
// is drawn (its animations and caches), the menu and the player's settings live with their own
// parts; the rules never see them.
#pragma once

#include <cstdint>

#include "game/board_geometry.h"

namespace lumcrest {

struct GameState {
    // --- Per-cell grids, indexed x * 100 + y ---------------------------------------------------
    int board[kGridSize] = {};           // 0 empty, 1..Blocks gems, 11 joker, 12 bomb, 20 wall
    int blastCells[kGridSize] = {};      // gem exploding in the cell; 0 none
    std::uint8_t marks[kGridSize] = {};  // 1: cleared by the next settle step

    // --- The bar (indices 1..3; 1..10 are the starting row's working cells) -------------------
    int Shape[11] = {};
    int Nextshape[11] = {};
    int shapeX[11] = {};
    int shapeY[11] = {};
    int landedCount = 0;
    bool shapeMoved = false;

    // --- Stage and score (saved with the game) ------------------------------------------------
    int Stage = 1;
    int Gemsleft = 20;
    int Blocks = 6;
    int Score = 0;
    int Total = 0;
    int fillStep = 18;
    int Background = 0;

    // --- Spawn control ------------------------------------------------------------------------
    int gemCount = 0;
    int bombThreshold = 0;
    bool bombLast = false;

    // --- Play flags and per-launch counters ---------------------------------------------------
    bool gameOver = false;
    bool matchFound = false;
    bool bombFired = false;
    bool settleSkip = false;
    int settleSteps = 0;
    int chainCleared = 0;
    int landingPoints = 0;

    // --- Backgrounds --------------------------------------------------------------------------
    int backgroundHistory[11] = {};
    int backgroundHistoryIndex = 0;
    int previousBackground = 0;
    int backgroundChanges = 0;

    // The cell at grid position (x, y); a harmless spare outside the grid.
    int& cell(int x, int y) {
        if (inGrid(x, y)) return board[gridIndex(x, y)];
        spare_ = 0;
        return spare_;
    }
    int cellAt(int x, int y) const { return inGrid(x, y) ? board[gridIndex(x, y)] : 0; }

  private:
    int spare_ = 0;
};

}  // namespace lumcrest
