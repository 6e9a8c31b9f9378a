// The fatal paths save the game in progress before the program ends: an exception nothing caught
// and an abort in the game's own code, on the loop's thread. An abort on another thread, where
// the game's state may be half changed, saves nothing.
#include "app/last_words.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace {

namespace fs = std::filesystem;

class LastWords : public ::testing::Test {
  protected:
    void SetUp() override {
        marker_ = fs::temp_directory_path() /
                  ("lumcrest-last-words-" + std::to_string(::getpid()) + ".txt");
        fs::remove(marker_);
    }
    void TearDown() override { fs::remove(marker_); }
    // What the save does here: leaves a file behind and says so.
    void armSave() {
        lumcrest::saveOnFatalPaths([path = marker_] {
            std::ofstream(path) << "saved\n";
            std::fputs("lumcrest: saved\n", stderr);
        });
    }
    bool saved() const { return fs::exists(marker_); }
    fs::path marker_;
};

void (*volatile fail)() = [] { throw std::runtime_error("the board is gone"); };

// An exception reaching a function that lets none out: std::terminate, as for one that escapes
// the loop.
void failUncaught() noexcept {
    fail();
}

TEST_F(LastWords, AnExceptionNothingCaughtSavesThenAborts) {
    EXPECT_EXIT(
        {
            armSave();
            failUncaught();
        },
        ::testing::KilledBySignal(SIGABRT), "the game failed: the board is gone\n.*saved");
    EXPECT_TRUE(saved());
}

TEST_F(LastWords, AnAbortOnTheLoopsThreadSavesThenAborts) {
    EXPECT_EXIT(
        {
            armSave();
            std::abort();
        },
        ::testing::KilledBySignal(SIGABRT), "saved");
    EXPECT_TRUE(saved());
}

TEST_F(LastWords, AnAbortElsewhereOrAfterTheCloseSavesNothing) {
    EXPECT_EXIT(
        {
            armSave();
            std::thread([] { std::abort(); }).join();
        },
        ::testing::KilledBySignal(SIGABRT), "");
    EXPECT_FALSE(saved()) << "saved from a sound thread";
    EXPECT_EXIT(
        {
            armSave();
            lumcrest::stopSavingOnFatalPaths();
            std::abort();
        },
        ::testing::KilledBySignal(SIGABRT), "");
    EXPECT_FALSE(saved()) << "saved after the game had closed";
}

}  // namespace
