// The menu's handlers: the pictures are the menu part's (ui/menu_panel.h); what a button does,
// at its release (the three switches at the press), is the window's. The help panels close here
// too.
#include <exception>

#include "app/about_box.h"
#include "app/form.h"
#include "assets/catalogue.h"
#include "store/settings_schema.h"

namespace lumcrest {

void TForm1::MenuimageMouseMove(int, int) {
    menu.leaveAll();
}

// --- New / Play ---------------------------------------------------------------------------

void TForm1::NewbuttonMouseMove(int, int) {
    menu.hover(MenuButton::New);
}

void TForm1::NewbuttonMouseDown(tk::MouseButton, int, int) {
    // The new game is set up at the press, behind the menu that still shows.
    menu.showPressed(MenuButton::New);
    fieldView.decodePlayPictures();
    newGame();
    drawBoard();
}

void TForm1::NewbuttonMouseUp(tk::MouseButton, int, int) {
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

// --- High scores --------------------------------------------------------------------------

void TForm1::ScorebuttonMouseMove(int, int) {
    menu.hover(MenuButton::Scores);
}

void TForm1::ScorebuttonMouseDown(tk::MouseButton, int, int) {
    menu.showPressed(MenuButton::Scores);
}

void TForm1::ScorebuttonMouseUp(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    scorePanel.showPage(0);
    Scorepanel.show();
}

// --- The two switches -----------------------------------------------------------------------

void TForm1::MusicbuttonMouseMove(int, int) {
    menu.hover(MenuButton::Music);
}

void TForm1::MusicbuttonMouseDown(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    if (settings.musicOn == 1) {
        settings.musicOn = 0;
        stopMusic();
        menu.showSwitch(MenuButton::Music);
        MusicTimer.setEnabled(false);
    } else {
        // On first, so that the track change acts; the switch lives in the menu, so the menu track.
        settings.musicOn = 1;
        switchTrack(kMenuTrack, kMenuTrackRestartMs);
        menu.showSwitch(MenuButton::Music);
        MusicTimer.setEnabled(true);
    }
    writeSettingBool(profile(), setting::kMusic, settings.musicOn != 0);
}

void TForm1::SoundbuttonMouseMove(int, int) {
    menu.hover(MenuButton::Sound);
}

void TForm1::SoundbuttonMouseDown(tk::MouseButton, int, int) {
    // The click follows the switch as it was: turning sound off clicks, turning it on does not.
    playEffect(asset::kClick.file);
    settings.soundOn = settings.soundOn ? 0 : 1;
    menu.showSwitch(MenuButton::Sound);
    writeSettingBool(profile(), setting::kSound, settings.soundOn != 0);
}

// --- Calm mode ------------------------------------------------------------------------------

void TForm1::CalmbuttonMouseMove(int, int) {
    menu.hover(MenuButton::Calm);
}

void TForm1::CalmbuttonMouseDown(tk::MouseButton, int, int) {
    // Acts at the press, as the other switches do; the next flash or explosion is drawn softened.
    playEffect(asset::kClick.file);
    settings.calmMode = settings.calmMode ? 0 : 1;
    menu.showSwitch(MenuButton::Calm);
    writeSettingBool(profile(), setting::kCalm, settings.calmMode != 0);
}

void TForm1::toggleCalmMode() {
    CalmbuttonMouseDown(tk::MouseButton::Left, 0, 0);
    menu.restCalmUnlessLit();
}

// --- Help and About -----------------------------------------------------------------------

void TForm1::HelpbuttonMouseMove(int, int) {
    menu.hover(MenuButton::Help);
}

void TForm1::HelpbuttonMouseDown(tk::MouseButton, int, int) {
    menu.showPressed(MenuButton::Help);
}

void TForm1::HelpbuttonMouseUp(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    helppanel.show();
    setFocus(&dxButton4);
}

void TForm1::AboutbuttonMouseMove(int, int) {
    menu.hover(MenuButton::About);
}

void TForm1::AboutbuttonMouseDown(tk::MouseButton, int, int) {
    menu.showPressed(MenuButton::About);
}

void TForm1::AboutbuttonMouseUp(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    // Modal: the main window takes no input until the dialog closes, its timers go on.
    // The menu behind it stands under the dialogs' veil while it is open.
    if (!aboutBox_) return;
    aboutBox_->showModalBox([this] { menuVeil.hold(false); });
    menuVeil.hold(true);
}

void TForm1::dxButton4Click() {
    playEffect(asset::kMenuOver.file);
    helppanel.hide();
}

void TForm1::helpbutton2Click() {
    playEffect(asset::kMenuOver.file);
    helppanel2.hide();
}

// --- Back to the game ---------------------------------------------------------------------

void TForm1::BackbuttonMouseMove(int, int) {
    menu.hover(MenuButton::Back);
}

void TForm1::BackbuttonMouseDown(tk::MouseButton, int, int) {
    // There is no game to go back to before the first one has begun.
    if (settings.firstRun == 1) return;
    menu.showPressed(MenuButton::Back);
}

void TForm1::BackbuttonMouseUp(tk::MouseButton, int, int) {
    if (settings.firstRun == 1) return;
    Menupanel.hide();
    switchTrack(kGameTrack, kGameTrackRestartMs);
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
