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
