// The saved game: 102 integer keys in four sections of the settings file, written at close and
// read back by the next start.
#include "../app/form.h"
#include "../game/saturate.h"

namespace lumcrest {

namespace {

// The key of the cell in column C, row R: "Gem" and 10 (c - 1) + r.
std::string gemKey(int c, int r) { return "Gem" + std::to_string(10 * (c - 1) + r); }

}  // namespace

void TForm1::writeSavedGame() {
    // All 102 keys replace the file at once, so a crash never leaves half a saved game.
    profile_.beginBatch();
    try {
        writeSavedGameKeys();
    } catch (...) {
        profile_.abandonBatch();
        throw;
    }
    profile_.commitBatch();
}

void TForm1::writeSavedGameKeys() {
    for (int k = 1; k <= 3; ++k) profile_.writeInteger("Gemshape", "Shape" + std::to_string(k), Shape[k]);
    for (int k = 1; k <= 3; ++k)
        profile_.writeInteger("Nextgemshape", "Nextshape" + std::to_string(k), Nextshape[k]);
    profile_.writeInteger("Techinfo", "Stage", Stage);
    profile_.writeInteger("Techinfo", "Gemsleft", Gemsleft);
    profile_.writeInteger("Techinfo", "Score", Score);
    profile_.writeInteger("Techinfo", "Blocks", Blocks);
    profile_.writeInteger("Techinfo", "Background", Background);
    profile_.writeInteger("Techinfo", "Total", Total);
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r)
            profile_.writeInteger("Gembox", gemKey(c, r), storedCell(c, r));
}

int TForm1::storedCell(int c, int r) const {
    int x = columnX(c), y = rowY(r);
    // A bar in flight is stored as if it still waited in the launch row: its kinds are in Shape
    // and the next start puts it there, so its gems must not stay on the board as well.
    if (Timer1.enabled())
        for (int k = 1; k <= 3; ++k)
            if (shapeX[k] == x && shapeY[k] == y) return kEmpty;
    return cellAt(x, y);
}

void TForm1::readSavedGame() {
    for (int k = 1; k <= 3; ++k) Shape[k] = profile_.readInteger("Gemshape", "Shape" + std::to_string(k), 0);
    for (int k = 1; k <= 3; ++k)
        Nextshape[k] = profile_.readInteger("Nextgemshape", "Nextshape" + std::to_string(k), 0);
    Stage = profile_.readInteger("Techinfo", "Stage", 1);
    Gemsleft = profile_.readInteger("Techinfo", "Gemsleft", 20);
    Score = profile_.readInteger("Techinfo", "Score", 0);
    Blocks = profile_.readInteger("Techinfo", "Blocks", 6);
    Background = profile_.readInteger("Techinfo", "Background", 0);
    Total = profile_.readInteger("Techinfo", "Total", 0);
    // A stage finished just before the close leaves no gems to divide by; the step is unused then.
    fillStep = Gemsleft != 0 ? fillStepFor(Total, Gemsleft) : 0;
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r)
            cell(columnX(c), rowY(r)) = profile_.readInteger("Gembox", gemKey(c, r), 0);
    lblstage.setCaption(std::to_string(Stage));
    Label1.setCaption(std::to_string(Score));
}

}  // namespace lumcrest
