// Closing the window: a bar in flight is saved as waiting, and a save that cannot be written is
// shown before the window goes.
#include <filesystem>
#include <fstream>

#include "store/profile.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

namespace fs = std::filesystem;

TEST(SavedGame, ABarInFlightIsSavedAsIfItStillWaitedAndComesBackHome) {
    GameWindow w;
    w.enterGame();
    w.clearBoard();
    w.placeBar(4, 1, 2, 3);
    w.key(38);
    w.waitMs(60);  // three rows up
    ASSERT_TRUE(w.form().Timer1.enabled());
    ASSERT_EQ(w.form().session.phase(), Phase::InFlight);
    ASSERT_EQ(w.at(4, 4), 1);
    std::string path = w.form().profile().path();
    w.form().requestClose();
    Profile saved(path);
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r)
            EXPECT_EQ(saved.readInteger("Gembox", "Gem" + std::to_string(10 * (c - 1) + r), -1), 0)
                << "column " << c << " row " << r;
    EXPECT_EQ(saved.readInteger("Gemshape", "Shape1", 0), 1);
    EXPECT_EQ(saved.readInteger("Gemshape", "Shape3", 0), 3);
}

TEST(SavedGame, AFailedSaveIsShownAndTheWindowStillCloses) {
    GameWindow w;
    // A file where the settings folder should be: no write can succeed, even for root.
    fs::path blocker = fs::path(w.form().profile().path()).parent_path() / "blocker";
    std::ofstream(blocker) << "not a folder";
    w.form().profile() = Profile((blocker / "lumcrest.ini").string());
    w.form().requestClose();
    EXPECT_FALSE(w.form().isOpen());
    auto errors = w.backend().takeErrors();
    ASSERT_EQ(errors.size(), 1u);
    const std::string file = (blocker / "lumcrest.ini").string();
    EXPECT_EQ(errors[0], "Unable to write to " + file + ": the lock file " + file +
                             ".lock cannot be opened: Not a directory. The game in progress was "
                             "not saved.");
    // The rest of the close handler, the web page, was skipped.
    EXPECT_TRUE(w.backend().urls().empty());
}

}  // namespace
}  // namespace lumcrest::testing
