// The welcome panel that takes the player's name: from the keyboard, or from a controller through
// the letter board (ui/name_pad.h).
#include "app/form.h"
#include "assets/catalogue.h"
#include "store/settings_schema.h"
#include "ui/name_pad.h"

namespace lumcrest {

void TForm1::confirmName() {
    playEffect(asset::kMenuOver.file);
    letterboard.hide();
    overpanel.hide();
    crestimage.hide();
    if (!welcomelbl.visible()) welcomelbl.show();
    if (!clickhere.visible()) clickhere.show();
    // The name is known now; the Play button still reads Play until the first game begins.
    // The game takes it first: a file that cannot take it does not take it from the game.
    if (Playersname.text().empty()) Playersname.setText("Player");
    settings.playerName = Playersname.text();
    namelabel.setCaption(settings.playerName);
    // Both keys reach the file in one replacement: a crash never keeps one without the other.
    Profile::Batch batch(profile());
    writeSettingBool(profile(), setting::kFirst, false);
    writeSettingText(profile(), setting::kName, settings.playerName);
    batch.commit();
}

void TForm1::dxButton3Click() {
    confirmName();
}

void TForm1::inputSourceChanged(tk::InputSource source) {
    padLastInput = source == tk::InputSource::Pad;
    if (!padLastInput && letterboard.visible()) letterboard.hide();
}

void TForm1::showLetterBoard() {
    showBoardUnderName(letterboard, Playersname);
}

void TForm1::namePadButton(tk::PadButton b) {
    if (padOnNamePanel(letterboard, Playersname, b)) confirmName();
}

}  // namespace lumcrest
