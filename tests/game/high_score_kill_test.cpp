// A game killed at any moment while a new high score goes into the table leaves the old table or
// the new one, never names missing, doubled or beside another line's score.
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <set>

#include "store/profile.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

// Every name says which score it belongs to, so a line can be checked on its own.
std::string nameFor(int score) {
    return "P" + std::to_string(score);
}

int killRounds() {
    const char* rounds = std::getenv("LUMCREST_KILL_ROUNDS");
    return rounds ? std::atoi(rounds) : 25;
}

TEST(HighScoreKills, AKillDuringAnInsertionNeverMixesTheTable) {
    GameWindow w;
    const std::string path = w.form().profile().path();
    {
        Profile p(path);
        Profile::Batch batch(p);
        for (int k = 1; k <= 10; ++k) {
            std::string section = "Scoreline" + std::to_string(k);
            p.writeString(section, "Name", nameFor(10000 - 1000 * (k - 1)));
            p.writeInteger(section, "Score", 10000 - 1000 * (k - 1));
        }
        batch.commit();
    }
    std::mt19937 rng(11);
    int newScore = 20000;
    for (int round = 0; round < killRounds(); ++round) {
        newScore += 100000;
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The game that ends: the table as the file has it, then one high score after another.
            TForm1& f = w.form();
            Profile p(path);
            for (int k = 1; k <= 10; ++k)
                f.scorePanel.state.hiScores[k] =
                    p.readInteger("Scoreline" + std::to_string(k), "Score", 0);
            for (int score = newScore;; ++score) {
                f.play.Score = score;
                f.Playersname.setText(nameFor(score));
                f.insertHighScore();
            }
        }
        ::usleep(useconds_t(500 + rng() % 15000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        Profile p(path);
        std::set<std::string> seen;
        int above = INT32_MAX;
        for (int k = 1; k <= 10; ++k) {
            std::string section = "Scoreline" + std::to_string(k);
            int score = p.readInteger(section, "Score", -1);
            std::string name = p.readString(section, "Name", "");
            ASSERT_EQ(name, nameFor(score)) << "round " << round << ", line " << k;
            ASSERT_LT(score, above) << "round " << round << ", line " << k;
            ASSERT_TRUE(seen.insert(name).second) << "round " << round << ": " << name << " twice";
            above = score;
        }
    }
}

// Counts the files renamed into the settings folder (each crash-safe replacement is one) while
// ACTION runs.
int replacementsDuring(const std::string& path, const std::function<void()>& action) {
    int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    std::string dir = path.substr(0, path.rfind('/'));
    // The creations of the temporary files come between the renames, so the kernel cannot fold
    // two renames into one event.
    ::inotify_add_watch(fd, dir.c_str(), IN_MOVED_TO | IN_CREATE);
    action();
    int count = 0;
    alignas(inotify_event) char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
        for (char* p = buf; p < buf + n;) {
            auto* e = reinterpret_cast<inotify_event*>(p);
            if ((e->mask & IN_MOVED_TO) && e->len && std::string(e->name) == "lumcrest.ini")
                ++count;
            p += sizeof(inotify_event) + e->len;
        }
    ::close(fd);
    return count;
}

// Each handler that writes several keys replaces the file once: when it returns, the file holds
// all of its keys, and no moment in between holds some without the others.
TEST(OneReplacement, ANameAndAHighScoreInsertionEachReplaceTheFileOnce) {
    GameWindow w;
    TForm1& f = w.form();
    const std::string path = f.profile().path();
    f.Playersname.setText("Ada");
    EXPECT_EQ(replacementsDuring(path, [&] { f.confirmName(); }), 1);
    f.play.Score = 12345;
    EXPECT_EQ(replacementsDuring(path, [&] { f.insertHighScore(); }), 1);
    EXPECT_EQ(replacementsDuring(path, [&] { f.writeSavedGame(); }), 1);
    Profile p(path);
    EXPECT_FALSE(p.readBool("Settings", "First", true));
    EXPECT_EQ(p.readString("Settings", "Name", ""), "Ada");
    EXPECT_EQ(p.readString("Scoreline1", "Name", ""), "Ada");
    EXPECT_EQ(p.readInteger("Scoreline1", "Score", 0), 12345);
    EXPECT_EQ(p.readInteger("Scoreline10", "Score", 0), 2000);
}

}  // namespace
}  // namespace lumcrest::testing
