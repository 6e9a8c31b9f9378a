// A game is a run of stages: a new game, the stage end with its jar, the whole-board explosion,
// the level banner and the change of background.
#include "stages.h"

#include "../app/form.h"
#include "../view/board_drawing.h"
#include "bar_rules.h"
#include "saturate.h"

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
        case 4: return {70, 9};
        default: break;
    }
    if (stage <= 1) return {20, 6};
    return {clampToInt(15LL * stage + 10), 9};
}

void TForm1::newGame() {
    gameOver = false;
    Score = 0;
    Blocks = 6;
    Gemsleft = 20;
    Total = 0;
    fillStep = 367 / 20;
    Stage = 1;
    lblstage.setCaption("1");
    Label1.setCaption(std::to_string(Score));
    randomize();
    // The well and its frame are emptied; the row above the top becomes the wall again.
    for (int x = 10; x <= 20; ++x)
        for (int y = 10; y <= kWallY; ++y) board[gridIndex(x, y)] = kEmpty;
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = 10; y <= kLastY; ++y) shownCells[gridIndex(x, y)] = -5;
    for (int x = 10; x <= 28; ++x) board[gridIndex(x, kWallY)] = kWall;
    makeStartRow();
    drawOrdinaryBar(rng, Blocks, Shape);
    drawOrdinaryBar(rng, Blocks, Nextshape);
    placeBarHome(*this);
    drawBoard();
    Atimer.setEnabled(true);
    vertimer.setEnabled(true);
}

void TForm1::stageEnd() {
    bombThreshold = 0;
    vertimer.setEnabled(false);
    Atimer.setEnabled(false);
    Timer1.setEnabled(false);
    Cycletimer.setEnabled(false);
    landedCount = 0;
    drawBoard();
    playEffect("jareffect.wav");

    // Surplus gems cleared beyond the target do not carry over.
    addSaturated(Stage, 1);
    const StageParameters p = stageParameters(Stage);
    Gemsleft = p.gemsToClear;
    Blocks = p.kinds;
    Total = 0;
    fillStep = 367 / Gemsleft;
    lblstage.setCaption(std::to_string(Stage));
    lblsetlevel.setCaption(std::to_string(Stage));

    // Every gem on the board goes into the explosion that follows the jar.
    for (int x = kFirstX; x <= kLastX; ++x)
        for (int y = kFirstY; y <= kLastY; ++y) {
            int& v = board[gridIndex(x, y)];
            if (v != kEmpty) {
                blastCells[gridIndex(x, y)] = v;
                v = kEmpty;
            }
        }
    for (int y = 17; y <= kWallY; ++y) board[gridIndex(10, y)] = kEmpty;
    for (int x = 10; x <= kLastX; ++x) {
        board[gridIndex(x, 17)] = kEmpty;
        board[gridIndex(x, kWallY)] = kEmpty;
    }
    makeStartRow();
    for (int x = 10; x <= 28; ++x) board[gridIndex(x, kWallY)] = kWall;

    for (int k = 1; k <= 3; ++k) Shape[k] = Nextshape[k];
    drawOrdinaryBar(rng, Blocks, Nextshape);
    placeBarHome(*this);
    jartimer.setEnabled(true);
}

void TForm1::jarEnd() {
    levelPending = true;
    blastStyle = chooseBlastStyle(rng);
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r)
            if (blastCells[gridIndex(columnX(c), rowY(r))] != 0) {
                eraseCell(c, r);
                surface().drawFrame(gemsblast2, 2 + 10 * blastStyle, cellLeft(c), cellTop(r));
            }
    blastFrame = 0;
    blasttimer.setEnabled(true);
    jartimer.setEnabled(false);
}

void TForm1::Animation() {
    lblsetlevel.hide();
    levelup.hide();
    changeBackground();
    drawBoard();
    invalidateSurface();
    vertimer.setEnabled(true);
    Atimer.setEnabled(true);
    Animtimer.setEnabled(false);
}

void TForm1::changeBackground() {
    if (backgroundChanges >= kMaxBackgroundChanges) return;
    ++backgroundChanges;
    previousBackground = Background;
    // A run of six changes shows each picture once and ends where it began. An edited index
    // outside the six slots starts a new run rather than writing past the history.
    if (backgroundHistoryIndex < 0 || backgroundHistoryIndex >= 6) {
        backgroundHistoryIndex = 0;
        for (int& h : backgroundHistory) h = previousBackground;
    }
    // Five recent slots can exclude at most five of the six pictures, so this ends.
    auto recent = [&](int b) {
        for (int i = 0; i <= 4; ++i)
            if (backgroundHistory[i] == b) return true;
        return false;
    };
    do {
        Background = rng.below(kBackgrounds);
    } while (recent(Background));
    backgroundHistory[backgroundHistoryIndex] = Background;
    ++backgroundHistoryIndex;
    installBackground(Background, tk::Rect{0, 0, 860, 590});
}

}  // namespace lumcrest
