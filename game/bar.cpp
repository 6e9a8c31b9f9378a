// The player's bar: shifting, rotating, the launch and its flight, the next bar, the loss tests
// and the starting row at the top of the well.
#include <climits>

#include "../app/form.h"
#include "bar_rules.h"

namespace lumcrest {

int randomKind(Random& rng, int blocks) { return rng.below(blocks) + 1; }

void drawOrdinaryBar(Random& rng, int blocks, int* bar) {
    // With fewer than two kinds three equal gems cannot be avoided; take what comes.
    do {
        for (int k = 1; k <= 3; ++k) bar[k] = randomKind(rng, blocks);
    } while (blocks >= 2 && bar[1] == bar[2] && bar[2] == bar[3]);
}

void TForm1::shiftLeft() {
    if (Timer1.enabled() || shapeX[1] <= kFirstX || gameOver || Cycletimer.enabled()) return;
    // A gem in the way stops the bar, but the board is still redrawn.
    if (cellAt(shapeX[1] - 1, shapeY[1]) == kEmpty) {
        shapeMoved = true;
        cell(shapeX[3], shapeY[3]) = kEmpty;
        for (int k = 1; k <= 3; ++k) {
            --shapeX[k];
            cell(shapeX[k], shapeY[k]) = Shape[k];
        }
    }
    drawBoard();
}

void TForm1::shiftRight() {
    if (Timer1.enabled() || shapeX[3] >= kLastX || gameOver || Cycletimer.enabled()) return;
    if (cellAt(shapeX[3] + 1, shapeY[3]) == kEmpty) {
        shapeMoved = true;
        cell(shapeX[1], shapeY[1]) = kEmpty;
        for (int k = 1; k <= 3; ++k) {
            ++shapeX[k];
            cell(shapeX[k], shapeY[k]) = Shape[k];
        }
    }
    drawBoard();
}

void TForm1::rotateGems() {
    if (Timer1.enabled() || gameOver || Cycletimer.enabled()) return;
    shapeMoved = true;
    const int first = Shape[1];
    Shape[1] = Shape[2];
    Shape[2] = Shape[3];
    Shape[3] = first;
    for (int k = 1; k <= 3; ++k) cell(shapeX[k], shapeY[k]) = Shape[k];
    drawBoard();
}

void TForm1::launchBar() {
    if (Timer1.enabled() || gameOver || Animtimer.enabled() || Cycletimer.enabled()) return;
    Timer1.setEnabled(true);
}

void TForm1::Boxupdate() {
    settleSteps = 0;
    chainCleared = 0;
    // The sparkle draws over its gem; the launch repaints the gem before the sparkle is dropped.
    if (twinkleColumn >= 1 && twinkleColumn <= 10 && twinkleRow >= 1 && twinkleRow <= 10) {
        const int v = cellAt(columnX(twinkleColumn), rowY(twinkleRow));
        if (v > 0) surface().drawFrame(Blockimage, v, cellLeft(twinkleColumn), cellTop(twinkleRow));
    }
    landedCount = 0;
    gameOver = false;

    bool blocked = false;
    for (int x = kFirstX; x <= kLastX; ++x)
        if (board[gridIndex(x, kLaunchY)] != kEmpty && board[gridIndex(x, kLaunchY + 1)] != kEmpty)
            blocked = true;
    if (blocked) {
        // A gem of the bar sits right under the stack: no room left to play.
        gameOver = true;
        Timer1.setEnabled(false);
        playEffect("youlose.wav");
        cracktimer.setEnabled(true);
        twinklePhase = 0;
        return;
    }

    // Each gem rises on its own until something is above it; the wall row stops the top ones.
    for (int k = 1; k <= 3; ++k) {
        const int x = shapeX[k], y = shapeY[k];
        const int above = inGrid(x, y) && inGrid(x, y + 1) ? board[gridIndex(x, y + 1)] : kWall;
        if (above != kEmpty) {
            ++landedCount;
        } else {
            cell(x, y) = kEmpty;
            shapeY[k] = y + 1;
            cell(x, y + 1) = Shape[k];
        }
    }

    matchFound = false;
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) marks[gridIndex(x, y)] = 0;
    landingPoints = 0;

