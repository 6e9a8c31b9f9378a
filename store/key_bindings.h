// The keys of play as the player chose them: the [Keys] section, each action one or more keys by
// the desktop's names ("Left KP_4"). A missing section gives the arrows and the keypad; a value
// that names no key gives that action its own default.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "store/profile.h"

namespace lumcrest {

enum class KeyAction { Left, Right, Rotate, Launch, Menu };
constexpr int kKeyActionCount = 5;

struct KeyBindings {
    std::array<std::vector<int>, kKeyActionCount> keys;  // virtual-key numbers, by action

    static KeyBindings defaults();
    // The action of the key VK: the first action that has it; nothing for a key of none.
    std::optional<KeyAction> actionOf(int vk) const;
    const std::vector<int>& of(KeyAction a) const { return keys[int(a)]; }
    // The first key of A, the one a controller's button stands for.
    int primary(KeyAction a) const { return keys[int(a)].front(); }
    // A's keys by the desktop's names, as the file holds them ("Left KP_4").
    std::string names(KeyAction a) const;
    bool operator==(const KeyBindings&) const = default;
};

// The action's name in the file ("Left", "Rotate").
const char* keyActionName(KeyAction a);

// Reads [Keys]. Every action whose value names no key (or a key of no use) takes its default;
// BAD receives "Rotate=Foo" for each.
KeyBindings readKeyBindings(const Profile& profile, std::vector<std::string>* bad = nullptr);
// Writes the five keys (one step when inside a batch). Throws as Profile's writes do.
void writeKeyBindings(Profile& profile, const KeyBindings& keys);
// The keys of TEXT ("Left KP_4"), each a key the game knows; nothing when TEXT names none or
// holds a word that is no key.
std::optional<std::vector<int>> parseKeyNames(const std::string& text);

}  // namespace lumcrest
