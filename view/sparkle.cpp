// The idle sparkle: one settled gem at a time glints (six frames) or catches a sheen of light
// (nine frames), then may send a wave across a full board.
#include "game/stages.h"
#include "view/board_view.h"

namespace lumcrest {

namespace {

enum Look { kGlint = 0, kSheen = 1 };

static_assert(kMostKinds <= asset::kGemKinds, "a stage asks for a kind that has no pictures");

}  // namespace

// The sparkle cell's gem.
int BoardView::sparkleGem(const GameState& g) const {
    return g.cellAt(columnX(twinkleColumn), rowY(twinkleRow));
}

// Draws frame FRAME of LIST over the sparkle's cell. Under the menu the sparkle goes on unseen
// and undrawn: the board is drawn whole again when the menu goes.
void BoardView::drawAtSparkle(const tk::ImageList& list, int frame) {
    if (surface_.covered()) return;
    surface_.drawFrame(list, frame, cellLeft(twinkleColumn), cellTop(twinkleRow));
}

// Now and then picks a look and a settled gem, and draws the look's first frame over it.
void BoardView::startSparkle(const GameState& g, Random& rng, bool waveRunning, SparkleTick& out) {
    // No new sparkle while a wave crosses the board.
    if (waveRunning) return;
    if (rng.below(100) <= 80) return;
    if (rng.below(100) > 50) {
        twinkleLight = kGlint;
        out.interval = 120;
    } else {
        twinkleLight = kSheen;
        out.interval = 20;
    }
    // Row 1, where the bar waits, is never chosen; row 11 is the wall.
    twinkleColumn = rng.below(10) + 1;
    twinkleRow = rng.below(10) + 2;
    int gem = sparkleGem(g);
    if (gem < 1 || gem > asset::kGemKinds) return;  // no glint nor sheen for others
    if (twinkleLight == kGlint)
        glint(gem, 0);
    else
        sheen(gem, 0);
    twinklePhase = 1;
}

BoardView::SparkleTick BoardView::sparkleTick(const GameState& g, Random& rng, bool waveRunning) {
    SparkleTick out;
    if (twinklePhase == 0) {
        startSparkle(g, rng, waveRunning, out);
        return out;
    }
    // A sparkle whose cell has been emptied waits for a gem to rise into it.
    int gem = sparkleGem(g);
    if (gem == 0) return out;
    bool isGlint = twinkleLight == kGlint;
    bool lastStep = twinklePhase == 11;
    int next = twinklePhase + 1;
    switch (twinklePhase) {
        case 1:
        case 2:
        case 4:
        case 5: isGlint ? glint(gem, twinklePhase) : sheen(gem, twinklePhase); break;
        case 3:
            isGlint ? glint(gem, 3) : sheen(gem, 3);
            next = rng.below(100) <= 30 ? 4 : 5;
            break;
        case 6: isGlint ? glint(gem, 4) : sheen(gem, 6); break;
        case 7: isGlint ? glint(gem, 3) : sheen(gem, 7); break;
        case 8:
            if (isGlint) {
                eraseCell(twinkleColumn, twinkleRow);
                glint(gem, 2);
            } else {
                sheen(gem, 8);
            }
            break;
        case 9:
            if (isGlint)
                glint(gem, 1);
            else
                drawAtSparkle(Blockimage, gem);
            break;
        case 10:
            if (isGlint) glint(gem, 0);
            break;
        case 11:
            if (isGlint) drawAtSparkle(Blockimage, gem);
            next = 0;
            break;
        default:  // a phase no sparkle has: end it
            next = 0;
            break;
    }
    twinklePhase = next;
    // After a sparkle, a board whose top row is full may send a wave of light across it.
    if (lastStep) {
        bool topRowFull = true;
        for (int c = 1; c <= 10; ++c)
            if (g.cellAt(columnX(c), rowY(10)) == kEmpty) topRowFull = false;
        out.sendWave = topRowFull && rng.below(100) > 90;
    }
    return out;
}

void BoardView::blinkSpecials(const GameState& g) {
    // Jokers cycle through frames 11, 13, 14 and bombs through 12, 15, 12, in the launch row and in
    // the preview.
    static constexpr int kJokerFrames[4] = {11, 13, 14, 14};
    static constexpr int kBombFrames[4] = {12, 15, 12, 15};
    int phase = (specialBlinkPhase >= 0 && specialBlinkPhase <= 3) ? specialBlinkPhase : 0;
    auto blink = [&](int value, int left, int top) {
        if (value != kJoker && value != kBomb) return;
        bool joker = value == kJoker;
        surface_.drawFrame(Blockimage, joker ? kJokerFrames[phase] : kBombFrames[phase], left, top);
        if (phase == 3) surface_.drawFrame(Blockimage, joker ? 11 : 12, left, top);
    };
    for (int c = 1; c <= 10; ++c) blink(g.cellAt(columnX(c), kLaunchY), cellLeft(c), cellTop(1));
    for (int k = 1; k <= 3; ++k) blink(g.Nextshape[k], previewLeft(k), kPreviewTop);
    specialBlinkPhase = phase == 3 ? 1 : phase + 1;
}

bool BoardView::waveTick(const GameState& g) {
    int w = waveColumn;
    auto light = [&](int c, int r, bool second) {
        int k = g.cellAt(columnX(c), rowY(r));
        if (k == kEmpty) return;
        surface_.drawFrame(waveanim, 2 * (k - 1) + (second ? 1 : 0), cellLeft(c), cellTop(r));
    };
    for (int r = 1; r <= 10; ++r) {
        if (w <= 10) light(w, r, false);
        if (w >= 2 && w <= 11) light(w - 1, r, true);
        if (w >= 3 && w <= 12) light(w - 2, r, false);
        if (w >= 4 && w <= 13) {
            int k = g.cellAt(columnX(w - 3), rowY(r));
            if (k != kEmpty) surface_.drawFrame(Blockimage, k, cellLeft(w - 3), cellTop(r));
        }
    }
    ++waveColumn;
    if (waveColumn <= 13) return false;
    waveColumn = 1;
    return true;
}

}  // namespace lumcrest
