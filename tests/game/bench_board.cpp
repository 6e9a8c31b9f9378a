// Timings of the board work that runs inside the timer handlers: a detection scan, the redraw
// after a shift and a full repaint. Run by hand: bench_board.
#include <benchmark/benchmark.h>

#include "game/matching.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

// A well two-thirds full of gems that make no group, so the scan sees everything and marks
// nothing.
void crowd(GameWindow& w) {
    w.clearBoard();
    for (int c = 1; c <= 10; ++c)
        for (int r = 4; r <= 10; ++r) w.put(c, r, 1 + (c + 2 * r) % 5);
    w.form().play.Blocks = 9;
}

void BM_FindMatches(benchmark::State& state) {
    GameWindow w;
    crowd(w);
    for (auto _ : state) {
        markGroups(w.form().play);
        benchmark::DoNotOptimize(w.form().play.matchFound);
    }
}
BENCHMARK(BM_FindMatches);

void BM_DrawBoardAfterShift(benchmark::State& state) {
    GameWindow w;
    w.enterGame();
    crowd(w);
    w.placeBar(4, 1, 2, 3);
    w.form().drawBoard();
    bool left = true;
    for (auto _ : state) {
        // A shift moves the bar and redraws; two cells change.
        w.form().session.shift(left ? -1 : 1);
        left = !left;
    }
}
BENCHMARK(BM_DrawBoardAfterShift);

void BM_FullRepaint(benchmark::State& state) {
    GameWindow w;
    w.enterGame();
    crowd(w);
    w.form().play.Total = 367;
    for (auto _ : state) w.form().redraw();
}
BENCHMARK(BM_FullRepaint);

}  // namespace
}  // namespace lumcrest::testing

BENCHMARK_MAIN();
