// Which gems go: runs of three in eight directions, 2 x 2 squares, jokers that fit every kind
// and bombs that take a whole kind off the board. Then the clearing pass that scores them.
#include <algorithm>

#include "../app/form.h"
#include "saturate.h"

namespace lumcrest {

namespace {

// Kinds above this are never looked for: an edited Blocks of millions must not make every scan
// take minutes. No real stage comes near it.
constexpr int kMaxScannedKinds = 99;

struct Step {
    int dx, dy;
};
// Right, up, down, left, then the four diagonals. Every run is found from both of its ends.
constexpr Step kDirections[8] = {{1, 0},  {0, 1},  {0, -1}, {-1, 0},
                                 {1, 1},  {-1, -1}, {1, -1}, {-1, 1}};

bool inPlay(int x, int y) { return x >= kFirstX && x <= kLastX && y >= kFirstY && y <= kLastY; }

}  // namespace

void TForm1::findMatches() {
    // Cells beyond the well never match, whatever they hold.
    auto value = [&](int x, int y) { return inPlay(x, y) ? board[gridIndex(x, y)] : kEmpty; };
    auto fitsRun = [&](int v, int k) { return v == k || v == kJoker; };
    auto fitsBomb = [&](int v, int k) { return v == k || v == kJoker || v == kBomb; };
    auto mark = [&](int x, int y) { marks[gridIndex(x, y)] = 1; };
    auto fireBomb = [&](int k) {
        bombFired = true;
        for (int x = kFirstX; x <= kLastX; ++x)
            for (int y = kFirstY; y <= kLastY; ++y)
                if (fitsBomb(board[gridIndex(x, y)], k)) mark(x, y);
        matchFound = true;
    };
    const int kinds = std::min(Blocks, kMaxScannedKinds);

    for (int x = kFirstX; x <= kLastX; ++x) {
        for (int y = kFirstY; y <= kLastY; ++y) {
            bombFired = false;
            const int v0 = value(x, y);
            const int square[4] = {v0, value(x + 1, y), value(x + 1, y + 1), value(x, y + 1)};
            auto window = [&](const Step& d, int i) { return value(x + i * d.dx, y + i * d.dy); };

            // Bombs: a group that holds a bomb and is otherwise one kind (or jokers). At one
            // scan cell only the lowest such kind is bombed.
            for (int k = 1; k <= kinds; ++k) {
                if (std::all_of(square, square + 4, [&](int v) { return fitsBomb(v, k); }) &&
                    !bombFired && std::find(square, square + 4, kBomb) != square + 4)
                    fireBomb(k);
                if (!fitsBomb(v0, k)) continue;
                for (const Step& d : kDirections) {
                    const int v1 = window(d, 1), v2 = window(d, 2);
                    if (fitsBomb(v1, k) && fitsBomb(v2, k) && !bombFired &&
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
                    matchFound = true;
                }
            }
            // Runs of three.
            for (int k = 1; k <= kinds; ++k) {
                if (!fitsRun(v0, k)) continue;
                for (const Step& d : kDirections) {
                    if (fitsRun(window(d, 1), k) && fitsRun(window(d, 2), k)) {
                        for (int i = 0; i < 3; ++i) mark(x + i * d.dx, y + i * d.dy);
                        matchFound = true;
                    }
                }
            }
        }
    }
}

void TForm1::clearMatched() {
    // With no gems left to count the bar no longer grows, so the step keeps its old value.
    if (Gemsleft != 0) fillStep = fillStepFor(Total, Gemsleft);
    const long long perGem = 20LL * Blocks - 100;
    for (int x = kFirstX; x <= kLastX; ++x) {
        for (int y = kFirstY; y <= kLastY; ++y) {
            const int i = gridIndex(x, y);
            if (!marks[i] || board[i] == kWall) continue;
            if (Gemsleft > 0) addSaturated(Total, fillStep);
            addSaturated(Gemsleft, -1);
            addSaturated(chainCleared, 1);
            addSaturated(landingPoints, perGem);
            board[i] = kEmpty;
        }
    }
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) marks[gridIndex(x, y)] = 0;
}

}  // namespace lumcrest
