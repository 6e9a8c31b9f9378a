// The game state record: every field of the game, the player's settings and the animations.
// The main window owns exactly one of these for the whole run; operations read and write the
// fields directly on the window's single thread.
#pragma once

#include <cstdint>
#include <string>

#include "game/board_geometry.h"

namespace lumcrest {

struct GameState {
    // --- Per-cell grids, indexed x * 100 + y ---------------------------------------------------
    int board[kGridSize] = {};           // 0 empty, 1..Blocks gems, 11 joker, 12 bomb, 20 wall
    int shownCells[kGridSize] = {};      // value last drawn in the cell; -5 forces a redraw
    int blastCells[kGridSize] = {};      // gem shown exploding in the cell; 0 none
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
    bool paintAll = false;
    bool settleSkip = false;
    int settleSteps = 0;
    int chainCleared = 0;
    int landingPoints = 0;
    int fillMark = 0;
    int fillDrawn = 0;
    bool levelPending = false;
    bool blastStarted = false;
    int blastFrame = 0;
    int blastStyle = 0;

    // --- Settings and player ------------------------------------------------------------------
    std::uint8_t firstRun = 1;
    std::uint8_t soundOn = 1;
    std::uint8_t musicOn = 1;
    int musicVolume = 10;  // 0..10, how loud the music plays while it is on
    int soundVolume = 10;  // 0..10, how loud the effects play while they are on
    // Calm mode: the flash, the stage end's burst and the crack drawn softened.
    std::uint8_t calmMode = 0;
    std::string playerName;
    int hiScores[11] = {};  // lines 1..10, best first

    // --- Backgrounds --------------------------------------------------------------------------
    int backgroundHistory[11] = {};
    int backgroundHistoryIndex = 0;
    int previousBackground = 0;
    int backgroundChanges = 0;

    // --- Idle animations ----------------------------------------------------------------------
    int twinklePhase = 0;
    int twinkleColumn = 0;
    int twinkleRow = 0;
    int twinkleLight = 0;
    int specialBlinkPhase = 0;

    // --- Effect animations --------------------------------------------------------------------
    int crackStep = 0;
    int crackRow = 1;
    int flashStep = 0;
    int waveColumn = 1;
    int jarFrame = 0;
    int jarTailLoops = 0;
    int jarIntroLoops = 0;
    int drainLine = 464;
    int jarHalfTick = 0;

    // --- Menu rollover flags ------------------------------------------------------------------
    std::uint8_t newLit = 0, scoreLit = 0, musicLit = 0, soundLit = 0, helpLit = 0, aboutLit = 0,
                 backLit = 0, menuLit = 0, calmLit = 0;

    // --- High-score table ---------------------------------------------------------------------
    int blinkCount = 0;
    int lastScore = 0;
    int sortScores[12] = {};  // the insertion's working list, entries 1..11

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
