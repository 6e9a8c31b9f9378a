// The menu's image buttons: a hover picture once per entry, a pressed picture, and the action at
// the release (the two switches act at the press).
#include "app/about_box.h"
#include "app/form.h"
#include "audio/track_names.h"
#include "ui/menu_pictures.h"
#include "view/board_drawing.h"

namespace lumcrest {

namespace {

// Shows the hover picture of a centre button once per entry, with its sound.
void rollOver(TForm1& f, tk::Picture& button, std::uint8_t& lit, const std::string& hover) {
    if (lit) return;
    button.loadFromFile(hover);
    lit = 1;
    f.playEffect("rollover.wav");
}

}  // namespace

void TForm1::MenuimageMouseMove(int, int) {
    // Leaving the buttons over the backdrop puts every lit one back to rest.
    if (newLit) {
        Newbutton.loadFromFile(newButtonPicture(firstRun, ButtonLook::Rest));
        newLit = 0;
    }
    if (scoreLit) {
        Scorebutton.loadFromFile("Hi_Sc_0.bmp");
        scoreLit = 0;
    }
    if (musicLit) {
        Musicbutton.loadFromFile(switchPicture("Music", musicOn, ButtonLook::Rest));
        musicLit = 0;
    }
    if (soundLit) {
        Soundbutton.loadFromFile(switchPicture("Sound", soundOn, ButtonLook::Rest));
        soundLit = 0;
    }
    if (helpLit) {
        Helpbutton.loadFromFile("Help_0.bmp");
        helpLit = 0;
    }
    if (aboutLit) {
        Aboutbutton.loadFromFile("About_0.bmp");
        aboutLit = 0;
    }
    if (backLit) {
        Backbutton.loadFromFile("BACK_1.bmp");
        backLit = 0;
    }
}

// --- New / Play ---------------------------------------------------------------------------

void TForm1::NewbuttonMouseMove(int, int) {
    rollOver(*this, Newbutton, newLit, newButtonPicture(firstRun, ButtonLook::Hover));
}

void TForm1::NewbuttonMouseDown(tk::MouseButton, int, int) {
    // The new game is set up at the press, behind the menu that still shows.
    Newbutton.loadFromFile(newButtonPicture(firstRun, ButtonLook::Pressed));
    decodePlayPictures(*this);
    newGame();
    drawBoard();
}

void TForm1::NewbuttonMouseUp(tk::MouseButton, int, int) {
    playEffect("click.wav");
    Menupanel.hide();
    Newbutton.loadFromFile("New_0.bmp");
    helppanel2.setVisible(firstRun == 1);
    if (firstRun == 1) {
        profile().writeBool("Settings", "First", false);
        firstRun = 0;
    }
    switchTrack(kGameTrack, kGameTrackRestartMs);
}

// --- High scores --------------------------------------------------------------------------

void TForm1::ScorebuttonMouseMove(int, int) {
    rollOver(*this, Scorebutton, scoreLit, "Hi_Sc_1.bmp");
}

void TForm1::ScorebuttonMouseDown(tk::MouseButton, int, int) {
    Scorebutton.loadFromFile("Hi_Sc_2.bmp");
}

void TForm1::ScorebuttonMouseUp(tk::MouseButton, int, int) {
    playEffect("click.wav");
    Scorepanel.show();
}

// --- The two switches -----------------------------------------------------------------------

void TForm1::MusicbuttonMouseMove(int, int) {
    rollOver(*this, Musicbutton, musicLit, switchPicture("Music", musicOn, ButtonLook::Hover));
}

void TForm1::MusicbuttonMouseDown(tk::MouseButton, int, int) {
    playEffect("click.wav");
    if (musicOn == 1) {
        musicOn = 0;
        stopMusic();
        Musicbutton.loadFromFile("Music_3.bmp");
        MusicTimer.setEnabled(false);
    } else {
        // On first, so that the track change acts; the switch lives in the menu, so the menu track.
        musicOn = 1;
        switchTrack(kMenuTrack, kMenuTrackRestartMs);
        Musicbutton.loadFromFile("Music_1.bmp");
        MusicTimer.setEnabled(true);
    }
    profile().writeBool("Settings", "Music", musicOn != 0);
}

void TForm1::SoundbuttonMouseMove(int, int) {
    rollOver(*this, Soundbutton, soundLit, switchPicture("Sound", soundOn, ButtonLook::Hover));
}

void TForm1::SoundbuttonMouseDown(tk::MouseButton, int, int) {
    // The click follows the switch as it was: turning sound off clicks, turning it on does not.
    playEffect("click.wav");
    soundOn = soundOn ? 0 : 1;
    Soundbutton.loadFromFile(soundOn ? "Sound_1.bmp" : "Sound_3.bmp");
    profile().writeBool("Settings", "Sound", soundOn != 0);
}

// --- Help and About -----------------------------------------------------------------------

void TForm1::HelpbuttonMouseMove(int, int) {
    rollOver(*this, Helpbutton, helpLit, "Help_1.bmp");
}

void TForm1::HelpbuttonMouseDown(tk::MouseButton, int, int) {
    Helpbutton.loadFromFile("Help_2.bmp");
}

void TForm1::HelpbuttonMouseUp(tk::MouseButton, int, int) {
    playEffect("click.wav");
    helppanel.show();
    setFocus(&dxButton4);
}

void TForm1::AboutbuttonMouseMove(int, int) {
    rollOver(*this, Aboutbutton, aboutLit, "About_1.bmp");
}

void TForm1::AboutbuttonMouseDown(tk::MouseButton, int, int) {
    Aboutbutton.loadFromFile("About_2.bmp");
}

void TForm1::AboutbuttonMouseUp(tk::MouseButton, int, int) {
    playEffect("click.wav");
    // Modal: the main window takes no input until the dialog closes, its timers go on.
    if (aboutBox_) aboutBox_->showModalBox();
}

// --- Back to the game ---------------------------------------------------------------------

void TForm1::BackbuttonMouseMove(int, int) {
    // There is no game to go back to before the first one has begun.
    if (firstRun == 1 || backLit) return;
    Backbutton.loadFromFile("BACK_2.bmp");
    backLit = 1;
    playEffect("menuover.wav");
}

void TForm1::BackbuttonMouseDown(tk::MouseButton, int, int) {
    if (firstRun == 1) return;
    Backbutton.loadFromFile("BACK_3.bmp");
}

void TForm1::BackbuttonMouseUp(tk::MouseButton, int, int) {
    if (firstRun == 1) return;
    Menupanel.hide();
    switchTrack(kGameTrack, kGameTrackRestartMs);
}

// --- The greeting's link and the logo -------------------------------------------------------

void TForm1::changebtnClick() {
    overpanel.show();
    setFocus(&Playersname);
}

void TForm1::Image5Click() {
    app().backend().openUrl(env_.webAddress);
}

}  // namespace lumcrest
