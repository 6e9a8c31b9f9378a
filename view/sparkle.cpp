// The idle sparkle: one settled gem at a time glints (six frames) or catches a sheen of light
// (nine frames), then may send a wave across a full board.
#include "app/form.h"

namespace lumcrest {

namespace {

enum Look { kGlint = 0, kSheen = 1 };

// The sparkle cell's gem.
int sparkleGem(const TForm1& f) {
    return f.cellAt(columnX(f.twinkleColumn), rowY(f.twinkleRow));
}
// Draws frame FRAME of LIST over the sparkle's cell.
void drawAtSparkle(TForm1& f, const tk::ImageList& list, int frame) {
    f.surface().drawFrame(list, frame, cellLeft(f.twinkleColumn), cellTop(f.twinkleRow));
}
// Frame I of gem G's glint or of its sheen.
void glint(TForm1& f, int g, int i) {
    drawAtSparkle(f, f.firstanim, 6 * g - 6 + i);
}
void sheen(TForm1& f, int g, int i) {
    drawAtSparkle(f, f.lightanim, 9 * g - 9 + i);
}

// Now and then picks a look and a settled gem, and draws the look's first frame over it.
void startSparkle(TForm1& f) {
    // No new sparkle while a wave crosses the board.
    if (f.wavetimer.enabled()) return;
    if (f.rng.below(100) <= 80) return;
    if (f.rng.below(100) > 50) {
        f.twinkleLight = kGlint;
        f.Atimer.setInterval(120);
    } else {
        f.twinkleLight = kSheen;
        f.Atimer.setInterval(20);
    }
    // Row 1, where the bar waits, is never chosen; row 11 is the wall.
    f.twinkleColumn = f.rng.below(10) + 1;
    f.twinkleRow = f.rng.below(10) + 2;
    int g = sparkleGem(f);
    if (g < 1 || g > 10) return;
    if (f.twinkleLight == kGlint)
        glint(f, g, 0);
    else
        sheen(f, g, 0);
    f.twinklePhase = 1;
}

// After a sparkle, a board whose top row is full may send a wave of light across it.
void maybeSendWave(TForm1& f) {
    bool topRowFull = true;
    for (int c = 1; c <= 10; ++c)
        if (f.cellAt(columnX(c), rowY(10)) == kEmpty) topRowFull = false;
    if (topRowFull && f.rng.below(100) > 90) f.wavetimer.setEnabled(true);
}

}  // namespace

void TForm1::AtimerTimer() {
    if (twinklePhase == 0) {
        startSparkle(*this);
        return;
    }
    // A sparkle whose cell has been emptied waits for a gem to rise into it.
    int g = sparkleGem(*this);
    if (g == 0) return;
    bool isGlint = twinkleLight == kGlint;
    bool lastStep = twinklePhase == 11;
    int next = twinklePhase + 1;
    switch (twinklePhase) {
        case 1:
        case 2:
        case 4:
        case 5: isGlint ? glint(*this, g, twinklePhase) : sheen(*this, g, twinklePhase); break;
        case 3:
            isGlint ? glint(*this, g, 3) : sheen(*this, g, 3);
            next = rng.below(100) <= 30 ? 4 : 5;
            break;
        case 6: isGlint ? glint(*this, g, 4) : sheen(*this, g, 6); break;
        case 7: isGlint ? glint(*this, g, 3) : sheen(*this, g, 7); break;
        case 8:
            if (isGlint) {
                eraseCell(twinkleColumn, twinkleRow);
                glint(*this, g, 2);
            } else {
                sheen(*this, g, 8);
            }
            break;
        case 9:
            if (isGlint)
                glint(*this, g, 1);
            else
                drawAtSparkle(*this, Blockimage, g);
            break;
        case 10:
            if (isGlint) glint(*this, g, 0);
            break;
        case 11:
            if (isGlint) drawAtSparkle(*this, Blockimage, g);
            next = 0;
            break;
        default:  // a phase no sparkle has: end it
            next = 0;
            break;
    }
    twinklePhase = next;
    if (lastStep) maybeSendWave(*this);
}

void TForm1::vertimerTimer() {
    // Jokers cycle through frames 11, 13, 14 and bombs through 12, 15, 12, in the launch row and in
    // the preview.
    static constexpr int kJokerFrames[4] = {11, 13, 14, 14};
    static constexpr int kBombFrames[4] = {12, 15, 12, 15};
    int phase = (specialBlinkPhase >= 0 && specialBlinkPhase <= 3) ? specialBlinkPhase : 0;
    auto blink = [&](int value, int left, int top) {
        if (value != kJoker && value != kBomb) return;
        bool joker = value == kJoker;
        surface().drawFrame(Blockimage, joker ? kJokerFrames[phase] : kBombFrames[phase], left,
                            top);
        if (phase == 3) surface().drawFrame(Blockimage, joker ? 11 : 12, left, top);
    };
    for (int c = 1; c <= 10; ++c) blink(cellAt(columnX(c), kLaunchY), cellLeft(c), cellTop(1));
    for (int k = 1; k <= 3; ++k) blink(Nextshape[k], previewLeft(k), kPreviewTop);
    specialBlinkPhase = phase == 3 ? 1 : phase + 1;
}

void TForm1::wavetimerTimer() {
    int w = waveColumn;
    auto light = [&](int c, int r, bool second) {
        int k = cellAt(columnX(c), rowY(r));
        if (k == kEmpty) return;
        surface().drawFrame(waveanim, 2 * (k - 1) + (second ? 1 : 0), cellLeft(c), cellTop(r));
    };
    for (int r = 1; r <= 10; ++r) {
        if (w <= 10) light(w, r, false);
        if (w >= 2 && w <= 11) light(w - 1, r, true);
        if (w >= 3 && w <= 12) light(w - 2, r, false);
        if (w >= 4 && w <= 13) {
            int k = cellAt(columnX(w - 3), rowY(r));
            if (k != kEmpty) surface().drawFrame(Blockimage, k, cellLeft(w - 3), cellTop(r));
        }
    }
    ++waveColumn;
    if (waveColumn > 13) {
        waveColumn = 1;
        wavetimer.setEnabled(false);
    }
}

}  // namespace lumcrest
