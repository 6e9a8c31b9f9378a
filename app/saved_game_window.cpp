// The window's side of the saved game: the bar in flight comes from the phase of play, and the
// captions show what was read.
#include "app/form.h"
#include "store/saved_game.h"
#include "toolkit/error.h"

namespace lumcrest {

void TForm1::writeSavedGame() {
    try {
        saveGame(profile_, play, session.barInFlight());
    } catch (const tk::Error& e) {
        // The close goes ahead: the player hears why, and that this game is gone.
        throw tk::Error(std::string(e.what()) + ". " +
                        tk::tr("The game in progress was not saved."));
    }
}

void TForm1::writeSavedGameKeys() {
    saveGameKeys(profile_, play, session.barInFlight());
}

int TForm1::storedCell(int c, int r) const {
    return savedCell(play, session.barInFlight(), c, r);
}

void TForm1::readSavedGame() {
    loadGame(profile_, play);
    lblstage.setCaption(std::to_string(play.Stage));
    Label1.setCaption(std::to_string(play.Score));
}

}  // namespace lumcrest
