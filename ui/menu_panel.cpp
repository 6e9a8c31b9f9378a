// The menu's image buttons: a hover picture once per entry, a pressed picture, the switches'
// pictures for their state, and the highlight that visits them from the keyboard or a controller.
#include "ui/menu_panel.h"

#include <iterator>

#include "assets/catalogue.h"
#include "ui/menu_pictures.h"

namespace lumcrest {

namespace {

// The buttons the highlight visits, top to bottom, and whether each waits for the first game
// to begin (Back takes no part before it, as it ignores the pointer then).
struct HighlightStop {
    MenuButton button;
    bool needsGame;
};
constexpr HighlightStop kStops[] = {
    {MenuButton::New, false},   {MenuButton::Scores, false}, {MenuButton::Music, false},
    {MenuButton::Sound, false}, {MenuButton::Help, false},   {MenuButton::About, false},
    {MenuButton::Back, true},
};
constexpr int kStopCount = int(std::size(kStops));
static_assert(kStopCount == MenuPanel::kHighlightStops);

}  // namespace

void MenuPanel::rollOver(tk::Picture& button, std::uint8_t& lit, const std::string& hover) {
    if (lit) return;
    button.loadFromFile(hover);
    lit = 1;
    playEffect_(asset::kRollover.file);
}

void MenuPanel::hover(MenuButton button) {
    const PlayerSettings& s = settings_;
    switch (button) {
        case MenuButton::New:
            rollOver(b_.newGame, lights.newLit, newButtonPicture(s.firstRun, ButtonLook::Hover));
            break;
        case MenuButton::Scores:
            rollOver(b_.scores, lights.scoreLit,
                     buttonPicture(asset::kHighScoresButton, ButtonLook::Hover));
            break;
        case MenuButton::Music:
            soundLitLast = false;
            rollOver(b_.music, lights.musicLit,
                     switchPicture(asset::kMusicSwitch, s.musicOn, ButtonLook::Hover));
            break;
        case MenuButton::Sound:
            soundLitLast = true;
            rollOver(b_.sound, lights.soundLit,
                     switchPicture(asset::kSoundSwitch, s.soundOn, ButtonLook::Hover));
            break;
        case MenuButton::Help:
            rollOver(b_.help, lights.helpLit, buttonPicture(asset::kHelpButton, ButtonLook::Hover));
            break;
        case MenuButton::About:
            rollOver(b_.about, lights.aboutLit,
                     buttonPicture(asset::kAboutButton, ButtonLook::Hover));
            break;
        case MenuButton::Back:
            // There is no game to go back to before the first one has begun.
            if (s.firstRun == 1 || lights.backLit) return;
            b_.back.loadFromFile(backPicture(BackLook::Hover));
            lights.backLit = 1;
            playEffect_(asset::kMenuOver.file);
            break;
        case MenuButton::Calm:
            rollOver(b_.calm, lights.calmLit,
                     switchPicture(asset::kCalmSwitch, s.calmMode, ButtonLook::Hover));
            break;
    }
}

void MenuPanel::leaveAll() {
    // Leaving the buttons over the backdrop puts every lit one back to rest.
    MenuLights& l = lights;
    const PlayerSettings& s = settings_;
    auto rest = [](std::uint8_t& lit, tk::Picture& button, const std::string& picture) {
        if (!lit) return;
        button.loadFromFile(picture);
        lit = 0;
    };
    rest(l.newLit, b_.newGame, newButtonPicture(s.firstRun, ButtonLook::Rest));
    rest(l.scoreLit, b_.scores, buttonPicture(asset::kHighScoresButton, ButtonLook::Rest));
    rest(l.musicLit, b_.music, switchPicture(asset::kMusicSwitch, s.musicOn, ButtonLook::Rest));
    rest(l.soundLit, b_.sound, switchPicture(asset::kSoundSwitch, s.soundOn, ButtonLook::Rest));
    rest(l.helpLit, b_.help, buttonPicture(asset::kHelpButton, ButtonLook::Rest));
    rest(l.aboutLit, b_.about, buttonPicture(asset::kAboutButton, ButtonLook::Rest));
    rest(l.backLit, b_.back, backPicture(BackLook::Rest));
    rest(l.calmLit, b_.calm, switchPicture(asset::kCalmSwitch, s.calmMode, ButtonLook::Rest));
}

void MenuPanel::showPressed(MenuButton button) {
    switch (button) {
        case MenuButton::New:
            b_.newGame.loadFromFile(newButtonPicture(settings_.firstRun, ButtonLook::Pressed));
            break;
        case MenuButton::Scores:
            b_.scores.loadFromFile(buttonPicture(asset::kHighScoresButton, ButtonLook::Pressed));
            break;
        case MenuButton::Help:
            b_.help.loadFromFile(buttonPicture(asset::kHelpButton, ButtonLook::Pressed));
            break;
        case MenuButton::About:
            b_.about.loadFromFile(buttonPicture(asset::kAboutButton, ButtonLook::Pressed));
            break;
        case MenuButton::Back: b_.back.loadFromFile(backPicture(BackLook::Pressed)); break;
        // The switches have no pressed look: they act at the press and show their new state.
        case MenuButton::Music:
        case MenuButton::Sound:
        case MenuButton::Calm: showSwitch(button); break;
    }
}

void MenuPanel::showSwitch(MenuButton button) {
    const PlayerSettings& s = settings_;
    if (button == MenuButton::Music)
        b_.music.loadFromFile(switchPicture(asset::kMusicSwitch, s.musicOn, ButtonLook::Hover));
    if (button == MenuButton::Sound)
        b_.sound.loadFromFile(switchPicture(asset::kSoundSwitch, s.soundOn, ButtonLook::Hover));
    if (button == MenuButton::Calm)
        b_.calm.loadFromFile(switchPicture(asset::kCalmSwitch, s.calmMode, ButtonLook::Hover));
}

void MenuPanel::showRest(MenuButton button) {
    if (button == MenuButton::Back) b_.back.loadFromFile(backPicture(BackLook::Rest));
}

void MenuPanel::showNewGameAtRest() {
    b_.newGame.loadFromFile(buttonPicture(asset::kNewButton, ButtonLook::Rest));
}

void MenuPanel::restCalmUnlessLit() {
    // Pressed from afar, the switch is not under the pointer: it goes back to rest at once.
    if (!lights.calmLit)
        b_.calm.loadFromFile(
            switchPicture(asset::kCalmSwitch, settings_.calmMode, ButtonLook::Rest));
}

void MenuPanel::moveHighlight(int step) {
    auto takesPart = [this](int i) { return !(kStops[i].needsGame && settings_.firstRun == 1); };
    // The first move lights the top button (down) or the bottom one (up); later ones wrap round.
    int at = padHighlight >= 0 && padHighlight < kStopCount ? padHighlight : (step > 0 ? -1 : 0);
    for (int tries = 0; tries < kStopCount; ++tries) {
        at = (at + step + kStopCount) % kStopCount;
        if (takesPart(at)) break;
    }
    padHighlight = at;
    // As the pointer crossing the backdrop to the next button: the lit one goes back to rest.
    leaveAll();
    hover(kStops[at].button);
}

std::optional<bool> MenuPanel::litVolumeSwitch() const {
    // The lit switch is the one under the pointer or the controller's (or the keyboard's)
    // highlight: the rollover lights it in every case.
    if (!lights.musicLit && !lights.soundLit) return std::nullopt;
    return lights.musicLit && !(lights.soundLit && soundLitLast);
}

}  // namespace lumcrest
