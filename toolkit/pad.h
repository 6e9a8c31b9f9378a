// Game-controller buttons as the toolkit delivers them: the face buttons, Back and Start, and the
// four directions (the D-pad, and the left stick pushed far enough).
#pragma once

#include <optional>
#include <string_view>

namespace tk {

enum class PadButton { A, B, X, Y, Back, Start, DpUp, DpDown, DpLeft, DpRight };
constexpr int kPadButtonCount = 10;

// The button's name as SDL's controller database writes it: "a", "b", "x", "y", "back",
// "start", "dpup", "dpdown", "dpleft", "dpright".
const char* padButtonName(PadButton b);
std::optional<PadButton> padButtonByName(std::string_view name);

}  // namespace tk
