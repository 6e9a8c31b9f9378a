#pragma once
// The gems: one shaded ball in a gold setting per cell value.

#include <cairo.h>

#include "assets/forge/canvas.h"

namespace forge {

constexpr int kGemSize = 48;

// Cell values with a picture of their own.
enum GemValue : int {
    kGemSteel = 0,
    kGemLastOrdinary = 10,  // 1..10 may be ordinary kinds: asset::kGemKinds of them are
    kGemJoker = 11,
    kGemBomb = 12,
    kGemJokerBlinkA = 13,
    kGemJokerBlinkB = 14,
    kGemBombBright = 15,
};

// The whole 48x48 tile of VALUE (0..15), opaque edge to edge so a gem drawn
// over another one hides it completely.
void paintGem(cairo_t* cr, int value);
// The same ball and rim without the square setting, on a transparent ground.
void paintGemBall(cairo_t* cr, int value);
// The inside of the gold rim, for clipping sheens, highlights and cracks.
void gemBallPath(cairo_t* cr);
// The rim line itself.
void gemRimPath(cairo_t* cr);
// The main colour of a kind.
Rgb gemColor(int value);

}  // namespace forge
