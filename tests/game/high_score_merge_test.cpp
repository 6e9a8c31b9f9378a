// Several copies of the game in one home. A finished game's score goes into the table as the file
// holds it when it is written, never into the one this copy read at its start; a score the file
// cannot take stays on screen and goes in at the next write; the last close's saved game wins
// whole; a refused write says why.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "store/profile.h"
#include "store/score_table.h"
#include "tests/game/game_fixture.h"
#include "tests/support/lock_holder.h"
#include "toolkit/error.h"

namespace lumcrest::testing {
namespace {

using namespace std::chrono_literals;

// Every name says which score it belongs to, so a line can be checked on its own.
std::string nameFor(int score) {
    return "P" + std::to_string(score);
}

ScoreTable tableWithScores(const std::vector<int>& scores) {
    ScoreTable t;
    for (int k = 1; k <= 10; ++k) t[k] = ScoreLine{nameFor(scores[k - 1]), scores[k - 1]};
    return t;
}

// Another copy of the game finishing a game with SCORE under NAME.
void otherCopyInserts(const std::string& path, const std::string& name, int score) {
    Profile p(path);
    Profile::Batch batch(p);
    writeScoreTable(p, topTen(sortIntoTable(readScoreTable(p), ScoreLine{name, score})));
    batch.commit();
}

void expectShown(TForm1& f, const ScoreTable& t) {
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(f.scorePanel.state.hiScores[k], t[k].score) << "line " << k;
        EXPECT_EQ(f.scorePanel.name[k]->caption(), t[k].name) << "line " << k;
        EXPECT_EQ(f.scorePanel.score[k]->caption(), std::to_string(t[k].score)) << "line " << k;
    }
}

void expectTable(const ScoreTable& actual, const ScoreTable& expected) {
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(actual[k].name, expected[k].name) << "line " << k;
        EXPECT_EQ(actual[k].score, expected[k].score) << "line " << k;
    }
}

void finishGame(TForm1& f, const std::string& name, int score) {
    f.play.Score = score;
    f.Playersname.setText(name);
    f.insertHighScore();
}

TEST(MergedTable, AScoreGoesIntoTheTableTheFileHoldsNowBesideTheOtherCopysScores) {
    GameWindow w;
    TForm1& f = w.form();
    const std::string path = f.profile().path();
    // Read at the start: the fresh table. Then another copy ends its game first.
    otherCopyInserts(path, "Bea", 98946);
    finishGame(f, "Ada", 92320);
    ScoreTable expected;
    expected[1] = {"Bea", 98946};
    expected[2] = {"Ada", 92320};
    for (int k = 3; k <= 10; ++k) expected[k] = {"Tivane", 10000 - 1000 * (k - 3)};
    expectTable(readScoreTable(Profile(path)), expected);
    expectShown(f, expected);
    EXPECT_EQ(f.scorePanel.state.lastScore, 92320);

    // Equal scores: the newest ends below the ones that scored as much before it.
    otherCopyInserts(path, "Cy", 92320);
    finishGame(f, "Ada", 92320);
    ScoreTable file = readScoreTable(Profile(path));
    EXPECT_EQ(file[2].name + file[3].name + file[4].name, "AdaCyAda");

    // Against the table now on disk the score no longer makes the ten: the table is shown without
    // it.
    const ScoreTable full = tableWithScores({90, 80, 70, 60, 50, 40, 30, 20, 15, 12});
    {
        Profile p(path);
        writeScoreTable(p, full);
    }
    finishGame(f, "Ada", 11);
    expectTable(readScoreTable(Profile(path)), full);
    expectShown(f, full);
    EXPECT_EQ(f.scorePanel.state.lastScore, 11);
}

const char* const kLocked = ": the settings file is locked by another copy of the game";

TEST(UnwrittenScore, AGameOverTheFileCannotTakeStillEndsShowsTheScoreAndWritesItLater) {
    GameWindow w;
    TForm1& f = w.form();
    const std::string path = f.profile().path();
    f.profile().setLockWait(100ms);
    {
        LockHolder other(path + ".lock");
        f.play.Score = 55555;
        f.Playersname.setText("Ada");
        f.fieldView.crackRow = 11;  // the last row has cracked
        w.app().dispatch([&] { f.cracktimerTimer(); });
        EXPECT_EQ(w.backend().takeErrors(),
                  std::vector<std::string>{"Unable to write to " + path + kLocked});
        EXPECT_TRUE(f.Scorepanel.visible()) << "the game over ran its course";
        EXPECT_EQ(f.play.Score, 0) << "a new game waits";
        EXPECT_EQ(f.scorePanel.state.hiScores[1], 55555);
        EXPECT_EQ(f.scorePanel.name[1]->caption(), "Ada");
    }
    otherCopyInserts(path, "Bea", 60000);
    // The next write of the file, whatever it is for, takes the score along.
    w.app().dispatch([&] { f.menu.press(MenuButton::Sound); });
    EXPECT_TRUE(w.backend().takeErrors().empty());
    const ScoreTable file = readScoreTable(Profile(path));
    EXPECT_EQ(file[1].name + " " + std::to_string(file[1].score), "Bea 60000");
    EXPECT_EQ(file[2].name + " " + std::to_string(file[2].score), "Ada 55555");
    EXPECT_EQ(file[3].score, 10000);
    expectShown(f, file);
}

