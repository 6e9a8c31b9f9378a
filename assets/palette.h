// Colours the game draws at run time over the forge's pictures, named once: the game draws in
// them, and the forge's tests hold the pictures beneath to them. Needs only the standard library.
#pragma once

namespace lumcrest::asset {

struct Colour {
    int r, g, b;
};

// The newest line of the high-score table blinks in this red, over the table's dark rows.
inline constexpr Colour kNewScoreBlink{255, 72, 72};

// The words of the Ok buttons, over their faces (kPushFace): the menu buttons' cream.
inline constexpr Colour kPushFaceText{244, 234, 208};

}  // namespace lumcrest::asset
