// The fields the driver's `get` and `set` name, gathered from the parts that hold them: the play
// state, the field's drawing, the player's settings, the menu's lights and the score table.
#pragma once

#include <optional>
#include <string_view>

#include "game/state_fields.h"

namespace lumcrest {

class TForm1;

// The field called NAME of the main window's parts, or nothing.
std::optional<FieldRef> findWindowField(TForm1& form, std::string_view name);

}  // namespace lumcrest
