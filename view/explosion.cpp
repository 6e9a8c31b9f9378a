// The explosion of cleared gems: a flash, four steps of a growing and fading burst, a last wisp,
// then the bare background. The stage-end explosion runs over the board as a wave from its
// middle, every cell ending on the same wisp, and ends by showing the new level.
#include <algorithm>
#include <cmath>

#include "game/matching.h"
#include "view/board_drawing.h"
#include "view/board_view.h"

namespace lumcrest {

namespace {

// The explosion timer's interval: the stage end's bursts keep pace with its wave.
constexpr int kBlastTickMs = 35;

}  // namespace

int stageEndWaveDelay(int c, int r) {
    const double dx = c - 5.5, dy = r - 5.5;
    return std::min(kBlastWispStep - 2, static_cast<int>(std::hypot(dx, dy) / 1.75));
}

int blastStepFrame(int style, int step) {
    if (step < 0) return -1;
    if (step >= kBlastWispStep) return frameIndex(32LL + style);
    return frameIndex(2 + 10LL * style + step);
}

BoardView::BlastTick BoardView::explosionTick(GameState& g, bool calm) {
    auto eachExploding = [&](auto&& paint) {
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r) {
                int& b = g.blastCells[gridIndex(columnX(c), rowY(r))];
                if (b != 0) paint(c, r, b);
            }
    };

    if (blastFrame >= 0 && blastFrame <= 4) {
        // The tick's step: the flash was drawn as the explosion started, step 0.
        const int step = blastFrame + 1;
        eachExploding([&](int c, int r, int& b) {
            const int delay = levelPending ? stageEndWaveDelay(c, r) : 0;
            const int own = step == kBlastWispStep ? step : step - delay;
            eraseCell(c, r);
            if (own < 0)  // the wave has not reached this cell yet: its gem still stands
                surface_.drawFrame(Blockimage, frameIndex(b), cellLeft(c), cellTop(r));
            else if (!effects)  // else the burst over the field shows the gem going
                surface_.drawFrame(burstFrames(calm), blastStepFrame(blastStyle, own), cellLeft(c),
                                   cellTop(r));
        });
        blastFrame = step;
        return BlastTick::Going;
    }
    eachExploding([&](int c, int r, int& b) {
        eraseCell(c, r);
        b = 0;
    });
    if (!levelPending) return BlastTick::Over;
    levelPending = false;
    return BlastTick::OverBeforeBanner;
}

void BoardView::startStageEndBurst(const GameState& g, Random& rng, bool calm) {
    levelPending = true;
    blastStyle = chooseBlastStyle(rng);
    // The wave starts in the board's middle; the cells further out keep their gems a while.
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r) {
            const int v = g.blastCells[gridIndex(columnX(c), rowY(r))];
            if (effects && v != 0)
                effects->burst(cellLeft(c) + kCellSize / 2, cellTop(r) + kCellSize / 2,
                               gemColour(v), kBlastTickMs * stageEndWaveDelay(c, r), calm, true);
            if (v != 0 && stageEndWaveDelay(c, r) == 0) {
                eraseCell(c, r);
                if (!effects)
                    surface_.drawFrame(burstFrames(calm), blastStepFrame(blastStyle, 0),
                                       cellLeft(c), cellTop(r));
            }
        }
    blastFrame = 0;
}

}  // namespace lumcrest
