// A random board and a random run of moves played on the rules alone, the way the window's
// timers play them: after every move, and every step of a chain, the game keeps the invariants
// the long soak checks in the window. A broken one aborts with what broke.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "game/bar_rules.h"
#include "game/matching.h"
#include "game/saturate.h"
#include "game/settle.h"
#include "game/stages.h"

namespace lumcrest {
namespace {

class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : p_(data), left_(size) {}
    bool empty() const { return left_ == 0; }
    // The next byte; 0 once the input is used up.
    int next() {
        if (left_ == 0) return 0;
        --left_;
        return *p_++;
    }

  private:
    const std::uint8_t* p_;
    std::size_t left_;
};

int move = 0;

[[noreturn]] void broken(const char* what, long long value = 0) {
    std::fprintf(stderr, "after move %d: %s (%lld)\n", move, what, value);
    std::abort();
}

void checkInvariants(const GameState& s, bool barWaits) {
    // The wall above the top row stops every rising gem.
    for (int x = kFirstX; x <= kLastX; ++x)
        if (s.board[gridIndex(x, kWallY)] != kWall) broken("wall row broken", x);
    // Cells hold nothing but empties, kinds in play, jokers and bombs.
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) {
            const int c = s.board[gridIndex(x, y)];
            if (!(c == kEmpty || (c >= 1 && c <= s.Blocks) || c == kJoker || c == kBomb))
                broken("cell value", c);
            if (s.marks[gridIndex(x, y)] > 1) broken("mark value", s.marks[gridIndex(x, y)]);
            const int b = s.blastCells[gridIndex(x, y)];
            if (b < 0 || b > kBomb) broken("blast value", b);
        }
    if (s.Blocks < 6 || s.Blocks > 9) broken("Blocks", s.Blocks);
    // The progress bar stays in its tube, and what is left to earn still fits in it.
    if (s.Total < 0 || s.Total > kTubeMax) broken("Total", s.Total);
    if (s.Gemsleft > 0 && (long long)s.fillStep * s.Gemsleft > kTubeMax - s.Total)
        broken("fillStep overflows the tube", s.fillStep);
    if (s.Stage < 1) broken("Stage", s.Stage);
    if (!barWaits) return;
    // A waiting bar is where its fields say, three adjacent columns of the launch row.
    for (int k = 1; k <= 3; ++k) {
        if (s.shapeY[k] != kLaunchY) broken("waiting bar off the launch row", k);
        if (s.cellAt(s.shapeX[k], kLaunchY) != s.Shape[k]) broken("bar cells differ", k);
    }
    if (s.shapeX[1] < kFirstX || s.shapeX[1] > kLastX - 2 || s.shapeX[2] != s.shapeX[1] + 1 ||
        s.shapeX[3] != s.shapeX[2] + 1)
        broken("bar columns", s.shapeX[1]);
}

// The frame the window builds at start-up: walls around the well, the wall row above it.
void buildFrame(GameState& s) {
    for (int x = 9; x <= 22; ++x) {
        s.board[gridIndex(x, kWallY)] = kWall;
        s.board[gridIndex(x, 17)] = kWall;
    }
    for (int y = 17; y <= 29; ++y) {
        s.board[gridIndex(10, y)] = kWall;
        s.board[gridIndex(21, y)] = kWall;
    }
}

// The stage, the progress and rows 2..10 of the board from the input; the bar waits at home.
void layOut(GameState& s, Random& rng, Bytes& in) {
    buildFrame(s);
    s.Stage = 1 + in.next() % 12;
    const StageParameters p = stageParameters(s.Stage);
    s.Blocks = p.kinds;
    s.Gemsleft = 1 + in.next() % p.gemsToClear;
    s.Total = in.next() * kTubeMax / 255;
    s.fillStep = fillStepFor(s.Total, s.Gemsleft);
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r) {
            const int b = in.next();
            const int v = b >= 128 ? kEmpty : b % (s.Blocks + 3);
            s.cell(columnX(c), rowY(r)) = v <= s.Blocks ? v : v == s.Blocks + 1 ? kJoker : kBomb;
        }
    drawOrdinaryBar(rng, s.Blocks, s.Shape);
    drawOrdinaryBar(rng, s.Blocks, s.Nextshape);
    placeBarHome(s);
    if (noRoomToLaunch(s)) s.gameOver = true;
}

void nextBarOrLoss(GameState& s, Random& rng) {
    drawNextBar(s, rng);
    if (noRoomToLaunch(s)) s.gameOver = true;
}

// A finished stage: the jar, the whole-board explosion with its look, then a new background.
void endStage(GameState& s, Random& rng) {
    advanceStage(s, rng);
    (void)chooseBlastStyle(rng);  // the look the window draws the burst in
    checkInvariants(s, false);
    for (int& b : s.blastCells) b = 0;
    chooseBackground(s, rng);
}

// One launch: the flight until the bar lands, the settle cycle of its chain and, once every gem
// of the stage is cleared, the stage end.
void launch(GameState& s, Random& rng) {
    Flight flight;
    for (int step = 0; (flight = riseBar(s)) == Flight::Rising; ++step)
        if (step > 12) broken("the bar never lands", step);
    if (flight == Flight::Blocked) return;
    if (!s.matchFound) {
        nextBarOrLoss(s, rng);
        return;
    }
    s.settleSkip = true;
    for (int tick = 0;; ++tick) {
        if (tick > 2000) broken("the chain never ends", tick);
        if (!settleTickActs(s)) continue;
        settleStep(s);
        if (s.landedCount == 3 && !s.matchFound) nextBarOrLoss(s, rng);
        checkInvariants(s, false);
        if (!s.matchFound || s.Gemsleft <= 0) break;
        markGroups(s);
    }
    if (s.Gemsleft < 1) endStage(s, rng);
}

}  // namespace
}  // namespace lumcrest

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumcrest;
    Bytes in(data, size);
    GameState s;
    Random rng;
    std::uint32_t seed = 0;
    for (int i = 0; i < 4; ++i) seed = seed << 8 | std::uint32_t(in.next());
    rng.seed(seed);
    move = 0;
    layOut(s, rng, in);
    checkInvariants(s, !s.gameOver);
    // A few games an input: random play loses often, and long inputs should reach far stages.
    int games = 1;
    while (!in.empty()) {
        ++move;
        if (s.gameOver) {
            if (++games > 4) break;
            startNewGame(s, rng);
        } else {
            switch (in.next() % 8) {
                case 0:
                case 1:
                    if (!barAtSide(s, -1)) shiftBar(s, -1);
                    break;
                case 2:
                case 3:
                    if (!barAtSide(s, +1)) shiftBar(s, +1);
                    break;
                case 4: rotateBar(s); break;
                default: launch(s, rng); break;
            }
        }
        checkInvariants(s, !s.gameOver);
    }
    return 0;
}
