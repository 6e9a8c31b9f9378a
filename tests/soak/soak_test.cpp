// A bot plays many whole games in virtual time, through the same keys and clicks a player uses,
// and the game's invariants are checked after every single event.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "game/matching.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

// Every broken invariant, with the virtual time it was seen at; the first few are kept.
struct Violations {
    int count = 0;
    std::string first;
    void note(long long ms, const std::string& what) {
        if (count++ < 5) first += "at " + std::to_string(ms) + " ms: " + what + "\n";
    }
};

void checkInvariants(TForm1& f, long long ms, Violations& v) {
    // The wall above the top row stops every rising gem.
    for (int x = kFirstX; x <= kLastX; ++x)
        if (f.play.board[gridIndex(x, kWallY)] != kWall) v.note(ms, "wall row broken");
    // Cells hold nothing but empties, kinds in play, jokers and bombs.
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) {
            int c = f.play.board[gridIndex(x, y)];
            if (!(c == kEmpty || (c >= 1 && c <= f.play.Blocks) || c == kJoker || c == kBomb))
                v.note(ms, "cell value " + std::to_string(c));
            if (f.play.marks[gridIndex(x, y)] > 1) v.note(ms, "mark value");
            int b = f.play.blastCells[gridIndex(x, y)];
            if (b < 0 || b > kBomb) v.note(ms, "blast value " + std::to_string(b));
        }
    if (f.play.Blocks < 6 || f.play.Blocks > 9)
        v.note(ms, "Blocks " + std::to_string(f.play.Blocks));
    // The progress bar stays in its tube, and what is left to earn still fits in it.
    if (f.play.Total < 0 || f.play.Total > kTubeMax)
        v.note(ms, "Total " + std::to_string(f.play.Total));
    if (f.play.Gemsleft > 0 && f.play.fillStep * f.play.Gemsleft > kTubeMax - f.play.Total)
        v.note(ms, "fillStep " + std::to_string(f.play.fillStep) + " for " +
                       std::to_string(f.play.Gemsleft) + " gems over Total " +
                       std::to_string(f.play.Total));
    if (f.play.Stage < 1) v.note(ms, "Stage");
    // Timers that can never run together.
    if (f.Timer1.enabled() && f.Cycletimer.enabled()) v.note(ms, "bar rising during a chain");
    if (f.Timer1.enabled() && f.play.gameOver) v.note(ms, "bar rising in a lost game");
    if (f.cracktimer.enabled() && !f.play.gameOver) v.note(ms, "crack without a loss");
    if (f.jartimer.enabled() && (f.Cycletimer.enabled() || f.filltimer.enabled()))
        v.note(ms, "jar during a chain or a fill");
    if (f.Animtimer.enabled() && f.jartimer.enabled()) v.note(ms, "banner during the jar");
    if (f.cracktimer.enabled() && (f.Atimer.enabled() || f.vertimer.enabled()) &&
        f.fieldView.crackRow > 1)
        v.note(ms, "idle animations over the crack");
    // A waiting bar is where its fields say, three adjacent columns of the launch row.
    bool waiting = !f.Timer1.enabled() && !f.Cycletimer.enabled() && !f.play.gameOver &&
                   !f.cracktimer.enabled() && !f.filltimer.enabled();
    if (waiting) {
        for (int k = 1; k <= 3; ++k) {
            if (f.play.shapeY[k] != kLaunchY) v.note(ms, "waiting bar off the launch row");
            if (f.play.cellAt(f.play.shapeX[k], kLaunchY) != f.play.Shape[k])
                v.note(ms, "bar cells differ");
        }
        if (f.play.shapeX[1] < kFirstX || f.play.shapeX[1] > kLastX - 2 ||
            f.play.shapeX[2] != f.play.shapeX[1] + 1 || f.play.shapeX[3] != f.play.shapeX[2] + 1)
            v.note(ms, "bar columns");
    }
}

// The bot: tries every rotation and place of the bar, imagines the flight, and takes the move
// that clears the most gems without losing; otherwise the one that keeps the stack lowest.
class Bot {
  public:
    explicit Bot(GameWindow& w) : w_(w) {}

    // Presses the keys of one move and launches.
    void play() {
        TForm1& f = w_.form();
        int bestValue = -1000000, bestRotation = 0, bestColumn = f.play.shapeX[1] - 10;
        for (int rotation = 0; rotation < 3; ++rotation)
            for (int c1 = 1; c1 <= 8; ++c1) {
                int value = evaluate(rotation, c1);
                if (value > bestValue) {
                    bestValue = value;
                    bestRotation = rotation;
                    bestColumn = c1;
                }
            }
        for (int i = 0; i < bestRotation; ++i) w_.key(40);
        for (int guard = 0; guard < 12 && f.play.shapeX[1] - 10 < bestColumn; ++guard) w_.key(39);
        for (int guard = 0; guard < 12 && f.play.shapeX[1] - 10 > bestColumn; ++guard) w_.key(37);
        w_.key(38);
    }