    const bool landed = landedCount == 3;
    if (landed) findMatches();
    if (landed && !matchFound) {
        playEffect("gemstouch.wav");
        spawnBar();
        checkLoss();
        if (gameOver) {
            // The new bar is not shown: the cracks take over the board.
            Timer1.setEnabled(false);
            twinklePhase = 0;
            return;
        }
    }
    drawBoard();
    if (landed) {
        Timer1.setEnabled(false);
        if (matchFound) {
            settleSkip = true;
            fillMark = Total;
            Atimer.setEnabled(false);
            vertimer.setEnabled(false);
            Cycletimer.setEnabled(true);
        }
    }
    twinklePhase = 0;
}

void TForm1::spawnBar() {
    for (int k = 1; k <= 3; ++k) Shape[k] = Nextshape[k];
    do {
        for (int k = 1; k <= 3; ++k) Nextshape[k] = randomKind(rng, Blocks);
        // Jokers from stage 2 on; the number is drawn at every stage.
        const int r = rng.below(100);
        if (r > 85 && Stage > 1) Nextshape[3] = kJoker;
        countGems();
        // Bombs from stage 3 on, only on a crowded board and never twice running.
        bool bomb = false;
        if (Stage > 2) {
            const int s = rng.below(100);
            bomb = s > 95 && (long long)bombThreshold + 30 < gemCount && !bombLast;
        }
        if (bomb) {
            bombLast = true;
            Nextshape[3] = kBomb;
            bombThreshold = 15;
        } else {
            bombLast = false;
        }
    } while (Blocks >= 2 && Nextshape[1] == Nextshape[2] && Nextshape[2] == Nextshape[3]);
    placeBarHome(*this);
}

void placeBarHome(TForm1& f) {
    for (int k = 1; k <= 3; ++k) {
        f.shapeX[k] = kHomeX1 + k - 1;
        f.shapeY[k] = kLaunchY;
        f.cell(f.shapeX[k], kLaunchY) = f.Shape[k];
    }
}

void TForm1::countGems() {
    gemCount = 0;
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y)
            if (board[gridIndex(x, y)] != kEmpty) ++gemCount;
}

void TForm1::checkLoss() {
    // The next bar needs three adjacent free cells in row 2 to be launched at all.
    const int y = kLaunchY + 1;
    for (int x = kFirstX; x + 2 <= kLastX; ++x)
        if (board[gridIndex(x, y)] == kEmpty && board[gridIndex(x + 1, y)] == kEmpty &&
            board[gridIndex(x + 2, y)] == kEmpty)
            return;
    gameOver = true;
    playEffect("youlose.wav");
    cracktimer.setEnabled(true);
}

void TForm1::makeStartRow() {
    // Gaps are value 0, so a cell is drawn from 0..Blocks.
    const int range = Blocks < INT_MAX ? Blocks + 1 : Blocks;
    auto draw = [&] { return rng.below(range); };
    // With a single possible value (no kind at all) the middle gem cannot differ from both
    // neighbours; with an edited number of kinds in the millions a gap almost never comes. Either
    // way the row is taken as drawn rather than drawn for ever: whenever two values are possible
    // the rule is met within a few draws.
    constexpr int kMaxDraws = 1000;
    const bool choosy = range >= 2;
    int* k = Shape;  // k[1..10]
    for (int first = 1; first <= 7; first += 3) {
        const bool needGap = first < 7;
        for (int attempt = 0; attempt < kMaxDraws; ++attempt) {
            for (int i = first; i < first + 3; ++i) k[i] = draw();
            const bool middleDiffers = k[first + 1] != k[first] && k[first + 1] != k[first + 2];
            const bool hasGap = k[first] == 0 || k[first + 1] == 0 || k[first + 2] == 0;
            if (!choosy || (middleDiffers && (hasGap || !needGap))) break;
        }
    }
    k[10] = randomKind(rng, Blocks);
    for (int i = 1; i <= 10; ++i) {
        shapeX[i] = kFirstX + i - 1;
        shapeY[i] = kLastY;
        cell(shapeX[i], shapeY[i]) = k[i];
    }
}

}  // namespace lumcrest
