// The [Keys] and [Stats] sections: key names read as the desktop writes them and written back
// the same; the figures merged with what another copy of the game added meanwhile, and kept
// through a write that failed until one succeeds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>

#include "store/key_bindings.h"
#include "store/play_stats.h"
#include "toolkit/key_names.h"

namespace lumcrest {
namespace {

namespace fs = std::filesystem;

class KeysAndStatsFile : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("lumcrest-keystats-" + std::to_string(::getpid()));
    std::string path = (dir / "lumcrest.ini").string();
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& text) { std::ofstream(path) << text; }
};

TEST(KeyNames, EveryNamedKeyReadsBackUnderTheNameItIsWrittenAs) {
    for (int vk = 1; vk < 256; ++vk) {
        const std::string name = tk::keyName(vk);
        if (!name.empty()) {
            EXPECT_EQ(tk::keyFromName(name), vk) << name;
        }
    }
    EXPECT_EQ(tk::keyFromName("a"), tk::keyFromName("A"));
    EXPECT_EQ(tk::keyFromName("KP_4"), 100);
    EXPECT_EQ(tk::keyFromName("Page_Up"), tk::keyFromName("Prior"));
    for (const char* bad : {"", "KP_10", "KP_04", "F0", "F13", "F01", "Space", "left", "AB"})
        EXPECT_EQ(tk::keyFromName(bad), 0) << bad;
}

TEST_F(KeysAndStatsFile, KeysReadWithTheirDefaultsAndABadValueFallsBackAlone) {
    std::vector<std::string> bad;
    EXPECT_EQ(readKeyBindings(Profile(path), &bad), KeyBindings::defaults());
    EXPECT_TRUE(bad.empty());
    write("[Keys]\nLeft=a  KP_1\nRight=\nRotate=Down Nope\nMenu=F1\n");
    Profile file(path);
    const KeyBindings keys = readKeyBindings(file, &bad);
    EXPECT_EQ(keys.names(KeyAction::Left), "A KP_1");
    EXPECT_EQ(keys.of(KeyAction::Right), KeyBindings::defaults().of(KeyAction::Right));
    EXPECT_EQ(keys.of(KeyAction::Rotate), KeyBindings::defaults().of(KeyAction::Rotate));
    EXPECT_EQ(keys.names(KeyAction::Menu), "F1");
    EXPECT_EQ(bad, (std::vector<std::string>{"Right=", "Rotate=Down Nope"}));
    EXPECT_EQ(keys.actionOf(65), KeyAction::Left);
    EXPECT_FALSE(keys.actionOf(37));  // the arrow went with the player's choice
    writeKeyBindings(file, keys);
    EXPECT_EQ(readKeyBindings(Profile(path)), keys);
}

TEST_F(KeysAndStatsFile, FiguresMergeWithAnotherCopysAndSurviveAFailedWrite) {
    Profile mine(path);
    PlayStats game;
    game.played = 1;
    game.points = 500;
    game.best = 500;
    game.chain = 4;
    addPlayStats(mine, game);
    // Another copy of the game ends a better game meanwhile.
    Profile other(path);
    PlayStats theirs;
    theirs.played = 1;
    theirs.lost = 1;
    theirs.points = 900;
    theirs.best = 900;
    theirs.chain = 2;
    addPlayStats(other, theirs);
    // This copy's next game cannot be written now: it waits, and goes in with the next write.
    mine.simulateWriteError(ENOSPC);
    EXPECT_ANY_THROW(addPlayStats(mine, game));
    EXPECT_TRUE(mine.hasUnwritten());
    mine.simulateWriteError(0);
    mine.writeUnwritten();
    const PlayStats all = readPlayStats(Profile(path));
    EXPECT_EQ(all.played, 3);
    EXPECT_EQ(all.lost, 1);
    EXPECT_EQ(all.points, 1900);
    EXPECT_EQ(all.best, 900);
    EXPECT_EQ(all.chain, 4);
    // Counts stop at the largest number the file takes rather than wrapping round.
    PlayStats huge;
    huge.points = INT_MAX;
    EXPECT_EQ(all.plus(huge).points, INT_MAX);
    // A damaged figure reads as 0, the others stay.
    write("[Stats]\nPlayed=-4\nGems=x\nBest=77\n");
    const PlayStats damaged = readPlayStats(Profile(path));
    EXPECT_EQ(damaged.played, 0);
    EXPECT_EQ(damaged.gems, 0);
    EXPECT_EQ(damaged.best, 77);
}

}  // namespace
}  // namespace lumcrest
