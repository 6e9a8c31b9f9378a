// The saved game: 102 integer keys in four sections of the settings file, written at close and
// read back by the next start.
#include "store/saved_game.h"

#include "game/saturate.h"
#include "store/settings_schema.h"

namespace lumcrest {

namespace {

// The number of the cell in column C, row R among the board's keys: 10 (c - 1) + r.
int gemNumber(int c, int r) {
    return 10 * (c - 1) + r;
}

}  // namespace

void saveGame(Profile& profile, const GameState& s, bool barInFlight) {
    profile.beginBatch();
    try {
        saveGameKeys(profile, s, barInFlight);
    } catch (...) {
        profile.abandonBatch();
        throw;
    }
    profile.commitBatch();
}

void saveGameKeys(Profile& profile, const GameState& s, bool barInFlight) {
    using namespace setting;
    for (int k = 1; k <= 3; ++k) writeSetting(profile, kShape, s.Shape[k], k);
    for (int k = 1; k <= 3; ++k) writeSetting(profile, kNextShape, s.Nextshape[k], k);
    writeSetting(profile, kStage, s.Stage);
    writeSetting(profile, kGemsLeft, s.Gemsleft);
    writeSetting(profile, kScore, s.Score);
    writeSetting(profile, kBlocks, s.Blocks);
    writeSetting(profile, kBackground, s.Background);
    writeSetting(profile, kTotal, s.Total);
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r)
            writeSetting(profile, kGem, savedCell(s, barInFlight, c, r), gemNumber(c, r));
}

int savedCell(const GameState& s, bool barInFlight, int c, int r) {
    int x = columnX(c), y = rowY(r);
    if (barInFlight)
        for (int k = 1; k <= 3; ++k)
            if (s.shapeX[k] == x && s.shapeY[k] == y) return kEmpty;
    return s.cellAt(x, y);
}

void loadGame(const Profile& profile, GameState& s) {
    using namespace setting;
    for (int k = 1; k <= 3; ++k) s.Shape[k] = readSetting(profile, kShape, k);
    for (int k = 1; k <= 3; ++k) s.Nextshape[k] = readSetting(profile, kNextShape, k);
    s.Stage = readSetting(profile, kStage);
    s.Gemsleft = readSetting(profile, kGemsLeft);
    s.Score = readSetting(profile, kScore);
    s.Blocks = readSetting(profile, kBlocks);
    s.Background = readSetting(profile, kBackground);
    s.Total = readSetting(profile, kTotal);
    // A stage finished just before the close leaves no gems to divide by; the step is unused then.
    s.fillStep = s.Gemsleft != 0 ? fillStepFor(s.Total, s.Gemsleft) : 0;
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r)
            s.cell(columnX(c), rowY(r)) = readSetting(profile, kGem, gemNumber(c, r));
}

}  // namespace lumcrest
