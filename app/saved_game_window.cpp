// The window's side of the saved game: the bar in flight comes from Timer1, and the captions
// show what was read.
#include "app/form.h"
#include "store/saved_game.h"

namespace lumcrest {

void TForm1::writeSavedGame() {
    saveGame(profile_, *this, Timer1.enabled());
}

void TForm1::writeSavedGameKeys() {
    saveGameKeys(profile_, *this, Timer1.enabled());
}

int TForm1::storedCell(int c, int r) const {
    return savedCell(*this, Timer1.enabled(), c, r);
}

void TForm1::readSavedGame() {
    loadGame(profile_, *this);
    lblstage.setCaption(std::to_string(Stage));
    Label1.setCaption(std::to_string(Score));
}

}  // namespace lumcrest
