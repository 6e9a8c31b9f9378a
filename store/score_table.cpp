#include "store/score_table.h"

#include <string>

namespace lumcrest {

namespace {

std::string sectionOf(int line) {
    return "Scoreline" + std::to_string(line);
}

}  // namespace

ScoreTable readScoreTable(const Profile& profile) {
    ScoreTable table;
    for (int k = 1; k <= 10; ++k) {
        table[k].name = profile.readString(sectionOf(k), "Name", "Tivane");
        table[k].score = profile.readInteger(sectionOf(k), "Score", 10000 - 1000 * (k - 1));
    }
    return table;
}

void writeScoreTable(Profile& profile, const ScoreTable& table) {
    for (int k = 1; k <= 10; ++k) {
        profile.writeString(sectionOf(k), "Name", table[k].name);
        profile.writeInteger(sectionOf(k), "Score", table[k].score);
    }
}

}  // namespace lumcrest
