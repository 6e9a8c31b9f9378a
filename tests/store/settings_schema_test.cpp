// The one table of the settings file's sections and keys, walked against the file the game
// leaves after a first start, a confirmed empty name and one game that entered the table, and
// against a file with every key out of its range.
#include "store/settings_schema.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace lumcrest {
namespace {

namespace fs = std::filesystem;

// Every key the table knows, each number of a numbered row once.
std::vector<SchemaMatch> everyKey() {
    std::vector<SchemaMatch> keys;
    for (const SettingKey* row : settingsSchema()) {
        if (row->numbered == SettingKey::Numbered::No) {
            keys.push_back({row, 0});
            continue;
        }
        for (int n = row->first; n <= row->last; ++n)
            if (row->hasNumber(n)) keys.push_back({row, n});
    }
    return keys;
}

class SettingsSchema : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("lumcrest-schema-" + std::to_string(::getpid()));
    std::string path = (dir / "lumcrest.ini").string();
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string text() {
        std::stringstream s;
        s << std::ifstream(path, std::ios::binary).rdbuf();
        return s.str();
    }
};

TEST_F(SettingsSchema, EveryRowIsWholeAndNamesOneKeyOfItsOwn) {
    std::set<std::pair<std::string, std::string>> seen;
    for (const SchemaMatch& k : everyKey()) {
        const SettingKey& row = *k.row;
        EXPECT_FALSE(row.writer.empty()) << row.key;
        EXPECT_LE(row.min, row.max) << row.key;
        if (row.type != SettingKey::Type::String) {
            EXPECT_GE(row.defaultFor(k.number), row.min) << row.key;
            EXPECT_LE(row.defaultFor(k.number), row.max) << row.key;
        }
        const auto name = std::make_pair(row.sectionName(k.number), row.keyName(k.number));
        EXPECT_TRUE(seen.insert(name).second) << name.first << " " << name.second;
        // The file's spelling leads back to the same row and number.
        auto found = findSetting(name.first, name.second);
        ASSERT_TRUE(found) << name.first << " " << name.second;
        EXPECT_EQ(found->row, k.row);
        EXPECT_EQ(found->number, k.number);
    }
    // The saved game's 102 keys, the score lines' 20, the ten of [Settings], the five keys of
    // play and the ten figures of [Stats].
    EXPECT_EQ(seen.size(), 102u + 20u + 10u + 5u + 10u);
    EXPECT_FALSE(findSetting("Gembox", "Gem11"));  // the launch row is never stored
    EXPECT_FALSE(findSetting("Scoreline11", "Name"));
    EXPECT_FALSE(findSetting("Scoreline01", "Name"));
    EXPECT_FALSE(findSetting("Settings", "Volume"));
}

TEST_F(SettingsSchema, TheFileOfAFirstGameReadsBackAsWrittenAndTheRestAsDefaults) {
    // After a first start, a confirmed empty name and one game of 4200 points.
    std::string file = "[Settings]\nFirst=0\nName=Player\n";
    for (int k = 1; k <= 10; ++k) {
        const bool mine = k == 7;
        const int score = mine ? 4200 : 10000 - 1000 * (k - 1 - (k > 7 ? 1 : 0));
        file += "[Scoreline" + std::to_string(k) + "]\nName=" + (mine ? "Player" : "Tivane") +
                "\nScore=" + std::to_string(score) + "\n";
    }
    write(file);
    Profile p(path);
    IniDocument doc(file);
    for (const SchemaMatch& k : everyKey()) {
        const SettingKey& row = *k.row;
        auto written = doc.lookUp(row.sectionName(k.number), row.keyName(k.number));
        const std::string name = row.sectionName(k.number) + "/" + row.keyName(k.number);
        if (row.type == SettingKey::Type::String) {
            EXPECT_EQ(readSettingText(p, row, k.number),
                      written ? *written : std::string(row.defaultText))
                << name;
        } else {
            EXPECT_EQ(readSetting(p, row, k.number),
                      written ? std::stoi(*written) : row.defaultFor(k.number))
                << name;
        }
    }
    EXPECT_TRUE(readSettingBool(p, setting::kSound));  // Sound and Music: only after a press
    EXPECT_FALSE(readSettingBool(p, setting::kFirst));
    EXPECT_EQ(readSetting(p, setting::kLineScore, 8), 4000);
    // Written through the table in the game's order, the same keys give the same bytes.
    fs::remove(path);
    writeSettingBool(p, setting::kFirst, false);
    writeSettingText(p, setting::kName, "Player");
    for (int k = 1; k <= 10; ++k) {
        const std::string line = "Scoreline" + std::to_string(k);
        writeSettingText(p, setting::kLineName, *doc.lookUp(line, "Name"), k);
        writeSetting(p, setting::kLineScore, std::stoi(*doc.lookUp(line, "Score")), k);
    }
    EXPECT_EQ(text(), file);
}

TEST_F(SettingsSchema, EveryKeyOutOfItsRangeReadsAsItsDefault) {
    const std::string tooLong(3000, 'x');
    std::string file;
    std::string section;
    for (const SchemaMatch& k : everyKey()) {
        const SettingKey& row = *k.row;
        if (row.sectionName(k.number) != section) {
            section = row.sectionName(k.number);
            file += "[" + section + "]\n";
        }
        std::string value;
        if (row.type == SettingKey::Type::String)
            value = tooLong;
        else if (row.max < INT_MAX)
            value = std::to_string(static_cast<long long>(row.max) + 1);
        else
            value = "4294967296";  // beyond 32 bits: no number the file may hold
        file += row.keyName(k.number) + "=" + value + "\n";
    }
    write(file);
    Profile p(path);
    Profile::Reading once(p);
    for (const SchemaMatch& k : everyKey()) {
        const SettingKey& row = *k.row;
        const std::string name = row.sectionName(k.number) + "/" + row.keyName(k.number);
        if (row.type == SettingKey::Type::String)  // a string too long is cut, not dropped
            EXPECT_EQ(readSettingText(p, row, k.number), tooLong.substr(0, 2047)) << name;
        else
            EXPECT_EQ(readSetting(p, row, k.number), row.defaultFor(k.number)) << name;
    }
    // Below the range too.
    write("[Settings]\nMusicVolume=-1\nSoundVolume=11\nScale=-1\n");
    Profile below(path);
    EXPECT_EQ(readSetting(below, setting::kMusicVolume), 10);
    EXPECT_EQ(readSetting(below, setting::kSoundVolume), 10);
    EXPECT_EQ(readSetting(below, setting::kScale), 0);
}

}  // namespace
}  // namespace lumcrest
