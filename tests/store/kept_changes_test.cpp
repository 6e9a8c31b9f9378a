// Changes the player made while the file could not take them: a file size limit, a read that
// fails in the middle of a run, a full disk, the lock held elsewhere, the file or its folder gone.
// Each change stays until a write reaches the file, and that write carries all of them.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "store/ini_text.h"
#include "store/profile.h"
#include "tests/support/lock_holder.h"
#include "tests/support/settings_home.h"
#include "toolkit/error.h"

namespace lumcrest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Ten score lines and a name, as a player's file holds them.
std::string fullTable() {
    std::string t = "[Settings]\nFirst=0\nName=Ada\n";
    for (int k = 1; k <= 10; ++k)
        t += "[Scoreline" + std::to_string(k) + "]\nName=P" + std::to_string(k) +
             "\nScore=" + std::to_string(50000 - k) + "\n";
    return t;
}

struct Home : lumcrest::testing::SettingsHome {
    Home() : SettingsHome(fullTable().c_str()) {}
    std::optional<std::string> value(const std::string& section, const std::string& key) const {
        return iniLookUp(text(), section, key);
    }
    // Whether every score line of fullTable() is still in the file.
    bool tableKept() const {
        for (int k = 1; k <= 10; ++k)
            if (value("Scoreline" + std::to_string(k), "Score") != std::to_string(50000 - k))
                return false;
        return true;
    }
    std::string strays() const {
        std::string out;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (name != "lumcrest.ini" && name != "lumcrest.ini.lock") out += name + " ";
        }
        return out;
    }
};

// The game's start: one read of the file serves it.
void start(Profile& p) {
    p.holdReading();
    p.releaseReading();
}

// The message of the write's refusal, or "" when it went through.
std::string refusal(const std::function<void()>& write) {
    try {
        write();
    } catch (const tk::Error& e) {
        return e.what();
    }
    return "";
}

TEST(FileSizeLimit, AWritePastTheLimitIsRefusedWithItsReasonAndKeptForTheNextWrite) {
    Home h;
    const pid_t child = ::fork();
    if (child == 0) {
        Profile p(h.file.string());
        start(p);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t hard = limit.rlim_max;
        limit.rlim_cur = 100;  // less than the file the write makes
        ::setrlimit(RLIMIT_FSIZE, &limit);
        keepRunningPastFileSizeLimit();
        EXPECT_EQ(refusal([&] { p.writeString("Settings", "Name", "Bob"); }),
                  "Unable to write to " + h.file.string() +
                      ": the file would pass the size limit set for the game");
        EXPECT_EQ(h.text(), fullTable());
        EXPECT_EQ(h.strays(), "");
        limit.rlim_cur = hard;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_EQ(refusal([&] { p.writeBool("Settings", "Music", false); }), "");
        EXPECT_EQ(h.value("Settings", "Name"), "Bob");
        EXPECT_EQ(h.value("Settings", "Music"), "0");
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The start read the file; later a read fails (here a folder stands in its place for a while):
// that write alone fails, with the reason, and saving goes on once the file reads again.
TEST(RunReads, AReadThatFailsInARunFailsThatWriteAloneAndTheNextCarriesIt) {
    Home h;
    Profile p(h.file.string());
    start(p);
    const fs::path aside = h.dir / "aside";
    fs::rename(h.file, aside);
    fs::create_directory(h.file);
    EXPECT_EQ(refusal([&] { p.writeBool("Settings", "Music", false); }),
              "Unable to write to " + h.file.string() + ": it is a folder");
    EXPECT_EQ(p.unreadable(), "") << "the start alone decides that nothing is saved";
    EXPECT_TRUE(fs::is_directory(h.file));
    fs::remove(h.file);
    fs::rename(aside, h.file);
    EXPECT_EQ(refusal([&] { p.writeBool("Settings", "Sound", false); }), "");
    EXPECT_EQ(h.value("Settings", "Music"), "0");
    EXPECT_EQ(h.value("Settings", "Sound"), "0");
    EXPECT_TRUE(h.tableKept());
}

// Plain writes and batches, refused by a full disk or by the lock held elsewhere (the batch then
// cannot even read the file), all go into the file with the next write that goes through, in
// their order; a batch that could not read the file still reads what the game holds.
TEST(Kept, EveryRefusedWriteGoesWithTheNextWriteInItsOrder) {
    Home h;
    Profile p(h.file.string());
    p.setLockWait(50ms);
    start(p);
    p.simulateWriteError(ENOSPC);
    EXPECT_NE(refusal([&] { p.writeString("Settings", "Name", "Bob"); }), "");
    EXPECT_NE(refusal([&] {
                  Profile::Batch batch(p);
                  p.writeInteger("Settings", "MusicVolume", 3);
                  p.writeInteger("Settings", "SoundVolume", 4);
                  batch.commit();
              }),
              "");
    p.simulateWriteError(0);
    {
        lumcrest::testing::LockHolder other(h.lock.string());
        EXPECT_EQ(refusal([&] {
                      Profile::Batch batch(p);
                      EXPECT_EQ(p.readString("Settings", "Name", ""), "Bob");
                      EXPECT_EQ(p.readInteger("Scoreline3", "Score", 0), 49997);
                      p.writeString("Settings", "Name", "Cy");
                      p.writeBool("Settings", "Calm", true);
                      batch.commit();
                  }),
                  "Unable to write to " + h.file.string() +
                      ": the settings file is locked by another copy of the game");
    }
    EXPECT_EQ(h.text(), fullTable()) << "nothing reached the file yet";
    EXPECT_TRUE(p.hasUnwritten());
    EXPECT_EQ(refusal([&] { p.writeBool("Settings", "Music", false); }), "");
    EXPECT_FALSE(p.hasUnwritten());
    EXPECT_EQ(h.value("Settings", "Name"), "Cy") << "the later name wins";
    EXPECT_EQ(h.value("Settings", "MusicVolume"), "3");
    EXPECT_EQ(h.value("Settings", "SoundVolume"), "4");
    EXPECT_EQ(h.value("Settings", "Calm"), "1");
    EXPECT_EQ(h.value("Settings", "Music"), "0");
    EXPECT_TRUE(h.tableKept());
}

// The file, or its whole folder, deleted during the run: the next write puts back everything the
// game holds (what it read at the start and every change since), not the last change alone.
TEST(Vanished, AFileOrFolderGoneInARunIsWrittenWholeFromWhatTheGameHolds) {
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "the folder" : "the file");
        Home h;
        Profile p(h.file.string());
        start(p);
        p.writeString("Settings", "Name", "Bob");
        p.simulateWriteError(ENOSPC);
        EXPECT_NE(refusal([&] { p.writeBool("Settings", "Sound", false); }), "");
        p.simulateWriteError(0);
        if (folder)
            fs::remove_all(h.dir);
        else
            fs::remove(h.file);
        EXPECT_EQ(refusal([&] { p.writeBool("Settings", "Music", false); }), "");
        EXPECT_EQ(h.value("Settings", "First"), "0");
        EXPECT_EQ(h.value("Settings", "Name"), "Bob");
        EXPECT_EQ(h.value("Settings", "Sound"), "0");
        EXPECT_EQ(h.value("Settings", "Music"), "0");
        EXPECT_TRUE(h.tableKept());
    }
}

}  // namespace
}  // namespace lumcrest
