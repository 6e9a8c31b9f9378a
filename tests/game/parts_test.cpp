// The parts on their own, without the window that wires them: the board view drawing a play
// state the rules made onto a surface of its own, and the menu's buttons and highlight over bare
// controls.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "assets/catalogue.h"
#include "game/walls.h"
#include "toolkit/application.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/window.h"
#include "ui/menu_panel.h"
#include "view/board_view.h"
#include "view/frame_sizes.h"

namespace lumcrest {
namespace {

class BoardViewAlone : public ::testing::Test {
  protected:
    void SetUp() override {
        view.loadPictures();
        buildWalls(play, Walls::Frame);
    }
    tk::Argb middleOf(int c, int r) const {
        return surface.pixel(cellLeft(c) + kCellSize / 2, cellTop(r) + kCellSize / 2);
    }
    static constexpr tk::Argb kMark = 0xFF123456u;
    static constexpr tk::Argb kBare = 0xFF000000u;  // no stage background: the surface's black

    tk::Surface surface{kFrameWidth, kFrameHeight, kBare};
    BoardView view{surface};
    GameState play;
    Random rng;
};

TEST_F(BoardViewAlone, DrawsACellAgainOnlyWhenItsValueChangedOrItWasForgotten) {
    play.cell(columnX(3), rowY(10)) = 2;
    EXPECT_FALSE(view.drawBoard(play, rng, false));
    const tk::Argb gem = middleOf(3, 10);
    EXPECT_NE(gem, kBare);
    // Something else drew over the cell: an unchanged board leaves it alone.
    surface.setPixel(cellLeft(3) + kCellSize / 2, cellTop(10) + kCellSize / 2, kMark);
    view.drawBoard(play, rng, false);
    EXPECT_EQ(middleOf(3, 10), kMark);
    // A forgotten cell is drawn again, and so is one whose value changed.
    view.forgetCells(kFirstY);
    view.drawBoard(play, rng, false);
    EXPECT_EQ(middleOf(3, 10), gem);
    surface.setPixel(cellLeft(3) + kCellSize / 2, cellTop(10) + kCellSize / 2, kMark);
    play.cell(columnX(3), rowY(10)) = 5;
    view.drawBoard(play, rng, false);
    EXPECT_NE(middleOf(3, 10), kMark);
    EXPECT_NE(middleOf(3, 10), gem);
}

TEST_F(BoardViewAlone, AMarkedGemExplodesInFiveStepsAndLeavesItsCellBare) {
    const int i = gridIndex(columnX(6), rowY(4));
    play.board[i] = 4;
    play.marks[i] = 1;
    ASSERT_TRUE(view.drawBoard(play, rng, false));  // the window sounds it and starts its timer
    EXPECT_EQ(play.blastCells[i], 4);
    int steps = 0;
    while (view.explosionTick(play, false) == BoardView::BlastTick::Going && steps < 20) ++steps;
    EXPECT_EQ(steps, 5);  // the growing burst's four steps and the last wisp
    EXPECT_EQ(play.blastCells[i], 0);
    EXPECT_EQ(middleOf(6, 4), kBare);
}

TEST_F(BoardViewAlone, TheStageEndsBurstAsksForTheLevelBannerOnce) {
    for (int c = 1; c <= 10; ++c) play.blastCells[gridIndex(columnX(c), rowY(5))] = 1;
    view.startStageEndBurst(play, rng, false);
    BoardView::BlastTick tick;
    int ticks = 0;
    while ((tick = view.explosionTick(play, false)) == BoardView::BlastTick::Going) ++ticks;
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(tick, BoardView::BlastTick::OverBeforeBanner);
    EXPECT_FALSE(view.levelPending);
}

TEST_F(BoardViewAlone, ALostGameCracksRowByRowInThirtyTicks) {
    for (int r = 1; r <= 10; ++r) play.cell(columnX(1), rowY(r)) = 3;
    view.drawBoard(play, rng, false);
    const tk::Argb whole = middleOf(1, 2);
    int ticks = 1;
    for (; ticks < 3; ++ticks) ASSERT_FALSE(view.crackTick(play, false));
    EXPECT_EQ(middleOf(1, 2), whole);  // the bottom row first: the second waits its turn
    while (!view.crackTick(play, false) && ticks < 100) ++ticks;
    EXPECT_EQ(ticks, 30);
    EXPECT_NE(middleOf(1, 10), whole);
    EXPECT_EQ(view.crackRow, 1);  // ready for the next lost game
}

TEST_F(BoardViewAlone, TheSparkleLightsEveryOrdinaryKindWithItsOwnFramesAndNoOtherValue) {
    auto fill = [&](int value) {
        for (int c = 1; c <= 10; ++c)
            for (int r = 2; r <= 11; ++r) play.cell(columnX(c), rowY(r)) = value;
    };
    // A value past the ordinary kinds (the joker's neighbour) has no glint nor sheen.
    fill(asset::kGemKinds + 1);
    for (int tick = 0; tick < 400; ++tick) {
        view.sparkleTick(play, rng, false);
        ASSERT_EQ(view.twinklePhase, 0) << "tick " << tick;
    }
    // The last kind sparkles, with its own first frame drawn over its cell.
    fill(asset::kGemKinds);
    view.drawBoard(play, rng, false);
    for (int tick = 0; tick < 400 && view.twinklePhase == 0; ++tick)
        view.sparkleTick(play, rng, false);
    ASSERT_EQ(view.twinklePhase, 1);
    const bool glint = view.twinkleLight == 0;
    const tk::ImageList& list = glint ? view.firstanim : view.lightanim;
    const int frame = (asset::kGemKinds - 1) * (glint ? asset::kGlintSteps : asset::kSheenSteps);
    tk::Surface expected(kCellSize, kCellSize, kBare);
    expected.drawFrame(view.Blockimage, asset::kGemKinds, 0, 0);
    expected.drawFrame(list, frame, 0, 0);
    const int x = cellLeft(view.twinkleColumn), y = cellTop(view.twinkleRow);
    for (int j = 0; j < kCellSize; j += 7)
        for (int i = 0; i < kCellSize; i += 7)
            ASSERT_EQ(surface.pixel(x + i, y + j) & 0xFFFFFFu, expected.pixel(i, j) & 0xFFFFFFu)
                << i << "," << j;
}

// The board view on a bare surface of its own, for comparing two runs of the same drawing.
struct BareView {
    tk::Surface surface{kFrameWidth, kFrameHeight, 0xFF000000u};
    BoardView view{surface};
    GameState play;
    Random rng;
    BareView() {
        view.loadPictures();
        buildWalls(play, Walls::Frame);
        rng.seed(7);
    }
    // The sum of every channel of cell (C, R) as the surface shows it.
    long long cellSum(int c, int r) const {
        long long sum = 0;
        for (int y = 0; y < kCellSize; ++y)
            for (int x = 0; x < kCellSize; ++x) {
                const tk::Argb p = surface.pixel(cellLeft(c) + x, cellTop(r) + y);
                sum += (p & 0xff) + ((p >> 8) & 0xff) + ((p >> 16) & 0xff);
            }
        return sum;
    }
};

// Calm mode's bursts keep about a quarter of the burst's opacity (0.28) over what lies beneath:
// over black, a quarter of its light. Each way a burst starts is drawn so.
TEST(CalmBursts, EveryBurstIsDrawnAtTheCalmOpacity) {
    auto ratio = [](auto draw) {
        BareView calm, full;
        draw(calm, true);
        draw(full, false);
        const long long lit = full.cellSum(5, 5);
        EXPECT_GT(lit, 20000) << "the burst shows";
        return double(calm.cellSum(5, 5)) / double(lit);
    };
    auto inCalmRange = [](double r) { return r > 0.24 && r < 0.32; };
    // A stage end's wave: the middle cells burst at once.
    const double stageEnd = ratio([](BareView& v, bool calm) {
        v.play.blastCells[gridIndex(columnX(5), rowY(5))] = 3;
        v.view.startStageEndBurst(v.play, v.rng, calm);
    });
    EXPECT_PRED1(inCalmRange, stageEnd) << "the stage end's first step";
    // A chain's gems: the first step as they are marked, then the explosion's ticks.
    auto marked = [](BareView& v, bool calm) {
        v.play.cell(columnX(5), rowY(5)) = 3;
        v.play.marks[gridIndex(columnX(5), rowY(5))] = 1;
        v.view.drawBoard(v.play, v.rng, calm);
    };
    EXPECT_PRED1(inCalmRange, ratio(marked)) << "a marked gem's first step";
    EXPECT_PRED1(inCalmRange, ratio([&](BareView& v, bool calm) {
                     marked(v, calm);
                     v.view.explosionTick(v.play, calm);
                 }))
        << "the next step";
}

// Drawing order: what a launch or an explosion draws last is what the player sees.
TEST(BoardDrawingOrder, ALaunchCoversTheSparkleOnEveryRowAndAnExplodingGemStaysGone) {
    BareView v;
    for (int c = 1; c <= 10; ++c)
        for (int r = 2; r <= 10; ++r) v.play.cell(columnX(c), rowY(r)) = 2;
    v.view.drawBoard(v.play, v.rng, false);
    for (int r : {2, 10})
        for (int c : {1, 10}) {
            const long long plain = v.cellSum(c, r);
            v.view.twinkleColumn = c;
            v.view.twinkleRow = r;
            v.view.twinkleLight = 0;
            v.view.twinklePhase = 1;
            v.view.sparkleTick(v.play, v.rng, false);
            ASSERT_NE(v.cellSum(c, r), plain) << "the glint shows at " << c << "," << r;
            v.view.coverSparkle(v.play);
            EXPECT_EQ(v.cellSum(c, r), plain) << "the launch covers the glint at " << c << "," << r;
        }
    // A gem that lands and is marked in one pass shows its first burst step, not itself.
    BareView fresh;
    fresh.play.cell(columnX(4), rowY(2)) = 6;
    fresh.play.marks[gridIndex(columnX(4), rowY(2))] = 1;
    ASSERT_TRUE(fresh.view.drawBoard(fresh.play, fresh.rng, false));
    tk::Surface expected(kCellSize, kCellSize, 0xFF000000u);
    expected.drawFrame(fresh.view.gemsblast2, 2 + 10 * fresh.view.blastStyle, 0, 0);
    for (int y = 0; y < kCellSize; y += 5)
        for (int x = 0; x < kCellSize; x += 5)
            ASSERT_EQ(fresh.surface.pixel(cellLeft(4) + x, cellTop(2) + y) & 0xFFFFFFu,
                      expected.pixel(x, y) & 0xFFFFFFu)
                << x << "," << y;
}

class MenuAlone : public ::testing::Test {
  protected:
    tk::HeadlessBackend backend;
    tk::Application app{backend};
    tk::Window window{app, "menu", kFrameWidth, kFrameHeight, 0};
    PlayerSettings settings;
    std::vector<std::string> heard;
    MenuPanel menu{window, settings, [this](const std::string& file) { heard.push_back(file); }};
    tk::Picture& scores = menu.button(MenuButton::Scores);
    tk::Picture& back = menu.button(MenuButton::Back);

