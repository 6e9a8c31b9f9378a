// The player's bar: shifting, rotating, the flight, the next bar, the loss tests and the
// starting row at the top of the well.
#include <climits>

#include "game/bar_rules.h"
#include "game/matching.h"

namespace lumcrest {

int randomKind(Random& rng, int blocks) {
    return rng.below(blocks) + 1;
}

void drawOrdinaryBar(Random& rng, int blocks, int* bar) {
    // With fewer than two kinds three equal gems cannot be avoided; take what comes.
    do {
        for (int k = 1; k <= 3; ++k) bar[k] = randomKind(rng, blocks);
    } while (blocks >= 2 && bar[1] == bar[2] && bar[2] == bar[3]);
}

void placeBarHome(GameState& s) {
    for (int k = 1; k <= 3; ++k) {
        s.shapeX[k] = kHomeX1 + k - 1;
        s.shapeY[k] = kLaunchY;
        s.cell(s.shapeX[k], kLaunchY) = s.Shape[k];
    }
}

bool barAtSide(const GameState& s, int dx) {
    return dx < 0 ? s.shapeX[1] <= kFirstX : s.shapeX[3] >= kLastX;
}

void shiftBar(GameState& s, int dx) {
    // The gem that leads the move looks at the cell beside it; the trailing one leaves its cell.
    const int lead = dx < 0 ? 1 : 3, trail = dx < 0 ? 3 : 1;
    if (s.cellAt(s.shapeX[lead] + dx, s.shapeY[lead]) != kEmpty) return;
    s.shapeMoved = true;
    s.cell(s.shapeX[trail], s.shapeY[trail]) = kEmpty;
    for (int k = 1; k <= 3; ++k) {
        s.shapeX[k] += dx;
        s.cell(s.shapeX[k], s.shapeY[k]) = s.Shape[k];
    }
}

void rotateBar(GameState& s) {
    s.shapeMoved = true;
    const int first = s.Shape[1];
    s.Shape[1] = s.Shape[2];
    s.Shape[2] = s.Shape[3];
    s.Shape[3] = first;
    for (int k = 1; k <= 3; ++k) s.cell(s.shapeX[k], s.shapeY[k]) = s.Shape[k];
}

Flight riseBar(GameState& s) {
    s.settleSteps = 0;
    s.chainCleared = 0;
    s.landedCount = 0;
    s.gameOver = false;

    // A gem of the bar right under the stack: no room left to play.
    for (int x = kFirstX; x <= kLastX; ++x)
        if (s.board[gridIndex(x, kLaunchY)] != kEmpty &&
            s.board[gridIndex(x, kLaunchY + 1)] != kEmpty) {
            s.gameOver = true;
            return Flight::Blocked;
        }

    // The wall row stops the top ones.
    for (int k = 1; k <= 3; ++k) {
        const int x = s.shapeX[k], y = s.shapeY[k];
        const int above = inGrid(x, y) && inGrid(x, y + 1) ? s.board[gridIndex(x, y + 1)] : kWall;
        if (above != kEmpty) {
            ++s.landedCount;
        } else {
            s.cell(x, y) = kEmpty;
            s.shapeY[k] = y + 1;
            s.cell(x, y + 1) = s.Shape[k];
        }
    }

    s.matchFound = false;
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) s.marks[gridIndex(x, y)] = 0;
    s.landingPoints = 0;

    if (s.landedCount != 3) return Flight::Rising;
    markGroups(s);
    return Flight::Landed;
}

int gemsOnBoard(const GameState& s) {
    int n = 0;
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y)
            if (s.board[gridIndex(x, y)] != kEmpty) ++n;
    return n;
}

void drawNextBar(GameState& s, Random& rng) {
    for (int k = 1; k <= 3; ++k) s.Shape[k] = s.Nextshape[k];
    do {
        for (int k = 1; k <= 3; ++k) s.Nextshape[k] = randomKind(rng, s.Blocks);
        // Jokers from stage 2 on; the number is drawn at every stage.
        const int r = rng.below(100);
        if (r > 85 && s.Stage > 1) s.Nextshape[3] = kJoker;
        s.gemCount = gemsOnBoard(s);
        // Bombs from stage 3 on, only on a crowded board and never twice running.
        bool bomb = false;
        if (s.Stage > 2) {
            const int n = rng.below(100);
            bomb = n > 95 && (long long)s.bombThreshold + 30 < s.gemCount && !s.bombLast;
        }
        if (bomb) {
            s.bombLast = true;
            s.Nextshape[3] = kBomb;
            s.bombThreshold = 15;
        } else {
            s.bombLast = false;
        }
    } while (s.Blocks >= 2 && s.Nextshape[1] == s.Nextshape[2] && s.Nextshape[2] == s.Nextshape[3]);
    placeBarHome(s);
}

bool noRoomToLaunch(const GameState& s) {
    // The next bar needs three adjacent free cells in row 2 to be launched at all.
    const int y = kLaunchY + 1;
    for (int x = kFirstX; x + 2 <= kLastX; ++x)
        if (s.board[gridIndex(x, y)] == kEmpty && s.board[gridIndex(x + 1, y)] == kEmpty &&
            s.board[gridIndex(x + 2, y)] == kEmpty)
            return false;
    return true;
}

void fillStartRow(GameState& s, Random& rng) {
    // Gaps are value 0, so a cell is drawn from 0..Blocks.
    const int range = s.Blocks < INT_MAX ? s.Blocks + 1 : s.Blocks;
    auto draw = [&] { return rng.below(range); };
    // With a single possible value (no kind at all) the middle gem cannot differ from both
    // neighbours; with an edited number of kinds in the millions a gap almost never comes. Either
    // way the row is taken as drawn rather than drawn for ever: whenever two values are possible
    // the rule is met within a few draws.
    constexpr int kMaxDraws = 1000;
    const bool choosy = range >= 2;
    int* k = s.Shape;  // k[1..10]
    for (int first = 1; first <= 7; first += 3) {
        const bool needGap = first < 7;
        for (int attempt = 0; attempt < kMaxDraws; ++attempt) {
            for (int i = first; i < first + 3; ++i) k[i] = draw();
            const bool middleDiffers = k[first + 1] != k[first] && k[first + 1] != k[first + 2];
            const bool hasGap = k[first] == 0 || k[first + 1] == 0 || k[first + 2] == 0;
            if (!choosy || (middleDiffers && (hasGap || !needGap))) break;
        }
    }
    k[10] = randomKind(rng, s.Blocks);
    for (int i = 1; i <= 10; ++i) {
        s.shapeX[i] = kFirstX + i - 1;
        s.shapeY[i] = kLastY;
        s.cell(s.shapeX[i], s.shapeY[i]) = k[i];
    }
}

}  // namespace lumcrest
