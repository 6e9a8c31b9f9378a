// The lock that keeps two copies of the game from writing at once, and the words a refused write
// says: a lock file that is no file, a lock another copy holds, a full disk, no permission.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/profile.h"
#include "tests/support/lock_holder.h"
#include "tests/support/settings_home.h"
#include "toolkit/error.h"

namespace lumcrest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using lumcrest::testing::LockHolder;

struct Home : lumcrest::testing::SettingsHome {
    Home() : SettingsHome("[Settings]\nName=Ada\n") {}
};

// The message of the write's refusal, or "" when the write went through.
std::string refusal(Profile& p) {
    try {
        p.writeString("Settings", "Name", "Bob");
    } catch (const tk::Error& e) {
        return e.what();
    }
    return "";
}

TEST(LockFile, AFolderALinkOrAPipeInItsPlaceStopsTheWriteAndSaysSo) {
    for (const char* kind : {"folder", "link", "pipe"}) {
        Home h;
        fs::path elsewhere = h.dir / "elsewhere";
        if (kind == std::string("folder"))
            fs::create_directory(h.lock);
        else if (kind == std::string("link"))
            fs::create_symlink(elsewhere, h.lock);
        else
            ASSERT_EQ(::mkfifo(h.lock.c_str(), 0600), 0);
        Profile p(h.file.string());
        EXPECT_EQ(refusal(p), "Unable to write to " + h.file.string() + ": the lock file " +
                                  h.lock.string() + " is not a regular file")
            << kind;
        EXPECT_EQ(h.text(), "[Settings]\nName=Ada\n") << kind << ": nothing is written unlocked";
        EXPECT_FALSE(fs::exists(elsewhere)) << "the link is not followed";
    }
}

TEST(LockFile, ALockHeldByAnotherCopyPastTheWaitIsNamedAsTheReason) {
    Home h;
    Profile p(h.file.string());
    p.setLockWait(150ms);
    {
        LockHolder other(h.lock);
        EXPECT_EQ(refusal(p), "Unable to write to " + h.file.string() +
                                  ": the settings file is locked by another copy of the game");
        EXPECT_EQ(h.text(), "[Settings]\nName=Ada\n");
    }
    EXPECT_EQ(refusal(p), "") << "once the other copy lets go, the write goes through";
    EXPECT_EQ(p.readString("Settings", "Name", ""), "Bob");
}

TEST(DiskFaults, AFullDiskIsNamedAndLeavesTheOldFileAndNoTemporary) {
    Home h;
    Profile p(h.file.string());
    p.simulateWriteError(ENOSPC);
    EXPECT_EQ(refusal(p), "Unable to write to " + h.file.string() + ": the disk is full");
    p.simulateWriteError(EIO);
    EXPECT_EQ(refusal(p), "Unable to write to " + h.file.string() + ": " + std::strerror(EIO));
    EXPECT_EQ(h.text(), "[Settings]\nName=Ada\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(h.dir), fs::directory_iterator()), 2)
        << "the file and its lock only";
}

// Changes kept until written are made again, to what the file holds then, at the next write
// that goes through, and only once.
TEST(Unwritten, AKeptChangeGoesWithTheNextWriteOnTopOfOtherCopiesChanges) {
    Home h;
    Profile p(h.file.string());
    p.setLockWait(50ms);
    auto addOne = [](Profile& q) {
        q.writeInteger("Count", "N", q.readInteger("Count", "N", 0) + 1);
    };
    p.keepUntilWritten(addOne);
    {
        LockHolder other(h.lock);
        EXPECT_THROW(p.writeUnwritten(), tk::Error);
        EXPECT_THROW(p.writeBool("Settings", "Sound", false), tk::Error);
    }
    EXPECT_TRUE(p.hasUnwritten());
    Profile(h.file.string()).writeInteger("Count", "N", 40);  // another copy, meanwhile
    p.writeBool("Settings", "Sound", false);
    EXPECT_FALSE(p.hasUnwritten());
    p.writeBool("Settings", "Music", false);
    EXPECT_EQ(p.readInteger("Count", "N", 0), 41);
    EXPECT_FALSE(p.readBool("Settings", "Sound", true));
}

// --- Permission cases: run as an ordinary user (see store.permissions_as_an_ordinary_user).

#define SKIP_AS_ROOT() \
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bite as root"

TEST(Unprivileged, ALockFileTheUserMayNotOpenStopsTheWrite) {
    SKIP_AS_ROOT();
    Home h;
    std::ofstream(h.lock).close();
    fs::permissions(h.lock, fs::perms::owner_read);
    Profile p(h.file.string());
    EXPECT_EQ(refusal(p), "Unable to write to " + h.file.string() + ": the lock file " +
                              h.lock.string() + " cannot be opened: permission denied");
    EXPECT_EQ(h.text(), "[Settings]\nName=Ada\n");
}

TEST(Unprivileged, AFolderTheUserMayNotWriteSaysPermissionDenied) {
    SKIP_AS_ROOT();
    Home h;
    std::ofstream(h.lock).close();
    fs::permissions(h.dir, fs::perms::owner_read | fs::perms::owner_exec);
    Profile p(h.file.string());
    EXPECT_EQ(refusal(p), "Unable to write to " + h.file.string() + ": permission denied");
    EXPECT_EQ(h.text(), "[Settings]\nName=Ada\n");
}

}  // namespace
}  // namespace lumcrest
