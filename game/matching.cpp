// Which gems go: runs of three in eight directions, 2 x 2 squares, jokers that fit every kind
// and bombs that take a whole kind off the board. Then the clearing pass that scores them.
#include "game/matching.h"

#include <algorithm>

#include "game/saturate.h"

namespace lumcrest {

namespace {

// Kinds above this are never looked for: an edited Blocks of millions must not make every scan
// take minutes. No real stage comes near it.
constexpr int kMaxScannedKinds = 99;

struct Step {
    int dx, dy;
};
// Right, up, down, left, then the four diagonals. Every run is found from both of its ends.
// clang-format off
constexpr Step kDirections[8] = {{1, 0},  {0, 1},  {0, -1}, {-1, 0},
                                 {1, 1},  {-1, -1}, {1, -1}, {-1, 1}};
// clang-format on

bool inPlay(int x, int y) {
    return x >= kFirstX && x <= kLastX && y >= kFirstY && y <= kLastY;
}

}  // namespace

bool bombMarked(const GameState& s) {
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y)
            if (s.marks[gridIndex(x, y)] && s.board[gridIndex(x, y)] == kBomb) return true;
    return false;
}

void markGroups(GameState& s) {
    // Cells beyond the well never match, whatever they hold.
    auto value = [&](int x, int y) { return inPlay(x, y) ? s.board[gridIndex(x, y)] : kEmpty; };
    auto fitsRun = [&](int v, int k) { return v == k || v == kJoker; };
    auto fitsBomb = [&](int v, int k) { return v == k || v == kJoker || v == kBomb; };
    auto mark = [&](int x, int y) { s.marks[gridIndex(x, y)] = 1; };
    auto fireBomb = [&](int k) {
        s.bombFired = true;
        for (int x = kFirstX; x <= kLastX; ++x)
            for (int y = kFirstY; y <= kLastY; ++y)
                if (fitsBomb(s.board[gridIndex(x, y)], k)) mark(x, y);
        s.matchFound = true;
    };
    const int kinds = std::min(s.Blocks, kMaxScannedKinds);

    for (int x = kFirstX; x <= kLastX; ++x) {
        for (int y = kFirstY; y <= kLastY; ++y) {
            s.bombFired = false;
            const int v0 = value(x, y);
            const int square[4] = {v0, value(x + 1, y), value(x + 1, y + 1), value(x, y + 1)};
            auto window = [&](const Step& d, int i) { return value(x + i * d.dx, y + i * d.dy); };

            // Bombs: a group that holds a bomb and is otherwise one kind (or jokers). At one
            // scan cell only the lowest such kind is bombed.
            for (int k = 1; k <= kinds; ++k) {
                if (std::all_of(square, square + 4, [&](int v) { return fitsBomb(v, k); }) &&
                    !s.bombFired && std::find(square, square + 4, kBomb) != square + 4)
                    fireBomb(k);
                if (!fitsBomb(v0, k)) continue;
                for (const Step& d : kDirections) {
                    const int v1 = window(d, 1), v2 = window(d, 2);
                    if (fitsBomb(v1, k) && fitsBomb(v2, k) && !s.bombFired &&
                        (v0 == kBomb || v1 == kBomb || v2 == kBomb))
                        fireBomb(k);
                }
            }
            // Squares of one kind.
            for (int k = 1; k <= kinds; ++k) {
                if (std::all_of(square, square + 4, [&](int v) { return fitsRun(v, k); })) {
                    mark(x, y);
                    mark(x + 1, y);
                    mark(x + 1, y + 1);
                    mark(x, y + 1);
                    s.matchFound = true;
                }
            }
            // Runs of three.
            for (int k = 1; k <= kinds; ++k) {
                if (!fitsRun(v0, k)) continue;
                for (const Step& d : kDirections) {
                    if (fitsRun(window(d, 1), k) && fitsRun(window(d, 2), k)) {
                        for (int i = 0; i < 3; ++i) mark(x + i * d.dx, y + i * d.dy);
                        s.matchFound = true;
                    }
                }
            }
        }
    }
}

void clearMarkedGems(GameState& s) {
    // With no gems left to count the bar no longer grows, so the step keeps its old value.
    if (s.Gemsleft != 0) s.fillStep = fillStepFor(s.Total, s.Gemsleft);
    const long long perGem = 20LL * s.Blocks - 100;
    for (int x = kFirstX; x <= kLastX; ++x) {
        for (int y = kFirstY; y <= kLastY; ++y) {
            const int i = gridIndex(x, y);
            if (!s.marks[i] || s.board[i] == kWall) continue;
            if (s.Gemsleft > 0) addSaturated(s.Total, s.fillStep);
            addSaturated(s.Gemsleft, -1);
            addSaturated(s.chainCleared, 1);
            addSaturated(s.landingPoints, perGem);
            s.board[i] = kEmpty;
        }
    }
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) s.marks[gridIndex(x, y)] = 0;
}

int chooseBlastStyle(Random& rng) {
    if (rng.below(100) > 65) return 0;
    return rng.below(100) > 45 ? 1 : 2;
}

}  // namespace lumcrest
