#include "game/state_fields.h"

#include <charconv>
#include <cstdint>
#include <functional>

namespace lumcrest {

namespace {

struct Scalar {
    const char* name;
    FieldRef::Kind kind;
    std::function<void*(GameState&)> get;
};

struct Array {
    const char* name;
    int first, last;
    std::function<int*(GameState&)> get;
};

#define INT_FIELD(f)                                                         \
    Scalar {                                                                 \
#f, FieldRef::Kind::Int, [](GameState & s) -> void* { return &s.f; } \
    }
#define FLAG_FIELD(f)                                                         \
    Scalar {                                                                  \
#f, FieldRef::Kind::Flag, [](GameState & s) -> void* { return &s.f; } \
    }
#define BYTE_FIELD(f)                                                         \
    Scalar {                                                                  \
#f, FieldRef::Kind::Byte, [](GameState & s) -> void* { return &s.f; } \
    }

const std::vector<Scalar>& scalars() {
    static const std::vector<Scalar> list = {
        // clang-format off
        INT_FIELD(landedCount), FLAG_FIELD(shapeMoved), INT_FIELD(Stage), INT_FIELD(Gemsleft),
        INT_FIELD(Blocks), INT_FIELD(Score), INT_FIELD(Total), INT_FIELD(fillStep),
        INT_FIELD(Background), INT_FIELD(gemCount), INT_FIELD(bombThreshold), FLAG_FIELD(bombLast),
        FLAG_FIELD(gameOver), FLAG_FIELD(matchFound), FLAG_FIELD(bombFired), FLAG_FIELD(paintAll),
        FLAG_FIELD(settleSkip), INT_FIELD(settleSteps), INT_FIELD(chainCleared),
        INT_FIELD(landingPoints), INT_FIELD(fillMark), INT_FIELD(fillDrawn),
        FLAG_FIELD(levelPending), FLAG_FIELD(blastStarted), INT_FIELD(blastFrame),
        INT_FIELD(blastStyle), BYTE_FIELD(firstRun), BYTE_FIELD(soundOn), BYTE_FIELD(musicOn),
        INT_FIELD(musicVolume), INT_FIELD(soundVolume), BYTE_FIELD(calmMode),
        Scalar{"playerName", FieldRef::Kind::Text,
               [](GameState& s) -> void* { return &s.playerName; }},
        INT_FIELD(backgroundHistoryIndex), INT_FIELD(previousBackground),
        INT_FIELD(backgroundChanges), INT_FIELD(twinklePhase), INT_FIELD(twinkleColumn),
        INT_FIELD(twinkleRow), INT_FIELD(twinkleLight), INT_FIELD(specialBlinkPhase),
        INT_FIELD(crackStep), INT_FIELD(crackRow), INT_FIELD(flashStep), INT_FIELD(waveColumn),
        INT_FIELD(jarFrame), INT_FIELD(jarTailLoops), INT_FIELD(jarIntroLoops),
        INT_FIELD(drainLine), INT_FIELD(jarHalfTick), BYTE_FIELD(newLit), BYTE_FIELD(scoreLit),
        BYTE_FIELD(musicLit), BYTE_FIELD(soundLit), BYTE_FIELD(helpLit), BYTE_FIELD(aboutLit),
        BYTE_FIELD(backLit), BYTE_FIELD(menuLit), BYTE_FIELD(calmLit), INT_FIELD(blinkCount), INT_FIELD(lastScore),
    };
    // clang-format on
    return list;
}

const std::vector<Array>& arrays() {
    static const std::vector<Array> list = {
        {"Shape", 1, 10, [](GameState& s) { return s.Shape; }},
        {"Nextshape", 1, 10, [](GameState& s) { return s.Nextshape; }},
        {"shapeX", 1, 10, [](GameState& s) { return s.shapeX; }},
        {"shapeY", 1, 10, [](GameState& s) { return s.shapeY; }},
        {"hiScores", 1, 10, [](GameState& s) { return s.hiScores; }},
        {"backgroundHistory", 0, 10, [](GameState& s) { return s.backgroundHistory; }},
        {"sortScores", 1, 11, [](GameState& s) { return s.sortScores; }},
    };
    return list;
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

std::optional<FieldRef> findField(GameState& state, std::string_view name) {
    for (const Scalar& s : scalars())
        if (name == s.name) return FieldRef{s.kind, s.get(state)};
    for (const Array& a : arrays()) {
        std::string_view base(a.name);
        if (name.size() <= base.size() || name.substr(0, base.size()) != base) continue;
        std::string_view digits = name.substr(base.size());
        if (digits.size() > 1 && digits[0] == '0') continue;
        int index = 0;
        auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (ec != std::errc() || p != digits.data() + digits.size()) continue;
        if (index < a.first || index > a.last) continue;
        return FieldRef{FieldRef::Kind::Int, a.get(state) + index};
    }
    return std::nullopt;
}

std::vector<std::string> fieldNames() {
    std::vector<std::string> out;
    for (const Scalar& s : scalars()) out.push_back(s.name);
    for (const Array& a : arrays())
        for (int i = a.first; i <= a.last; ++i) out.push_back(a.name + std::to_string(i));
    return out;
}

}  // namespace lumcrest