  private:
    int evaluate(int rotation, int c1) {
        TForm1& f = w_.form();
        std::array<int, 4> kinds{0, f.play.Shape[1], f.play.Shape[2], f.play.Shape[3]};
        for (int i = 0; i < rotation; ++i) kinds = {0, kinds[2], kinds[3], kinds[1]};
        // The bar can only slide through empty cells of the launch row.
        int from = f.play.shapeX[1] - 10;
        for (int c = std::min(from, c1); c <= std::max(from, c1) + 2; ++c) {
            bool own = c >= from && c <= from + 2;
            if (!own && f.play.cellAt(columnX(c), kLaunchY) != kEmpty) return -1000000;
        }
        int saved[10][10];
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r) saved[c - 1][r - 1] = w_.at(c, r);
        for (int k = 1; k <= 3; ++k) w_.put(from + k - 1, 1, kEmpty);
        int value = 0;
        for (int k = 1; k <= 3; ++k) {
            int c = c1 + k - 1;
            if (w_.at(c, 2) != kEmpty) value = -500000;  // launching under a gem loses
            int r = 1;
            while (r < 10 && w_.at(c, r + 1) == kEmpty) ++r;
            w_.put(c, r, kinds[k]);
            value -= (11 - r);  // prefer keeping the stack high up, away from the bar
        }
        // Ask the game's own detection what the landing would clear.
        std::uint8_t marks[kGridSize];
        std::copy(std::begin(f.play.marks), std::end(f.play.marks), marks);
        bool found = f.play.matchFound, fired = f.play.bombFired;
        std::fill(std::begin(f.play.marks), std::end(f.play.marks), 0);
        f.play.matchFound = false;
        markGroups(f.play);
        value += 100 * w_.markedCount();
        std::copy(marks, marks + kGridSize, f.play.marks);
        f.play.matchFound = found;
        f.play.bombFired = fired;
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r) w_.put(c, r, saved[c - 1][r - 1]);
        return value;
    }

    GameWindow& w_;
};

TEST(Soak, TwoHundredGamesKeepEveryInvariant) {
    const char* env = std::getenv("LUMCREST_SOAK_GAMES");
    const int games = env ? std::max(1, std::atoi(env)) : 200;
    GameWindow w(20261207);
    TForm1& f = w.form();
    Violations violations;
    long long clockMs = 0;
    w.app().afterEvent = [&] { checkInvariants(f, clockMs, violations); };
    Bot bot(w);
    w.enterGame();
    int finished = 0, bestStage = 1, launches = 0;
    long long stageSum = 0;
    while (finished < games && violations.count == 0) {
        if (f.Menupanel.visible()) {
            // The lost game is over: close the table if it opened, then New.
            if (f.Scorepanel.visible()) w.key(13);
            w.app().dispatch([&] { f.mouseDown(tk::MouseButton::Left, 400, 170); });
            w.app().dispatch([&] { f.mouseUp(tk::MouseButton::Left, 400, 170); });
            continue;
        }
        bool canLaunch = !f.Timer1.enabled() && !f.Cycletimer.enabled() && !f.play.gameOver &&
                         !f.Animtimer.enabled() && !f.filltimer.enabled() &&
                         !f.jartimer.enabled() && !f.blasttimer.enabled();
        if (canLaunch) {
            bot.play();
            ++launches;
        }
        w.waitMs(20);
        clockMs += 20;
        bestStage = std::max(bestStage, f.play.Stage);
        if (f.play.gameOver && f.cracktimer.enabled() && f.fieldView.crackRow == 1 &&
            f.fieldView.crackStep == 0) {
            stageSum += f.play.Stage;
            ++finished;
            w.waitMs(700);  // the crack, then the menu
            clockMs += 700;
        }
        ASSERT_LT(launches, 50000000) << "the bot never loses";
    }
    EXPECT_EQ(violations.count, 0) << violations.first;
    EXPECT_EQ(finished, games);
    EXPECT_GE(bestStage, games >= 100 ? 5 : 1) << "the bot should get far";
    std::printf("soak: %d games, %d launches, best stage %d, mean stage %.2f, %lld s virtual\n",
                finished, launches, bestStage, finished ? double(stageSum) / finished : 0.0,
                clockMs / 1000);
}

}  // namespace
}  // namespace lumcrest::testing
