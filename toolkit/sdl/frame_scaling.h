// Showing a window's fixed-size frame larger (or, on a small fullscreen, smaller): where the
// frame sits on the screen, which scale fits the desktop, copying changed areas scaled, and
// mapping the pointer back to frame pixels.
#pragma once

#include <cstdint>

#include "toolkit/geometry.h"

namespace tk::sdl {

// The largest scale the player may ask for.
constexpr int kMaxScale = 4;

// Where the frame is shown on a screen surface.
struct Placement {
    int x = 0, y = 0;           // the frame's top-left corner on the surface
    int width = 0, height = 0;  // the frame's size on the surface
    int whole = 1;              // the whole-number scale, or 0 when smoothly scaled
    bool operator==(const Placement&) const = default;
};

// The automatic scale of a window with a client of FRAMEW x FRAMEH on a desktop whose usable
// area is USABLEW x USABLEH: the largest whole number (up to kMaxScale) for which the window,
// with room for its frame and a margin, fits; at least 1.
int autoScale(int frameW, int frameH, int usableW, int usableH);

// The largest whole scale (up to kMaxScale) at which a client of FRAMEW x FRAMEH fits wholly on a
// usable area of USABLEW x USABLEH; at least 1. A larger scale asked for is shown at this one.
int largestFittingScale(int frameW, int frameH, int usableW, int usableH);

// Where a window showing a client of FRAMEW x FRAMEH at SCALE goes on the desktop's usable area
// USABLE: centred on AROUND (its owner window, or the usable area itself), moved to lie wholly on
// USABLE, and shrunk there, keeping the frame's shape, when it is larger.
Rect placeWindow(int frameW, int frameH, int scale, Rect around, Rect usable);

// The frame on a window's surface of SURFW x SURFH: at the largest whole scale that fits when the
// frame fits at all, else smoothly shrunk to fit; centred, the rest of the surface black.
Placement fitFrame(int frameW, int frameH, int surfW, int surfH);

// A whole scale that fills less than this share of the screen's height (in percent) leaves the
// frame small on a wide black border: fullscreen then scales it smoothly instead.
constexpr int kWholeFillPercent = 85;

// The frame filling a screen of SCREENW x SCREENH: at the largest whole scale when that fills
// kWholeFillPercent of the screen's height or more, else smoothly at the largest size that fits,
// keeping the frame's shape (1155 x 800 on a 1280 x 800 handheld); centred on black.
Placement fitFullscreen(int frameW, int frameH, int screenW, int screenH);

// The surface rectangle that shows frame area R (whole scales), or that must be redrawn when R
// changed (smooth scaling, which reads a pixel beyond each side).
Rect surfaceArea(const Placement& p, int frameW, int frameH, Rect r);

// The frame pixel under surface pixel (SX, SY); false when it lies outside the frame (on the
// black border). FX, FY are set in either case (outside the client then).
bool toFrame(const Placement& p, int frameW, int frameH, int sx, int sy, int& fx, int& fy);

// Draws the frame's pixels into the surface area DST (surface coordinates, inside the
// placement): nearest-neighbour at whole scales, bilinear otherwise. FRAME holds FRAMEW x FRAMEH
// pixels; OUT points at the surface pixel of DST's top-left corner, OUTSTRIDE pixels per row.
void drawScaled(const Argb* frame, int frameW, int frameH, const Placement& p, Rect dst, Argb* out,
                int outStride);

}  // namespace tk::sdl
