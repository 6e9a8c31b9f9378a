// What the menu's buttons do beyond their pictures (those, and the switches' turn, are the menu
// part's, ui/menu_panel.h): New Game sets up a game at the press, the others act at the release;
// a switch's new state goes into the settings file. The help panels close here too.
#include <exception>

#include "app/about_box.h"
#include "app/form.h"
#include "assets/catalogue.h"
#include "store/settings_schema.h"

namespace lumcrest {

void TForm1::bindMenu() {
    Menuimage.onMouseMove = [this](int, int) { menu.leaveAll(); };
    menu.onSwitched = [this](MenuButton b) { menuSwitched(b); };
    menu.setActions(MenuButton::New, {[this] {
                                          // The new game is set up at the press, behind the
                                          // menu that still shows.
                                          fieldView.decodePlayPictures();
                                          newGame();
                                          drawBoard();
                                      },
                                      [this] { startGameFromMenu(); }});
    menu.setActions(MenuButton::Scores, {nullptr, [this] {
                                             playEffect(asset::kClick.file);
                                             scorePanel.showPage(0);
                                             Scorepanel.show();
                                         }});
    menu.setActions(MenuButton::Help, {nullptr, [this] {
                                           playEffect(asset::kClick.file);
                                           helppanel.show();
                                           setFocus(&dxButton4);
                                       }});
    menu.setActions(MenuButton::About,
                    {nullptr, [this] {
                         playEffect(asset::kClick.file);
                         // Modal: the main window takes no input until the
                         // dialog closes, its timers go on. The menu
                         // behind it stands under the dialogs' veil.
                         if (!aboutBox_) return;
                         aboutBox_->showModalBox([this] { menuVeil.hold(false); });
                         menuVeil.hold(true);
                     }});
    menu.setActions(MenuButton::Back, {nullptr, [this] {
                                           Menupanel.hide();
                                           switchTrack(kGameTrack, kGameTrackRestartMs);
                                       }});
}

void TForm1::startGameFromMenu() {
    playEffect(asset::kClick.file);
    Menupanel.hide();
    menu.showNewGameAtRest();
    helppanel2.setVisible(settings.firstRun == 1);
    // The game begins even when the file cannot take the news: its refusal is told after.
    std::exception_ptr refused;
    if (settings.firstRun == 1) {
        settings.firstRun = 0;
        try {
            writeSettingBool(profile(), setting::kFirst, false);
        } catch (...) {
            refused = std::current_exception();
        }
    }
    switchTrack(kGameTrack, kGameTrackRestartMs);
    if (refused) std::rethrow_exception(refused);
}

void TForm1::menuSwitched(MenuButton button) {
    const MenuButtonRow& row = menuRow(button);
    if (button == MenuButton::Music) {
        // The switch lives in the menu, so the menu's track.
        if (settings.musicOn)
            switchTrack(kMenuTrack, kMenuTrackRestartMs);
        else
            stopMusic();
        MusicTimer.setEnabled(settings.musicOn != 0);
    }
    // Calm mode needs nothing more: the next flash or explosion is drawn softened.
    writeSettingBool(profile(), *row.key, settings.*row.setting != 0);
}

void TForm1::toggleCalmMode() {
    menu.press(MenuButton::Calm);
    menu.restUnlessLit(MenuButton::Calm);
}

// --- The help panels ----------------------------------------------------------------------

void TForm1::dxButton4Click() {
    playEffect(asset::kMenuOver.file);
    helppanel.hide();
}

void TForm1::helpbutton2Click() {
    playEffect(asset::kMenuOver.file);
    helppanel2.hide();
}

// --- The greeting's link and the logo -------------------------------------------------------

void TForm1::changebtnClick() {
    overpanel.show();
    setFocus(&Playersname);
    if (padLastInput) showLetterBoard();
}

void TForm1::Image5Click() {
    app().backend().openUrl(env_.webAddress);
}

}  // namespace lumcrest
