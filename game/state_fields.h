// Fields of the game state by name, for the script driver and for tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"

namespace lumcrest {

struct FieldRef {
    enum class Kind { Int, Flag, Byte, Text };
    Kind kind;
    void* address;

    // The value as the driver prints it (flags as 0 or 1).
    std::string text() const;
    // Sets an integer or flag field from VALUE; false when VALUE does not fit the field.
    bool assign(long long value) const;
};

// The field called NAME ("Stage", "Shape1", "backgroundHistory0", ...), or nothing.
std::optional<FieldRef> findField(GameState& state, std::string_view name);
// Every field name, arrays with each of their indices.
std::vector<std::string> fieldNames();

}  // namespace lumcrest
