#include "store/key_bindings.h"

#include <algorithm>
#include <sstream>

#include "store/settings_schema.h"
#include "toolkit/key_names.h"

namespace lumcrest {

namespace {

constexpr const SettingKey* kRows[kKeyActionCount] = {&setting::kKeyLeft, &setting::kKeyRight,
                                                      &setting::kKeyRotate, &setting::kKeyLaunch,
                                                      &setting::kKeyMenu};

}  // namespace

const char* keyActionName(KeyAction a) {
    static const char* const names[kKeyActionCount] = {"Left", "Right", "Rotate", "Launch", "Menu"};
    return names[int(a)];
}

std::optional<std::vector<int>> parseKeyNames(const std::string& text) {
    std::vector<int> keys;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        const int vk = tk::keyFromName(word);
        if (vk == 0) return std::nullopt;
        if (std::find(keys.begin(), keys.end(), vk) == keys.end()) keys.push_back(vk);
    }
    if (keys.empty()) return std::nullopt;
    return keys;
}

KeyBindings KeyBindings::defaults() {
    KeyBindings b;
    for (int a = 0; a < kKeyActionCount; ++a)
        b.keys[a] = *parseKeyNames(std::string(kRows[a]->defaultText));
    return b;
}

std::optional<KeyAction> KeyBindings::actionOf(int vk) const {
    for (int a = 0; a < kKeyActionCount; ++a)
        if (std::find(keys[a].begin(), keys[a].end(), vk) != keys[a].end()) return KeyAction(a);
    return std::nullopt;
}

std::string KeyBindings::names(KeyAction a) const {
    std::string text;
    for (int vk : keys[int(a)]) {
        if (!text.empty()) text += ' ';
        text += tk::keyName(vk);
    }
    return text;
}

KeyBindings readKeyBindings(const Profile& profile, std::vector<std::string>* bad) {
    KeyBindings b = KeyBindings::defaults();
    for (int a = 0; a < kKeyActionCount; ++a) {
        const std::string text = readSettingText(profile, *kRows[a]);
        if (auto keys = parseKeyNames(text)) {
            b.keys[a] = *keys;
        } else if (bad) {
            bad->push_back(std::string(kRows[a]->key) + "=" + text);
        }
    }
    return b;
}

void writeKeyBindings(Profile& profile, const KeyBindings& keys) {
    for (int a = 0; a < kKeyActionCount; ++a)
        writeSettingText(profile, *kRows[a], keys.names(KeyAction(a)));
}

}  // namespace lumcrest
