// The name panel with a controller alone: the letter board under the name box types into it as
// the keyboard would, so a name keeps the rules of typed names (12 characters at most, no
// control characters).
#pragma once

#include "toolkit/control.h"
#include "toolkit/pad.h"
#include "ui/letter_board.h"

namespace lumcrest {

// Brings BOARD up under the name BOX with its highlight on Done, so that A at once still takes
// the name as it stands; capitals at the start of a word.
void showBoardUnderName(LetterBoard& board, const tk::EditBox& box);

// A controller button pressed on the name panel: the D-pad moves over the board, A types the
// letter (or presses Space, Delete or Done), B deletes. The board comes up at the first press
// (a direction only brings it up). True when the name is to be confirmed (Start, or A on Done).
bool padOnNamePanel(LetterBoard& board, tk::EditBox& box, tk::PadButton button);

}  // namespace lumcrest
