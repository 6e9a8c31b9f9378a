// A game is a run of stages: a new game, the stage end and the change of background.
#include "game/stages.h"

#include "game/bar_rules.h"
#include "game/saturate.h"
#include "game/walls.h"

namespace lumcrest {

namespace {

// Six pictures, resources 101..106.
constexpr int kBackgrounds = 6;
// A long session keeps the background it has after this many changes.
constexpr int kMaxBackgroundChanges = 28;

}  // namespace

StageParameters stageParameters(int stage) {
    switch (stage) {
        case 2: return {50, 7};
        case 3: return {60, 8};
        case 4: return {70, kMostKinds};
        default: break;
    }
    if (stage <= 1) return {20, 6};
    return {clampToInt(15LL * stage + 10), kMostKinds};
}

void startNewGame(GameState& s, Random& rng) {
    const StageParameters first = stageParameters(1);
    s.gameOver = false;
    s.Score = 0;
    s.Blocks = first.kinds;
    s.Gemsleft = first.gemsToClear;
    s.Total = 0;
    s.fillStep = kTubeMax / first.gemsToClear;
    s.Stage = 1;
    buildWalls(s, Walls::NewGame);
    fillStartRow(s, rng);
    drawOrdinaryBar(rng, s.Blocks, s.Shape);
    drawOrdinaryBar(rng, s.Blocks, s.Nextshape);
    placeBarHome(s);
}

void advanceStage(GameState& s, Random& rng) {
    s.bombThreshold = 0;
    s.landedCount = 0;
    // Surplus gems cleared beyond the target do not carry over.
    addSaturated(s.Stage, 1);
    const StageParameters p = stageParameters(s.Stage);
    s.Gemsleft = p.gemsToClear;
    s.Blocks = p.kinds;
    s.Total = 0;
    s.fillStep = kTubeMax / s.Gemsleft;

    // Every gem on the board goes into the explosion that follows the jar.
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) {
            int& v = s.board[gridIndex(x, y)];
            if (v != kEmpty) {
                s.blastCells[gridIndex(x, y)] = v;
                v = kEmpty;
            }
        }
    buildWalls(s, Walls::NextStage);
    fillStartRow(s, rng);

    for (int k = 1; k <= 3; ++k) s.Shape[k] = s.Nextshape[k];
    drawOrdinaryBar(rng, s.Blocks, s.Nextshape);
    placeBarHome(s);
}

bool chooseBackground(GameState& s, Random& rng) {
    if (s.backgroundChanges >= kMaxBackgroundChanges) return false;
    ++s.backgroundChanges;
    s.previousBackground = s.Background;
    // A run of six changes shows each picture once and ends where it began. An edited index
    // outside the six slots starts a new run rather than writing past the history.
    if (s.backgroundHistoryIndex < 0 || s.backgroundHistoryIndex >= 6) {
        s.backgroundHistoryIndex = 0;
        for (int& h : s.backgroundHistory) h = s.previousBackground;
    }
    // Five recent slots can exclude at most five of the six pictures, so this ends.
    auto recent = [&](int b) {
        for (int i = 0; i <= 4; ++i)
            if (s.backgroundHistory[i] == b) return true;
        return false;
    };
    do {
        s.Background = rng.below(kBackgrounds);
    } while (recent(s.Background));
    s.backgroundHistory[s.backgroundHistoryIndex] = s.Background;
    ++s.backgroundHistoryIndex;
    return true;
}

}  // namespace lumcrest
