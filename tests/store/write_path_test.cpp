// The settings file's write as the system sees it: the calls it makes and their order, and what a
// failing disk or an interrupted write leaves behind. The calls are watched by syscall_shim.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/profile.h"
#include "tests/store/syscall_shim.h"
#include "tests/support/settings_home.h"
#include "toolkit/error.h"

namespace lumcrest {
namespace {

namespace fs = std::filesystem;
namespace shim = lumcrest::testing::shim;

struct Home : lumcrest::testing::SettingsHome {
    explicit Home(bool withFile = true)
        : SettingsHome(withFile ? "[Settings]\nName=Ada\n" : nullptr) {}
    ~Home() { shim::stop(); }
    // Names in the folder other than the settings file and its lock.
    std::string strays() const {
        std::string out;
        for (const auto& e : fs::directory_iterator(dir)) {
            std::string name = e.path().filename().string();
            if (name != "lumcrest.ini" && name != "lumcrest.ini.lock") out += name + " ";
        }
        return out;
    }
    void watch(shim::Faults faults = {}) { shim::watch(dir.string(), "lumcrest.ini", faults); }
};

// The message of the write's refusal, or "" when it went through.
std::string refusal(Profile& p, const std::string& name = "Bob") {
    try {
        p.writeString("Settings", "Name", name);
    } catch (const tk::Error& e) {
        return e.what();
    }
    return "";
}

// The order that makes a crash at any moment leave the old file or the new one whole: the new
// text written and synced, its file closed, renamed over the old one, the folder synced, and all
// of it under the lock, which goes only once the rename is done.
TEST(WritePath, DataIsSyncedAndClosedBeforeTheRenameAndTheLockGoesAfterIt) {
    for (bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "replacing the file" : "creating it");
        Home h(existing);
        Profile p(h.file.string());
        h.watch();
        ASSERT_EQ(refusal(p), "");
        std::vector<shim::Call> calls = shim::stop();
        EXPECT_EQ(shim::trace(calls),
                  "flock lock, write new, fsync new, close new, rename new ini, fsync dir, "
                  "close dir, close lock");
        for (const shim::Call& c : calls) {
            if (c.name == "write" || c.name == "fsync" || c.name == "rename") {
                EXPECT_TRUE(c.locked) << c.name << " " << c.what << " without the lock";
            }
            if (c.name != "unlink") {  // an unlink of nothing is harmless
                EXPECT_GE(c.result, 0) << c.name << " " << c.what;
            }
        }
        EXPECT_FALSE(shim::lockHeld(h.lock.string())) << "the lock is kept after the write";
        EXPECT_EQ(h.text(), "[Settings]\nName=Bob\n");
        EXPECT_EQ(h.strays(), "");
    }
}

// A batch holds the lock from its read to its rename, and lets it go however it ends.
TEST(WritePath, ABatchHoldsTheLockThroughoutAndLetsItGoHoweverItEnds) {
    Home h;
    Profile p(h.file.string());
    p.beginBatch();
    EXPECT_TRUE(shim::lockHeld(h.lock.string()));
    p.writeString("Settings", "Name", "Cy");
    p.writeInteger("Scoreline1", "Score", 5);
    EXPECT_TRUE(shim::lockHeld(h.lock.string()));
    EXPECT_EQ(h.text(), "[Settings]\nName=Ada\n") << "nothing is written before the commit";
    p.commitBatch();
    EXPECT_FALSE(shim::lockHeld(h.lock.string()));
    EXPECT_EQ(h.text(), "[Settings]\nName=Cy\n[Scoreline1]\nScore=5\n");

    p.beginBatch();
    p.writeString("Settings", "Name", "Dee");
    p.abandonBatch();
    EXPECT_FALSE(shim::lockHeld(h.lock.string()));

    // A commit that fails lets go too: the next copy of the game is not kept waiting.
    h.watch({.fsyncError = EIO});
    p.beginBatch();
    p.writeString("Settings", "Name", "Eve");
    EXPECT_THROW(p.commitBatch(), tk::Error);
    shim::stop();
    EXPECT_FALSE(shim::lockHeld(h.lock.string())) << "the lock is kept after a failed write";
    Profile other(h.file.string());
    other.setLockWait(std::chrono::milliseconds(0));
    EXPECT_EQ(refusal(other, "Fay"), "");
    EXPECT_EQ(other.readString("Settings", "Name", ""), "Fay");
}

// A sync or a close that fails means the new text may not be on the disk: the write is refused
// with the reason, nothing is renamed, and the old file and no temporary stay.
TEST(WritePath, AFailedSyncOrCloseIsReportedAndLeavesTheOldFileWhole) {
    struct Case {
        const char* what;
        shim::Faults faults;
        std::string reason;
    };
    const Case cases[] = {
        {"sync", {.fsyncError = EIO}, std::strerror(EIO)},
        {"close", {.closeError = EIO}, std::strerror(EIO)},
        {"close on a full disk", {.closeError = ENOSPC}, "the disk is full"},
        {"writes that write nothing", {.writesGiveNothing = true}, "the disk is full"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Home h;
        Profile p(h.file.string());
        h.watch(c.faults);
        EXPECT_EQ(refusal(p), "Unable to write to " + h.file.string() + ": " + c.reason);
        std::string calls = shim::trace(shim::stop());
        EXPECT_EQ(calls.find("rename"), std::string::npos) << calls;
        EXPECT_EQ(h.text(), "[Settings]\nName=Ada\n");
        EXPECT_EQ(h.strays(), "");
        EXPECT_FALSE(shim::lockHeld(h.lock.string()));
        EXPECT_EQ(refusal(p, "Gus"), "") << "the next write goes through";
        EXPECT_EQ(h.text(), "[Settings]\nName=Gus\n");
    }
}

// Writes the system cuts short or interrupts are carried on until the whole text is written.
TEST(WritePath, ShortAndInterruptedWritesStillWriteTheWholeText) {
    const std::string name = "A name long enough to need many short writes";
    for (shim::Faults faults : {shim::Faults{.writeChunk = 3}, shim::Faults{.interruptedWrites = 4},
                                shim::Faults{.writeChunk = 1, .interruptedWrites = 1}}) {
        Home h;
        Profile p(h.file.string());
        h.watch(faults);
        EXPECT_EQ(refusal(p, name), "");
        shim::stop();
        EXPECT_EQ(h.text(), "[Settings]\nName=" + name + "\n");
        EXPECT_EQ(h.strays(), "");
    }
}

}  // namespace
}  // namespace lumcrest
