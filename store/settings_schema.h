// Every section and key of the settings file in one table: its type, the default a missing or
// unreadable value reads as, the range a value must lie in (outside it the default counts), and
// who writes it. The game reads and writes the file only through these rows, so a key's spelling,
// default and range live here alone.
#pragma once

#include <climits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "store/profile.h"

namespace lumcrest {

struct SettingKey {
    enum class Type { Bool, Integer, String };
    // Rows that stand for a numbered family: the score lines' sections "Scoreline1".."Scoreline10",
    // the bar's keys "Shape1".."Shape3", the board's "Gem2".."Gem100" (no Gem1, Gem11, ...: the
    // launch row is not stored).
    enum class Numbered { No, Section, Key, BoardCell };

    std::string_view section;  // the section, or its stem for a numbered section
    std::string_view key;      // the key, or its stem for numbered keys
    Type type;
    int defaultValue;              // a bool's or an integer's default (numbered: that of number 1)
    int defaultStep;               // how much the default changes from one number to the next
    std::string_view defaultText;  // a string's default
    int min, max;                  // an integer's range
    Numbered numbered;
    int first, last;  // the numbers of a numbered row
    std::string_view writer;

    std::string sectionName(int n = 0) const;
    std::string keyName(int n = 0) const;
    // Whether N is one of the row's numbers (always true for a row that is not numbered).
    bool hasNumber(int n) const;
    int defaultFor(int n = 0) const { return defaultValue + defaultStep * (n - first); }
};

namespace setting {

using T = SettingKey::Type;
using N = SettingKey::Numbered;
constexpr int kAny = INT_MIN, kAll = INT_MAX;

// clang-format off
// [Settings]: the player's switches, name and display.
inline constexpr SettingKey kFirst       {"Settings", "First",       T::Bool,    1,  0, "", kAny, kAll, N::No, 0, 0, "the name panel's Ok, and the first release of Play"};
inline constexpr SettingKey kSound       {"Settings", "Sound",       T::Bool,    1,  0, "", kAny, kAll, N::No, 0, 0, "the menu's sound switch"};
inline constexpr SettingKey kMusic       {"Settings", "Music",       T::Bool,    1,  0, "", kAny, kAll, N::No, 0, 0, "the menu's music switch"};
inline constexpr SettingKey kMusicVolume {"Settings", "MusicVolume", T::Integer, 10, 0, "", 0,    10,   N::No, 0, 0, "a volume step of either switch, with SoundVolume"};
inline constexpr SettingKey kSoundVolume {"Settings", "SoundVolume", T::Integer, 10, 0, "", 0,    10,   N::No, 0, 0, "a volume step of either switch, with MusicVolume"};
inline constexpr SettingKey kCalm        {"Settings", "Calm",        T::Bool,    0,  0, "", kAny, kAll, N::No, 0, 0, "the menu's calm switch"};
inline constexpr SettingKey kName        {"Settings", "Name",        T::String,  0,  0, "", kAny, kAll, N::No, 0, 0, "the name panel's Ok"};
inline constexpr SettingKey kLanguage    {"Settings", "Language",    T::String,  0,  0, "", kAny, kAll, N::No, 0, 0, "the player, by hand"};
inline constexpr SettingKey kScale       {"Settings", "Scale",       T::Integer, 0,  0, "", 0,    4,    N::No, 0, 0, "Ctrl+plus, Ctrl+minus, Ctrl+0"};
inline constexpr SettingKey kFullscreen  {"Settings", "Fullscreen",  T::Bool,    0,  0, "", kAny, kAll, N::No, 0, 0, "F11, Alt+Enter"};
// [Keys]: the keys of play, each one or more of the desktop's key names.
inline constexpr SettingKey kKeyLeft     {"Keys", "Left",   T::String, 0, 0, "Left KP_4",   kAny, kAll, N::No, 0, 0, "the keys page"};
inline constexpr SettingKey kKeyRight    {"Keys", "Right",  T::String, 0, 0, "Right KP_6",  kAny, kAll, N::No, 0, 0, "the keys page"};
inline constexpr SettingKey kKeyRotate   {"Keys", "Rotate", T::String, 0, 0, "Down KP_5",   kAny, kAll, N::No, 0, 0, "the keys page"};
inline constexpr SettingKey kKeyLaunch   {"Keys", "Launch", T::String, 0, 0, "Up space",    kAny, kAll, N::No, 0, 0, "the keys page"};
inline constexpr SettingKey kKeyMenu     {"Keys", "Menu",   T::String, 0, 0, "Escape Menu", kAny, kAll, N::No, 0, 0, "the keys page"};
// [Stats]: the player's figures over every game, added to at the end of each game.
inline constexpr SettingKey kStatGames   {"Stats", "Played",   T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatLost    {"Stats", "Lost",     T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatPoints  {"Stats", "Points",   T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatBest    {"Stats", "Best",     T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatChain   {"Stats", "Chain",    T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatGems    {"Stats", "Gems",     T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatLevel   {"Stats", "Level",    T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatBombs   {"Stats", "Bombs",    T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatJokers  {"Stats", "Jokers",   T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
inline constexpr SettingKey kStatSeconds {"Stats", "Seconds",  T::Integer, 0, 0, "", 0, kAll, N::No, 0, 0, "the end of a game"};
// [Scoreline1] .. [Scoreline10]: the high-score table, best first.
inline constexpr SettingKey kLineName    {"Scoreline", "Name",       T::String,  0,  0,     "Tivane", kAny, kAll, N::Section, 1, 10, "a score entering the table"};
inline constexpr SettingKey kLineScore   {"Scoreline", "Score",      T::Integer, 10000, -1000, "",    kAny, kAll, N::Section, 1, 10, "a score entering the table"};
// The saved game, written whole at every close.
inline constexpr SettingKey kShape       {"Gemshape",     "Shape",      T::Integer, 0,  0, "", kAny, kAll, N::Key,       1, 3,   "the close"};
inline constexpr SettingKey kNextShape   {"Nextgemshape", "Nextshape",  T::Integer, 0,  0, "", kAny, kAll, N::Key,       1, 3,   "the close"};
inline constexpr SettingKey kStage       {"Techinfo",     "Stage",      T::Integer, 1,  0, "", kAny, kAll, N::No,        0, 0,   "the close"};
inline constexpr SettingKey kGemsLeft    {"Techinfo",     "Gemsleft",   T::Integer, 20, 0, "", kAny, kAll, N::No,        0, 0,   "the close"};
inline constexpr SettingKey kScore       {"Techinfo",     "Score",      T::Integer, 0,  0, "", kAny, kAll, N::No,        0, 0,   "the close"};
inline constexpr SettingKey kBlocks      {"Techinfo",     "Blocks",     T::Integer, 6,  0, "", kAny, kAll, N::No,        0, 0,   "the close"};
inline constexpr SettingKey kBackground  {"Techinfo",     "Background", T::Integer, 0,  0, "", kAny, kAll, N::No,        0, 0,   "the close"};
inline constexpr SettingKey kTotal       {"Techinfo",     "Total",      T::Integer, 0,  0, "", kAny, kAll, N::No,        0, 0,   "the close"};
inline constexpr SettingKey kGem         {"Gembox",       "Gem",        T::Integer, 0,  0, "", kAny, kAll, N::BoardCell, 2, 100, "the close"};
// clang-format on

// Every row, in the order of the file's sections: a new key is its row above and its name here.
// clang-format off
inline constexpr const SettingKey* kRows[] = {
    &kFirst, &kSound, &kMusic, &kMusicVolume, &kSoundVolume, &kCalm, &kName, &kLanguage, &kScale,
    &kFullscreen,
    &kKeyLeft, &kKeyRight, &kKeyRotate, &kKeyLaunch, &kKeyMenu,
    &kStatGames, &kStatLost, &kStatPoints, &kStatBest, &kStatChain, &kStatGems, &kStatLevel,
    &kStatBombs, &kStatJokers, &kStatSeconds,
    &kLineName, &kLineScore,
    &kShape, &kNextShape, &kStage, &kGemsLeft, &kScore, &kBlocks, &kBackground, &kTotal, &kGem,
};
// clang-format on

}  // namespace setting

// Every row, in the order of the file's sections.
std::span<const SettingKey* const> settingsSchema();
// The row of SECTION and KEY as the file spells them, with the number they carry (0 for none).
struct SchemaMatch {
    const SettingKey* row;
    int number;
};
std::optional<SchemaMatch> findSetting(std::string_view section, std::string_view key);

// Reads through a row: a missing value, one that is no number, or one outside the row's range
// gives the row's default. N is the number of a numbered row.
int readSetting(const Profile& profile, const SettingKey& row, int n = 0);
bool readSettingBool(const Profile& profile, const SettingKey& row, int n = 0);
std::string readSettingText(const Profile& profile, const SettingKey& row, int n = 0);
// Writes through a row, as the file has always held it (bools as 1 or 0). Throws as Profile's
// writes do.
void writeSetting(Profile& profile, const SettingKey& row, int value, int n = 0);
void writeSettingBool(Profile& profile, const SettingKey& row, bool value, int n = 0);
void writeSettingText(Profile& profile, const SettingKey& row, const std::string& value, int n = 0);

}  // namespace lumcrest