    std::vector<int> stops(int step, int count) {
        std::vector<int> out;
        for (int k = 0; k < count; ++k) {
            menu.moveHighlight(step);
            out.push_back(menu.padHighlight);
        }
        return out;
    }
};

TEST_F(MenuAlone, TheHighlightWrapsRoundAndSkipsBackUntilAGameHasBegun) {
    settings.firstRun = 1;
    EXPECT_EQ(stops(1, 8), (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1}));
    menu.padHighlight = -1;
    EXPECT_EQ(stops(-1, 2), (std::vector<int>{5, 4}));
    settings.firstRun = 0;
    menu.padHighlight = -1;
    EXPECT_EQ(stops(-1, 2), (std::vector<int>{6, 5}));
    EXPECT_EQ(back.fileName(), asset::kBackButton.file(1));  // lit, then left at rest
}

TEST_F(MenuAlone, AButtonLightsOncePerEntryAndGoesBackToRestWhenLeft) {
    menu.hover(MenuButton::Scores);
    menu.hover(MenuButton::Scores);
    EXPECT_EQ(heard, std::vector<std::string>{asset::kRollover.file});
    EXPECT_EQ(scores.fileName(), asset::kHighScoresButton.file(1));
    menu.leaveAll();
    EXPECT_EQ(scores.fileName(), asset::kHighScoresButton.file(0));
    menu.hover(MenuButton::Scores);
    EXPECT_EQ(heard.size(), 2u);
    // Back stays dark, and silent, before the first game.
    settings.firstRun = 1;
    menu.hover(MenuButton::Back);
    EXPECT_EQ(heard.size(), 2u);
    EXPECT_FALSE(menu.lit(MenuButton::Back));
}

TEST_F(MenuAlone, TheVolumeKeysStepTheSwitchLitLast) {
    EXPECT_EQ(menu.litVolumeSwitch(), std::nullopt);
    menu.hover(MenuButton::Music);
    EXPECT_EQ(menu.litVolumeSwitch(), std::optional<bool>(true));
    menu.hover(MenuButton::Sound);  // from one switch to the other without the backdrop
    EXPECT_EQ(menu.litVolumeSwitch(), std::optional<bool>(false));
    menu.hover(MenuButton::Music);  // and straight back: both still lit, music the last
    EXPECT_EQ(menu.litVolumeSwitch(), std::optional<bool>(true));
    menu.leaveAll();
    EXPECT_EQ(menu.litVolumeSwitch(), std::nullopt);
}

TEST_F(MenuAlone, ASwitchTurnsItsSettingAtThePressAndAButtonWaitingForAGameIsInert) {
    std::vector<MenuButton> turned, released;
    menu.onSwitched = [&](MenuButton b) { turned.push_back(b); };
    menu.setActions(MenuButton::Back, {nullptr, [&] { released.push_back(MenuButton::Back); }});
    settings.calmMode = 0;
    menu.press(MenuButton::Calm);
    menu.release(MenuButton::Calm);  // a switch has no release
    EXPECT_EQ(settings.calmMode, 1);
    EXPECT_EQ(turned, std::vector<MenuButton>{MenuButton::Calm});
    EXPECT_EQ(heard, std::vector<std::string>{asset::kClick.file});
    EXPECT_EQ(menu.button(MenuButton::Calm).fileName(), asset::kCalmSwitch.file(1));
    menu.restUnlessLit(MenuButton::Calm);
    EXPECT_EQ(menu.button(MenuButton::Calm).fileName(), asset::kCalmSwitch.file(0));
    // Back before the first game: no pressed picture, no action.
    settings.firstRun = 1;
    const std::string dimmed = back.fileName();
    menu.press(MenuButton::Back);
    menu.release(MenuButton::Back);
    EXPECT_EQ(back.fileName(), dimmed);
    EXPECT_TRUE(released.empty());
    settings.firstRun = 0;
    menu.press(MenuButton::Back);
    menu.release(MenuButton::Back);
    EXPECT_EQ(back.fileName(), asset::kBackButton.file(3));
    EXPECT_EQ(released.size(), 1u);
}

TEST_F(MenuAlone, TheButtonsLieOverTheBackdropInTheTablesOrderUnderTheirNamesAndLights) {
    ASSERT_EQ(window.children().size(), std::size_t(kMenuButtonCount));
    for (const MenuButtonRow& row : kMenuButtons) {
        const tk::Control* c = window.children()[int(row.id)];
        EXPECT_EQ(c->name(), row.name);
        EXPECT_EQ(c->bounds(), (tk::Rect{row.left, row.top, row.width, row.height})) << row.name;
        auto light = menu.findLight(row.light);
        ASSERT_TRUE(light) << row.light;
        menu.leaveAll();
        settings.firstRun = 0;
        menu.hover(row.id);
        EXPECT_EQ(light->text(), "1") << row.light;
    }
    EXPECT_FALSE(menu.findLight("nothingLit"));
}

}  // namespace
}  // namespace lumcrest
