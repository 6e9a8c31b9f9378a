#include "toolkit/pad.h"

namespace tk {

namespace {
constexpr const char* kNames[kPadButtonCount] = {"a",     "b",    "x",      "y",      "back",
                                                 "start", "dpup", "dpdown", "dpleft", "dpright"};
}

const char* padButtonName(PadButton b) {
    int i = int(b);
    return i >= 0 && i < kPadButtonCount ? kNames[i] : "";
}

std::optional<PadButton> padButtonByName(std::string_view name) {
    for (int i = 0; i < kPadButtonCount; ++i)
        if (name == kNames[i]) return PadButton(i);
    return std::nullopt;
}

}  // namespace tk
