#include "toolkit/key_names.h"

#include <array>

namespace tk {

namespace {

struct Named {
    std::string_view name;
    int vk;
};

// Every key with a name of its own; the first name of a number is the one written back.
// clang-format off
constexpr Named kNamed[] = {
    {"BackSpace", 8}, {"Tab", 9}, {"Return", 13}, {"KP_Enter", 13}, {"Shift_L", 16},
    {"Shift_R", 16}, {"Control_L", 17}, {"Control_R", 17}, {"Alt_L", 18}, {"Alt_R", 18},
    {"Pause", 19}, {"Caps_Lock", 20}, {"Escape", 27}, {"space", 32}, {"Prior", 33},
    {"Page_Up", 33}, {"Next", 34}, {"Page_Down", 34}, {"End", 35}, {"Home", 36}, {"Left", 37},
    {"Up", 38}, {"Right", 39}, {"Down", 40}, {"Insert", 45}, {"Delete", 46}, {"Menu", 93},
    {"KP_Begin", 12}, {"KP_Multiply", 106}, {"KP_Add", 107}, {"KP_Subtract", 109},
    {"KP_Decimal", 110}, {"KP_Divide", 111}, {"semicolon", 186}, {"equal", 187}, {"comma", 188},
    {"minus", 189}, {"period", 190}, {"slash", 191}, {"grave", 192}, {"bracketleft", 219},
    {"backslash", 220}, {"bracketright", 221}, {"apostrophe", 222},
};
// clang-format on

// The number after PREFIX in NAME, within FIRST..LAST; -1 when NAME is not so made.
int numberAfter(std::string_view name, std::string_view prefix, int first, int last) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 2 ||
        name.substr(0, prefix.size()) != prefix)
        return -1;
    int n = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    if (name[prefix.size()] == '0' && name.size() > prefix.size() + 1) return -1;
    return n >= first && n <= last ? n : -1;
}

}  // namespace

int keyFromName(std::string_view name) {
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'A' && c <= 'Z') return c;
        if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if (c >= '0' && c <= '9') return c;
    }
    if (int f = numberAfter(name, "F", 1, 12); f > 0) return 111 + f;
    if (int d = numberAfter(name, "KP_", 0, 9); d >= 0) return 96 + d;
    for (const Named& k : kNamed)
        if (k.name == name) return k.vk;
    return 0;
}

std::string keyName(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, char(vk));
    if (vk >= 112 && vk <= 123) return "F" + std::to_string(vk - 111);
    if (vk >= 96 && vk <= 105) return "KP_" + std::to_string(vk - 96);
    for (const Named& k : kNamed)
        if (k.vk == vk) return std::string(k.name);
    return {};
}

}  // namespace tk
