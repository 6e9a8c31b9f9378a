// The menu's image buttons: a hover picture once per entry, a pressed picture, and the action at
// the release (the three switches act at the press).
#include "app/about_box.h"
#include "app/form.h"
#include "assets/catalogue.h"
#include "audio/track_names.h"
#include "store/settings_schema.h"
#include "ui/menu_pictures.h"

namespace lumcrest {

namespace {

// Shows the hover picture of a centre button once per entry, with its sound.
void rollOver(TForm1& f, tk::Picture& button, std::uint8_t& lit, const std::string& hover) {
    if (lit) return;
    button.loadFromFile(hover);
    lit = 1;
    f.playEffect(asset::kRollover.file);
}

}  // namespace

void TForm1::MenuimageMouseMove(int, int) {
    // Leaving the buttons over the backdrop puts every lit one back to rest.
    if (lights.newLit) {
        Newbutton.loadFromFile(newButtonPicture(settings.firstRun, ButtonLook::Rest));
        lights.newLit = 0;
    }
    if (lights.scoreLit) {
        Scorebutton.loadFromFile(buttonPicture(asset::kHighScoresButton, ButtonLook::Rest));
        lights.scoreLit = 0;
    }
    if (lights.musicLit) {
        Musicbutton.loadFromFile(
            switchPicture(asset::kMusicSwitch, settings.musicOn, ButtonLook::Rest));
        lights.musicLit = 0;
    }
    if (lights.soundLit) {
        Soundbutton.loadFromFile(
            switchPicture(asset::kSoundSwitch, settings.soundOn, ButtonLook::Rest));
        lights.soundLit = 0;
    }
    if (lights.helpLit) {
        Helpbutton.loadFromFile(buttonPicture(asset::kHelpButton, ButtonLook::Rest));
        lights.helpLit = 0;
    }
    if (lights.aboutLit) {
        Aboutbutton.loadFromFile(buttonPicture(asset::kAboutButton, ButtonLook::Rest));
        lights.aboutLit = 0;
    }
    if (lights.backLit) {
        Backbutton.loadFromFile(backPicture(BackLook::Rest));
        lights.backLit = 0;
    }
    if (lights.calmLit) {
        Calmbutton.loadFromFile(
            switchPicture(asset::kCalmSwitch, settings.calmMode, ButtonLook::Rest));
        lights.calmLit = 0;
    }
}

// --- New / Play ---------------------------------------------------------------------------

void TForm1::NewbuttonMouseMove(int, int) {
    rollOver(*this, Newbutton, lights.newLit,
             newButtonPicture(settings.firstRun, ButtonLook::Hover));
}

void TForm1::NewbuttonMouseDown(tk::MouseButton, int, int) {
    // The new game is set up at the press, behind the menu that still shows.
    Newbutton.loadFromFile(newButtonPicture(settings.firstRun, ButtonLook::Pressed));
    fieldView.decodePlayPictures();
    newGame();
    drawBoard();
}

void TForm1::NewbuttonMouseUp(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    Menupanel.hide();
    Newbutton.loadFromFile(buttonPicture(asset::kNewButton, ButtonLook::Rest));
    helppanel2.setVisible(settings.firstRun == 1);
    if (settings.firstRun == 1) {
        writeSettingBool(profile(), setting::kFirst, false);
        settings.firstRun = 0;
    }
    switchTrack(kGameTrack, kGameTrackRestartMs);
}

// --- High scores --------------------------------------------------------------------------

void TForm1::ScorebuttonMouseMove(int, int) {
    rollOver(*this, Scorebutton, lights.scoreLit,
             buttonPicture(asset::kHighScoresButton, ButtonLook::Hover));
}

void TForm1::ScorebuttonMouseDown(tk::MouseButton, int, int) {
    Scorebutton.loadFromFile(buttonPicture(asset::kHighScoresButton, ButtonLook::Pressed));
}

void TForm1::ScorebuttonMouseUp(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    Scorepanel.show();
}

// --- The two switches -----------------------------------------------------------------------

void TForm1::MusicbuttonMouseMove(int, int) {
    soundLitLast = false;
    rollOver(*this, Musicbutton, lights.musicLit,
             switchPicture(asset::kMusicSwitch, settings.musicOn, ButtonLook::Hover));
}

void TForm1::MusicbuttonMouseDown(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    if (settings.musicOn == 1) {
        settings.musicOn = 0;
        stopMusic();
        Musicbutton.loadFromFile(switchPicture(asset::kMusicSwitch, false, ButtonLook::Hover));
        MusicTimer.setEnabled(false);
    } else {
        // On first, so that the track change acts; the switch lives in the menu, so the menu track.
        settings.musicOn = 1;
        switchTrack(kMenuTrack, kMenuTrackRestartMs);
        Musicbutton.loadFromFile(switchPicture(asset::kMusicSwitch, true, ButtonLook::Hover));
        MusicTimer.setEnabled(true);
    }
    writeSettingBool(profile(), setting::kMusic, settings.musicOn != 0);
}

void TForm1::SoundbuttonMouseMove(int, int) {
    soundLitLast = true;
    rollOver(*this, Soundbutton, lights.soundLit,
             switchPicture(asset::kSoundSwitch, settings.soundOn, ButtonLook::Hover));
}

void TForm1::SoundbuttonMouseDown(tk::MouseButton, int, int) {
    // The click follows the switch as it was: turning sound off clicks, turning it on does not.
    playEffect(asset::kClick.file);
    settings.soundOn = settings.soundOn ? 0 : 1;
    Soundbutton.loadFromFile(
        switchPicture(asset::kSoundSwitch, settings.soundOn, ButtonLook::Hover));
    writeSettingBool(profile(), setting::kSound, settings.soundOn != 0);
}

// --- Calm mode ------------------------------------------------------------------------------

void TForm1::CalmbuttonMouseMove(int, int) {
    rollOver(*this, Calmbutton, lights.calmLit,
             switchPicture(asset::kCalmSwitch, settings.calmMode, ButtonLook::Hover));
}

void TForm1::CalmbuttonMouseDown(tk::MouseButton, int, int) {
    // Acts at the press, as the other switches do; the next flash or explosion is drawn softened.
    playEffect(asset::kClick.file);
    settings.calmMode = settings.calmMode ? 0 : 1;
    Calmbutton.loadFromFile(
        switchPicture(asset::kCalmSwitch, settings.calmMode, ButtonLook::Hover));
    writeSettingBool(profile(), setting::kCalm, settings.calmMode != 0);
}

void TForm1::toggleCalmMode() {
    CalmbuttonMouseDown(tk::MouseButton::Left, 0, 0);
    // Pressed from afar, the switch is not under the pointer: it goes back to rest at once.
    if (!lights.calmLit)
        Calmbutton.loadFromFile(
            switchPicture(asset::kCalmSwitch, settings.calmMode, ButtonLook::Rest));
}

// --- Help and About -----------------------------------------------------------------------

void TForm1::HelpbuttonMouseMove(int, int) {
    rollOver(*this, Helpbutton, lights.helpLit,
             buttonPicture(asset::kHelpButton, ButtonLook::Hover));
}

void TForm1::HelpbuttonMouseDown(tk::MouseButton, int, int) {
    Helpbutton.loadFromFile(buttonPicture(asset::kHelpButton, ButtonLook::Pressed));
}

void TForm1::HelpbuttonMouseUp(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    helppanel.show();
    setFocus(&dxButton4);
}

void TForm1::AboutbuttonMouseMove(int, int) {
    rollOver(*this, Aboutbutton, lights.aboutLit,
             buttonPicture(asset::kAboutButton, ButtonLook::Hover));
}

void TForm1::AboutbuttonMouseDown(tk::MouseButton, int, int) {
    Aboutbutton.loadFromFile(buttonPicture(asset::kAboutButton, ButtonLook::Pressed));
}

void TForm1::AboutbuttonMouseUp(tk::MouseButton, int, int) {
    playEffect(asset::kClick.file);
    // Modal: the main window takes no input until the dialog closes, its timers go on.
    if (aboutBox_) aboutBox_->showModalBox();
}

// --- Back to the game ---------------------------------------------------------------------

void TForm1::BackbuttonMouseMove(int, int) {
    // There is no game to go back to before the first one has begun.
    if (settings.firstRun == 1 || lights.backLit) return;
    Backbutton.loadFromFile(backPicture(BackLook::Hover));
    lights.backLit = 1;
    playEffect(asset::kMenuOver.file);
}

void TForm1::BackbuttonMouseDown(tk::MouseButton, int, int) {
    if (settings.firstRun == 1) return;
    Backbutton.loadFromFile(backPicture(BackLook::Pressed));
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
