#include "store/score_table.h"

#include "store/settings_schema.h"

namespace lumcrest {

ScoreTable readScoreTable(const Profile& profile) {
    ScoreTable table;
    for (int k = 1; k <= 10; ++k) {
        table[k].name = readSettingText(profile, setting::kLineName, k);
        table[k].score = readSetting(profile, setting::kLineScore, k);
    }
    return table;
}

void writeScoreTable(Profile& profile, const ScoreTable& table) {
    for (int k = 1; k <= 10; ++k) {
        writeSettingText(profile, setting::kLineName, table[k].name, k);
        writeSetting(profile, setting::kLineScore, table[k].score, k);
    }
}

}  // namespace lumcrest
