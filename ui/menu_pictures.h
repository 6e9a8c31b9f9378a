// The picture files of the menu buttons in each state; read from the data folder at every change.
#pragma once

#include <string>

namespace lumcrest {

enum class ButtonLook { Rest = 0, Hover = 1, Pressed = 2 };

// "Play_N.bmp" while the very first game has not begun, else "New_N.bmp".
inline std::string newButtonPicture(bool firstRun, ButtonLook look) {
    return std::string(firstRun ? "Play_" : "New_") + std::to_string(int(look)) + ".bmp";
}
// The switches have no pressed look: rest and hover for on (0, 1) and for off (2, 3).
inline std::string switchPicture(const char* stem, bool on, ButtonLook look) {
    return std::string(stem) + "_" + std::to_string((on ? 0 : 2) + int(look)) + ".bmp";
}

}  // namespace lumcrest
