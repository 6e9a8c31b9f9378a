// A game state walled in as the window builds it at start-up, for tests of the rules alone.
#pragma once

#include <initializer_list>
#include <set>
#include <string>
#include <utility>

#include "game/game_state.h"
#include "game/random.h"
#include "game/walls.h"

namespace lumcrest::testing {

using Cells = std::set<std::pair<int, int>>;

struct Well {
    GameState s;
    Random rng;

    explicit Well(std::uint32_t seed = 7) {
        rng.seed(seed);
        buildWalls(s, Walls::Frame);
    }

    int at(int c, int r) const { return s.cellAt(columnX(c), rowY(r)); }
    void put(int c, int r, int v) { s.cell(columnX(c), rowY(r)) = v; }

    // Rows as written on paper, top row (10) first, one character a cell from column 1:
    // '.' empty, '1'..'9' a kind, 'J' joker, 'B' bomb. Every other play cell is emptied.
    void lay(std::initializer_list<const char*> rowsFromTop) {
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r) put(c, r, kEmpty);
        int r = 10;
        for (const char* row : rowsFromTop) {
            int c = 1;
            for (const char* p = row; *p && c <= 10; ++p, ++c)
                put(c, r, *p == '.' ? kEmpty : *p == 'J' ? kJoker : *p == 'B' ? kBomb : *p - '0');
            --r;
        }
    }
    // The column's cells from the top row down, in the notation of lay().
    std::string column(int c) const {
        std::string out;
        for (int r = 10; r >= 1; --r) {
            const int v = at(c, r);
            out += v == kEmpty ? '.' : v == kJoker ? 'J' : v == kBomb ? 'B' : char('0' + v);
        }
        return out;
    }
    Cells marked() const {
        Cells cells;
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r)
                if (s.marks[gridIndex(columnX(c), rowY(r))]) cells.emplace(c, r);
        return cells;
    }
    // Puts the waiting bar at columns c1..c1+2 of the launch row with kinds a, b, c.
    void bar(int c1, int a, int b, int c) {
        const int kinds[3] = {a, b, c};
        for (int k = 1; k <= 3; ++k) {
            s.Shape[k] = kinds[k - 1];
            s.shapeX[k] = columnX(c1 + k - 1);
            s.shapeY[k] = kLaunchY;
            put(c1 + k - 1, 1, s.Shape[k]);
        }
    }
};

}  // namespace lumcrest::testing
