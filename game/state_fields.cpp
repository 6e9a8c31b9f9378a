#include "game/state_fields.h"

#include <charconv>
#include <cstdint>

namespace lumcrest {

namespace {

#define INT_FIELD(f) LUMCREST_FIELD(GameState, Int, f)
#define FLAG_FIELD(f) LUMCREST_FIELD(GameState, Flag, f)

const FieldTable<GameState>& table() {
    static const FieldTable<GameState> fields = {
        {
            // clang-format off
            INT_FIELD(landedCount), FLAG_FIELD(shapeMoved), INT_FIELD(Stage), INT_FIELD(Gemsleft),
            INT_FIELD(Blocks), INT_FIELD(Score), INT_FIELD(Total), INT_FIELD(fillStep),
            INT_FIELD(Background), INT_FIELD(gemCount), INT_FIELD(bombThreshold), FLAG_FIELD(bombLast),
            FLAG_FIELD(gameOver), FLAG_FIELD(matchFound), FLAG_FIELD(bombFired),
            FLAG_FIELD(settleSkip), INT_FIELD(settleSteps), INT_FIELD(chainCleared),
            INT_FIELD(landingPoints), INT_FIELD(backgroundHistoryIndex), INT_FIELD(previousBackground),
            INT_FIELD(backgroundChanges),
            // clang-format on
        },
        {
            LUMCREST_ARRAY(GameState, Shape, 1, 10),
            LUMCREST_ARRAY(GameState, Nextshape, 1, 10),
            LUMCREST_ARRAY(GameState, shapeX, 1, 10),
            LUMCREST_ARRAY(GameState, shapeY, 1, 10),
            LUMCREST_ARRAY(GameState, backgroundHistory, 0, 10),
        },
    };
    return fields;
}

}  // namespace

std::string FieldRef::text() const {
    switch (kind) {
        case Kind::Int: return std::to_string(*static_cast<int*>(address));
        case Kind::Flag: return *static_cast<bool*>(address) ? "1" : "0";
        case Kind::Byte: return std::to_string(int(*static_cast<std::uint8_t*>(address)));
        case Kind::Text: return *static_cast<std::string*>(address);
    }
    return {};
}

bool FieldRef::assign(long long value) const {
    switch (kind) {
        case Kind::Int:
            if (value < INT32_MIN || value > INT32_MAX) return false;
            *static_cast<int*>(address) = int(value);
            return true;
        case Kind::Flag: *static_cast<bool*>(address) = value != 0; return true;
        case Kind::Byte:
            if (value < 0 || value > 255) return false;
            *static_cast<std::uint8_t*>(address) = std::uint8_t(value);
            return true;
        case Kind::Text: return false;
    }
    return false;
}

std::optional<int> fieldIndex(std::string_view name, std::string_view base, int first, int last) {
    if (name.size() <= base.size() || name.substr(0, base.size()) != base) return std::nullopt;
    std::string_view digits = name.substr(base.size());
    if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
    int index = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (ec != std::errc() || p != digits.data() + digits.size()) return std::nullopt;
    if (index < first || index > last) return std::nullopt;
    return index;
}

std::optional<FieldRef> findField(GameState& state, std::string_view name) {
    return table().find(state, name);
}

}  // namespace lumcrest
