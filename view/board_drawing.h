// Pieces of the board drawing that the animations share.
#pragma once

#include "toolkit/surface.h"

namespace lumcrest {

// One pixel row of the stage progress bar at y, x 47..60, in its fixed colours.
void drawTubeRow(tk::Surface& surface, int y);

}  // namespace lumcrest

namespace lumcrest {

// A frame number computed from cell values or counters; an edited saved game can hold any
// integer there, and a frame no list has simply draws nothing.
constexpr int frameIndex(long long f) {
    return f < 0 || f > 1000000 ? -1 : int(f);
}

}  // namespace lumcrest

namespace lumcrest {

// The explosion's steps: 0 the flash, 1..4 the growing and fading burst, 5 the last wisp.
constexpr int kBlastWispStep = 5;

// How many steps later than the board's middle cell (c, r) starts in the stage-end explosion:
// 0 in the middle, up to 3 in the corners, so the blast runs outward as a wave.
int stageEndWaveDelay(int c, int r);

// The frame of the explosion list showing STEP of blast style STYLE; -1 (nothing) before step 0.
int blastStepFrame(int style, int step);

}  // namespace lumcrest
