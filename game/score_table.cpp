#include "game/score_table.h"

#include <utility>

namespace lumcrest {

ScoreWorkingList sortIntoTable(const ScoreTable& table, const ScoreLine& candidate) {
    ScoreWorkingList list;
    for (int k = 1; k <= 10; ++k) list[k] = table[k];
    list[11] = candidate;
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (int i = 1; i <= 10; ++i) {
            if (list[i].score < list[i + 1].score) {
                std::swap(list[i], list[i + 1]);
                swapped = true;
            }
        }
    }
    return list;
}

ScoreTable topTen(const ScoreWorkingList& list) {
    ScoreTable table;
    for (int k = 1; k <= 10; ++k) table[k] = list[k];
    return table;
}

}  // namespace lumcrest
