// The table of the ten best scores and how a finished game's score goes into it.
#pragma once

#include <array>
#include <string>

namespace lumcrest {

struct ScoreLine {
    std::string name;
    int score = 0;
};

// Lines 1..10, best first; entry 0 is unused.
using ScoreTable = std::array<ScoreLine, 11>;
// The insertion's working list: the ten lines and the candidate, entries 1..11.
using ScoreWorkingList = std::array<ScoreLine, 12>;

// Puts CANDIDATE below the ten lines of TABLE and sorts the eleven by passes of neighbour swaps
// until one swaps nothing. Equal scores never swap, so the candidate ends below every line that
// scored as much. Entry 11 of the result is the line that drops out.
ScoreWorkingList sortIntoTable(const ScoreTable& table, const ScoreLine& candidate);

// The first ten lines of the working list.
ScoreTable topTen(const ScoreWorkingList& list);

}  // namespace lumcrest