TEST(UnwrittenScore, TheCloseWritesAScoreThatCouldNotBeWrittenBefore) {
    GameWindow w;
    TForm1& f = w.form();
    const std::string path = f.profile().path();
    f.profile().setLockWait(100ms);
    {
        LockHolder other(path + ".lock");
        EXPECT_THROW(finishGame(f, "Ada", 55555), tk::Error);
    }
    f.requestClose();
    EXPECT_TRUE(w.backend().takeErrors().empty());
    Profile p(path);
    EXPECT_EQ(p.readString("Scoreline1", "Name", ""), "Ada");
    EXPECT_EQ(p.readInteger("Scoreline1", "Score", 0), 55555);
    EXPECT_EQ(p.readInteger("Techinfo", "Stage", 0), f.play.Stage) << "and the saved game";
}

TEST(CloseUnderLock, TheCloseSaysWhyAndThatTheGameIsLostInTheBoxAndOnStandardError) {
    GameWindow w;
    TForm1& f = w.form();
    const std::string path = f.profile().path();
    f.profile().setLockWait(100ms);
    LockHolder other(path + ".lock");
    ::testing::internal::CaptureStderr();
    f.requestClose();
    const std::string said = ::testing::internal::GetCapturedStderr();
    const std::string message =
        "Unable to write to " + path + kLocked + ". The game in progress was not saved.";
    EXPECT_EQ(w.backend().takeErrors(), std::vector<std::string>{message});
    EXPECT_NE(said.find(message), std::string::npos) << said;
}

int raceRounds() {
    const char* rounds = std::getenv("LUMCREST_RACE_ROUNDS");
    return rounds ? std::atoi(rounds) : 15;
}

// Forks one child per action; the children wait together and run their action at the same
// moment. Each child exits 0 unless its action threw.
void raceChildren(const std::vector<std::function<void()>>& actions) {
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> children;
    for (const auto& action : actions) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(go[1]);
            char c;
            (void)!::read(go[0], &c, 1);  // returns when the parent closes its end
            try {
                action();
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    ::close(go[0]);
    ::close(go[1]);
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

TEST(ThreeCopies, EveryScoreThatBelongsInTheTopTenIsThereWithItsOwnNameAndNothingElse) {
    GameWindow w;
    TForm1& f = w.form();
    const std::string path = f.profile().path();
    std::vector<int> best = {10000, 9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000};
    {
        Profile p(path);
        writeScoreTable(p, tableWithScores(best));
    }
    // Every copy knows only the table of its start: this window's, read before the file above.
    std::mt19937 rng(20);
    std::set<int> used(best.begin(), best.end());
    for (int round = 0; round < raceRounds(); ++round) {
        std::vector<std::function<void()>> games;
        for (int copy = 0; copy < 3; ++copy) {
            int score;
            do score = 1001 + int(rng() % std::uint32_t(20000 + 8000 * round));
            while (!used.insert(score).second);
            best.push_back(score);
            games.push_back([&f, score] {
                if (score > f.scorePanel.state.hiScores[10]) finishGame(f, nameFor(score), score);
            });
        }
        raceChildren(games);
        std::sort(best.rbegin(), best.rend());
        best.resize(10);
        const ScoreTable file = readScoreTable(Profile(path));
        for (int k = 1; k <= 10; ++k) {
            ASSERT_EQ(file[k].score, best[k - 1]) << "round " << round << ", line " << k;
            ASSERT_EQ(file[k].name, nameFor(file[k].score)) << "round " << round << ", line " << k;
        }
    }
}

TEST(TwoCopies, TheLastCloseSavesItsWholeGameNeverAMixOfTwoBoards) {
    GameWindow w;
    TForm1& f = w.form();
    const std::string path = f.profile().path();
    for (int round = 0; round < raceRounds(); ++round) {
        std::vector<std::function<void()>> closes;
        for (int copy = 1; copy <= 2; ++copy) {
            closes.push_back([&w, &f, copy] {
                for (int c = 1; c <= 10; ++c)
                    for (int r = 2; r <= 10; ++r) w.put(c, r, copy);
                f.play.Score = 1111 * copy;
                f.play.Stage = copy;
                f.requestClose();
                if (!w.backend().takeErrors().empty()) throw std::runtime_error("not saved");
            });
        }
        raceChildren(closes);
        Profile p(path);
        Profile::Reading once(p);
        const int copy = p.readInteger("Techinfo", "Stage", 0);
        ASSERT_TRUE(copy == 1 || copy == 2) << "round " << round;
        EXPECT_EQ(p.readInteger("Techinfo", "Score", 0), 1111 * copy) << "round " << round;
        int others = 0;
        for (int key = 1; key <= 100; ++key)
            if (key % 10 != 1)
                others += p.readInteger("Gembox", "Gem" + std::to_string(key), 0) != copy;
        ASSERT_EQ(others, 0) << "round " << round << ": cells of the other board";
    }
}

}  // namespace
}  // namespace lumcrest::testing
