// The high-score table in the settings file: sections "Scoreline1".."Scoreline10", each with its
// Name and Score.
#pragma once

#include "game/score_table.h"
#include "store/profile.h"

namespace lumcrest {

// The table as the file (or the batch in progress) has it; a missing name is "Tivane", a missing
// score that of a fresh table (10000 for line 1, 1000 less for each line below).
ScoreTable readScoreTable(const Profile& profile);
// Writes all twenty keys.
void writeScoreTable(Profile& profile, const ScoreTable& table);

}  // namespace lumcrest
