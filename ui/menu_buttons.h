// The menu's image buttons in one table: each row names the control (the driver finds it by that
// name), where it sits, its pictures, the setting a switch turns, the lit flag the driver reads and
// whether the keyboard's and controller's highlight visits it. The menu part builds, lights,
// presses and highlights the buttons from these rows alone; what a button does beyond its
// pictures and its setting is the window's (MenuPanel::onPress, onRelease, onSwitched).
//
// A new switch with a setting: its key in store/settings_schema.h, its field in
// store/player_settings.h, its pictures in assets/catalogue.h drawn by assets/forge/buttons.cpp,
// and a row here.
#pragma once

#include <cstdint>
#include <iterator>

#include "assets/catalogue.h"
#include "store/player_settings.h"
#include "store/settings_schema.h"

namespace lumcrest {

// The buttons, in the rows' order: the highlight visits them in this order from the top.
enum class MenuButton { New, Scores, Music, Sound, Help, About, Back, Calm };

// How a button's pictures follow its state.
enum class MenuLook {
    Plain,      // rest, hover, pressed
    PlayOrNew,  // as Plain, from the Play pictures until the first game has begun, then New's
    Back,       // dimmed, then rest, hover, pressed
    Switch,     // no pressed look: rest and hover when on (0, 1), when off (2, 3)
};

struct MenuButtonRow {
    MenuButton id;
    const char* name;   // the control's name
    const char* light;  // the lit flag's name for the driver's get and set
    int left, top, width, height;
    MenuLook look;
    const asset::Series* pictures;
    std::uint8_t PlayerSettings::*setting;  // the switch's state; nullptr for a button
    const SettingKey* key;                  // where the switch's state is kept; nullptr
    const asset::File* hoverSound;
    bool highlighted;   // the keyboard's and controller's highlight visits it
    bool needsGame;     // dark, silent and inert before the first game has begun
    bool volumeLights;  // a row of lights over its left end shows a volume
    bool keyed;         // its magenta ground is left out (it lies on the night sky)
};

// clang-format off
inline constexpr MenuButtonRow kMenuButtons[] = {
    {MenuButton::New,    "Newbutton",   "newLit",   283, 145, 252, 51, MenuLook::PlayOrNew, &asset::kNewButton,        nullptr,                   nullptr,          &asset::kRollover, true,  false, false, false},
    {MenuButton::Scores, "Scorebutton", "scoreLit", 239, 204, 340, 52, MenuLook::Plain,     &asset::kHighScoresButton, nullptr,                   nullptr,          &asset::kRollover, true,  false, false, false},
    {MenuButton::Music,  "Musicbutton", "musicLit", 225, 264, 368, 53, MenuLook::Switch,    &asset::kMusicSwitch,      &PlayerSettings::musicOn,  &setting::kMusic, &asset::kRollover, true,  false, true,  false},
    {MenuButton::Sound,  "Soundbutton", "soundLit", 225, 324, 368, 52, MenuLook::Switch,    &asset::kSoundSwitch,      &PlayerSettings::soundOn,  &setting::kSound, &asset::kRollover, true,  false, true,  false},
    {MenuButton::Help,   "Helpbutton",  "helpLit",  239, 384, 340, 52, MenuLook::Plain,     &asset::kHelpButton,       nullptr,                   nullptr,          &asset::kRollover, true,  false, false, false},
    {MenuButton::About,  "Aboutbutton", "aboutLit", 283, 444, 252, 54, MenuLook::Plain,     &asset::kAboutButton,      nullptr,                   nullptr,          &asset::kRollover, true,  false, false, false},
    {MenuButton::Back,   "Backbutton",  "backLit",  664, 531, 135, 56, MenuLook::Back,      &asset::kBackButton,       nullptr,                   nullptr,          &asset::kMenuOver, true,  true,  false, true},
    {MenuButton::Calm,   "Calmbutton",  "calmLit",   24,  28, 230, 52, MenuLook::Switch,    &asset::kCalmSwitch,       &PlayerSettings::calmMode, &setting::kCalm,  &asset::kRollover, false, false, false, true},
};
// clang-format on

inline constexpr int kMenuButtonCount = int(std::size(kMenuButtons));

// BUTTON's row.
constexpr const MenuButtonRow& menuRow(MenuButton button) {
    return kMenuButtons[int(button)];
}

constexpr bool rowsInOrder() {
    for (int i = 0; i < kMenuButtonCount; ++i)
        if (int(kMenuButtons[i].id) != i) return false;
    return true;
}
static_assert(rowsInOrder(), "one row a button, in the order of MenuButton");

}  // namespace lumcrest
