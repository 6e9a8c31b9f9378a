// The picture files of the menu buttons in each state; read from the data folder at every change.
#pragma once

#include <string>

#include "assets/catalogue.h"

namespace lumcrest {

enum class ButtonLook { Rest = 0, Hover = 1, Pressed = 2 };
// The Back button has a dimmed look first, while there is no game to go back to.
enum class BackLook { Dimmed = 0, Rest = 1, Hover = 2, Pressed = 3 };

// A centre button's picture in LOOK.
inline std::string buttonPicture(const asset::Series& button, ButtonLook look) {
    return button.file(int(look));
}
inline std::string backPicture(BackLook look) {
    return asset::kBackButton.file(int(look));
}

// The Play button while the very first game has not begun, else the New Game button.
inline std::string newButtonPicture(bool firstRun, ButtonLook look) {
    return (firstRun ? asset::kPlayButton : asset::kNewButton).file(int(look));
}
// The switches have no pressed look: rest and hover for on (0, 1) and for off (2, 3).
inline std::string switchPicture(const asset::Series& button, bool on, ButtonLook look) {
    return button.file((on ? 0 : 2) + int(look));
}

}  // namespace lumcrest
