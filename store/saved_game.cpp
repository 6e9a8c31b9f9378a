// The saved game: 102 integer keys in four sections of the settings file, written at close and
// read back by the next start.
#include "store/saved_game.h"

#include "game/saturate.h"

namespace lumcrest {

namespace {

// The key of the cell in column C, row R: "Gem" and 10 (c - 1) + r.
std::string gemKey(int c, int r) {
    return "Gem" + std::to_string(10 * (c - 1) + r);
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
    for (int k = 1; k <= 3; ++k)
        profile.writeInteger("Gemshape", "Shape" + std::to_string(k), s.Shape[k]);
    for (int k = 1; k <= 3; ++k)
        profile.writeInteger("Nextgemshape", "Nextshape" + std::to_string(k), s.Nextshape[k]);
    profile.writeInteger("Techinfo", "Stage", s.Stage);
    profile.writeInteger("Techinfo", "Gemsleft", s.Gemsleft);
    profile.writeInteger("Techinfo", "Score", s.Score);
    profile.writeInteger("Techinfo", "Blocks", s.Blocks);
    profile.writeInteger("Techinfo", "Background", s.Background);
    profile.writeInteger("Techinfo", "Total", s.Total);
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r)
            profile.writeInteger("Gembox", gemKey(c, r), savedCell(s, barInFlight, c, r));
}

int savedCell(const GameState& s, bool barInFlight, int c, int r) {
    int x = columnX(c), y = rowY(r);
    if (barInFlight)
        for (int k = 1; k <= 3; ++k)
            if (s.shapeX[k] == x && s.shapeY[k] == y) return kEmpty;
    return s.cellAt(x, y);
}

void loadGame(const Profile& profile, GameState& s) {
    for (int k = 1; k <= 3; ++k)
        s.Shape[k] = profile.readInteger("Gemshape", "Shape" + std::to_string(k), 0);
    for (int k = 1; k <= 3; ++k)
        s.Nextshape[k] = profile.readInteger("Nextgemshape", "Nextshape" + std::to_string(k), 0);
    s.Stage = profile.readInteger("Techinfo", "Stage", 1);
    s.Gemsleft = profile.readInteger("Techinfo", "Gemsleft", 20);
    s.Score = profile.readInteger("Techinfo", "Score", 0);
    s.Blocks = profile.readInteger("Techinfo", "Blocks", 6);
    s.Background = profile.readInteger("Techinfo", "Background", 0);
    s.Total = profile.readInteger("Techinfo", "Total", 0);
    // A stage finished just before the close leaves no gems to divide by; the step is unused then.
    s.fillStep = s.Gemsleft != 0 ? fillStepFor(s.Total, s.Gemsleft) : 0;
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r)
            s.cell(columnX(c), rowY(r)) = profile.readInteger("Gembox", gemKey(c, r), 0);
}

}  // namespace lumcrest
