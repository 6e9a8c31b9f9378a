#include "store/settings_schema.h"

#include <charconv>

namespace lumcrest {

namespace {

using namespace setting;

// The number that ends TEXT after STEM, without leading zeros; nothing when TEXT is not so made.
std::optional<int> numberAfter(std::string_view text, std::string_view stem) {
    if (text.size() <= stem.size() || text.substr(0, stem.size()) != stem) return std::nullopt;
    std::string_view digits = text.substr(stem.size());
    if (digits[0] == '0') return std::nullopt;
    int n = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return n;
}

}  // namespace

std::string SettingKey::sectionName(int n) const {
    std::string name(section);
    if (numbered == Numbered::Section) name += std::to_string(n);
    return name;
}

std::string SettingKey::keyName(int n) const {
    std::string name(key);
    if (numbered == Numbered::Key || numbered == Numbered::BoardCell) name += std::to_string(n);
    return name;
}

bool SettingKey::hasNumber(int n) const {
    if (numbered == Numbered::No) return true;
    // The board keeps no key for the launch row: 10 (c - 1) + 1 for every column c.
    if (numbered == Numbered::BoardCell && n % 10 == 1) return false;
    return n >= first && n <= last;
}

std::span<const SettingKey* const> settingsSchema() {
    return setting::kRows;
}

std::optional<SchemaMatch> findSetting(std::string_view section, std::string_view key) {
    for (const SettingKey* row : setting::kRows) {
        int n = 0;
        if (row->numbered == SettingKey::Numbered::Section) {
            auto number = numberAfter(section, row->section);
            if (!number || key != row->key) continue;
            n = *number;
        } else if (row->numbered != SettingKey::Numbered::No) {
            auto number = numberAfter(key, row->key);
            if (!number || section != row->section) continue;
            n = *number;
        } else if (section != row->section || key != row->key) {
            continue;
        }
        if (row->hasNumber(n)) return SchemaMatch{row, n};
    }
    return std::nullopt;
}

int readSetting(const Profile& profile, const SettingKey& row, int n) {
    const int def = row.defaultFor(n);
    const int v = profile.readInteger(row.sectionName(n), row.keyName(n), def);
    return v >= row.min && v <= row.max ? v : def;
}

bool readSettingBool(const Profile& profile, const SettingKey& row, int n) {
    return readSetting(profile, row, n) != 0;
}

std::string readSettingText(const Profile& profile, const SettingKey& row, int n) {
    return profile.readString(row.sectionName(n), row.keyName(n), std::string(row.defaultText));
}

void writeSetting(Profile& profile, const SettingKey& row, int value, int n) {
    profile.writeInteger(row.sectionName(n), row.keyName(n), value);
}

void writeSettingBool(Profile& profile, const SettingKey& row, bool value, int n) {
    profile.writeBool(row.sectionName(n), row.keyName(n), value);
}

void writeSettingText(Profile& profile, const SettingKey& row, const std::string& value, int n) {
    profile.writeString(row.sectionName(n), row.keyName(n), value);
}

}  // namespace lumcrest
