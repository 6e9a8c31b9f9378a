// What the board redraw and the repaint put on the surface, checked against the same pictures
// drawn by hand onto a scratch surface.
#include <algorithm>
#include <climits>
#include <cmath>

#include "assets/catalogue.h"
#include "tests/game/game_fixture.h"
#include "toolkit/surface.h"
#include "view/board_drawing.h"

namespace lumcrest::testing {
namespace {

constexpr int kLeft = 37;

class Drawing : public GameTest {
  protected:
    void SetUp() override {
        enterGame();
        background = tk::loadEmbeddedPicture(asset::kBackgrounds.file(form().play.Background));
        clearBoard();
        placeBar(4, 1, 2, 3);
        form().drawBoard();
    }
    struct Frame {
        const tk::ImageList* list;
        int index;
    };
    // Whether the 48 x 48 square at (x, y) shows the background with FRAMES drawn over it.
    bool shows(int x, int y, std::initializer_list<Frame> frames) {
        tk::Surface scratch(form().clientWidth(), form().clientHeight(), 0);
        scratch.setBrush(background);
        scratch.fillWithBrush(tk::Rect{x, y, kCellSize, kCellSize});
        for (Frame f : frames) scratch.drawFrame(*f.list, f.index, x, y);
        for (int j = 0; j < kCellSize; ++j)
            for (int i = 0; i < kCellSize; ++i)
                if ((scratch.pixel(x + i, y + j) & 0xFFFFFFu) !=
                    (form().surface().pixel(x + i, y + j) & 0xFFFFFFu))
                    return false;
        return true;
    }
    bool cellShows(int c, int r, std::initializer_list<Frame> frames) {
        return shows(cellLeft(c), cellTop(r), frames);
    }
    Frame gem(int v) { return {&form().fieldView.Blockimage, v}; }
    // Scribbles over a square so that a later check can tell whether it was drawn again.
    void scribble(int x, int y) {
        for (int i = 0; i < kCellSize; ++i)
            form().surface().setPixel(x + i, y + i, tk::rgb(1, 2, 3));
    }
    bool scribbled(int x, int y) {
        return (form().surface().pixel(x + 7, y + 7) & 0xFFFFFFu) == (tk::rgb(1, 2, 3) & 0xFFFFFFu);
    }
    tk::Image background;
};

TEST_F(Drawing, AShiftRedrawsOnlyTheCellsThatChanged) {
    put(2, 10, 4);
    form().drawBoard();
    scribble(cellLeft(2), cellTop(10));
    scribble(previewLeft(1), kPreviewTop);
    key(kLeft);
    EXPECT_TRUE(cellShows(6, 1, {}));
    EXPECT_TRUE(cellShows(3, 1, {gem(1)}));
    // Column 5 went from 2 to 3 and is drawn afresh; the gem that stayed is not touched, and
    // the preview waits for the next pass.
    EXPECT_TRUE(cellShows(5, 1, {gem(3)}));
    EXPECT_TRUE(scribbled(cellLeft(2), cellTop(10)));
    EXPECT_TRUE(scribbled(previewLeft(1), kPreviewTop));
    form().play.Nextshape[3] = kBomb;
    form().drawBoard();
    EXPECT_TRUE(shows(previewLeft(3), kPreviewTop, {gem(kBomb)}));
}

TEST_F(Drawing, ALostGameDrawsCracksOverEveryGemAndNoFreshGems) {
    put(1, 10, kJoker);
    put(2, 10, kBomb);
    form().drawBoard();
    form().play.gameOver = true;
    put(3, 10, 4);  // a new gem is not drawn, only its cracks
    form().drawBoard();
    const tk::ImageList* cracks = &form().fieldView.cracks;
    EXPECT_TRUE(cellShows(1, 10, {gem(11), {cracks, 32}}));
    EXPECT_TRUE(cellShows(2, 10, {gem(12), {cracks, 35}}));
    EXPECT_TRUE(cellShows(3, 10, {{cracks, 11}}));
}

// A lost game darkens its well to half its light, cracks and all, so that the final score on its
// plaque reads over them; the window's own surface is left as it was.
TEST_F(Drawing, ALostGameDimsTheWellToHalf) {
    const int x = cellLeft(1) + 24, y = cellTop(1) + 24;
    const tk::Argb before = form().composedPixel(x, y);
    form().play.gameOver = true;
    form().playEvent({PlayEvent::Kind::FinalScore});
    waitMs(500);
    const tk::Argb after = form().composedPixel(x, y);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(int(after >> shift & 0xff), int(before >> shift & 0xff) / 2, 2) << shift;
    EXPECT_EQ(form().surface().pixel(x, y) | 0xFF000000u, before | 0xFF000000u);
    // Outside the well, the side panels keep their light.
    EXPECT_EQ(form().composedPixel(700, 120), form().surface().pixel(700, 120) | 0xFF000000u);
}

TEST_F(Drawing, ARepaintDrawsEverythingUnlessTheMenuCoversIt) {
    form().play.Total = 10;
    form().fieldView.menuLit = 1;
    scribble(cellLeft(4), cellTop(1));
    form().Menupanel.show();
    form().redraw();
    EXPECT_TRUE(scribbled(cellLeft(4), cellTop(1)));
    form().Menupanel.hide();
    form().redraw();
    EXPECT_TRUE(cellShows(4, 1, {gem(1)}));
    EXPECT_TRUE(cellShows(9, 9, {}));
    tk::Surface scratch(849, 588, 0);
    scratch.setBrush(background);
    scratch.fillWithBrush(tk::Rect{0, 0, 849, 588});
    scratch.drawFrame(form().fieldView.menulist, 1, 664, 531);
    EXPECT_EQ(form().surface().pixel(700, 560) & 0xFFFFFFu, scratch.pixel(700, 560) & 0xFFFFFFu);
}

TEST_F(Drawing, TheProgressBarRisesOnePixelRowPerUnitOfTotal) {
    const tk::Argb expected[14] = {
        tk::rgb(110, 52, 8),    tk::rgb(200, 110, 20),  tk::rgb(240, 160, 40),
        tk::rgb(255, 196, 70),  tk::rgb(255, 222, 120), tk::rgb(255, 240, 190),
        tk::rgb(255, 255, 255), tk::rgb(255, 250, 225), tk::rgb(255, 230, 150),
        tk::rgb(255, 206, 90),  tk::rgb(245, 176, 50),  tk::rgb(222, 140, 30),
        tk::rgb(180, 96, 16),   tk::rgb(110, 52, 8)};
    auto rowIsBar = [&](int y) {
        for (int i = 0; i < 14; ++i)
            if ((form().surface().pixel(47 + i, y) & 0xFFFFFFu) != (expected[i] & 0xFFFFFFu))
                return false;
        return true;
    };
    form().play.Total = 0;
    form().redraw();
    EXPECT_TRUE(rowIsBar(465));
    EXPECT_FALSE(rowIsBar(464));
    form().play.Total = 10;
    form().redraw();
    EXPECT_TRUE(rowIsBar(455));
    EXPECT_FALSE(rowIsBar(454));
    // An edited Total far beyond the tube stops at the top of the window.
    form().play.Total = INT_MAX;
    form().redraw();
    EXPECT_TRUE(rowIsBar(0));
}

TEST_F(Drawing, AMarkedGemStartsItsExplosionAndTheAnimationClearsIt) {
    put(2, 10, 5);
    form().drawBoard();
    EXPECT_FALSE(form().blasttimer.enabled());
    EXPECT_TRUE(sounds().empty());
    form().play.marks[gridIndex(columnX(2), rowY(10))] = 1;
    form().drawBoard();
    const int style = form().fieldView.blastStyle;
    ASSERT_GE(style, 0);
    ASSERT_LE(style, 2);
    EXPECT_EQ(form().play.blastCells[gridIndex(columnX(2), rowY(10))], 5);
    EXPECT_EQ(form().fieldView.shownCells[gridIndex(columnX(2), rowY(10))], -5);
    EXPECT_TRUE(form().blasttimer.enabled());
    EXPECT_TRUE(played(asset::kExplosions[style].file));
    // The cell goes bare at once: the burst over the field shows the gem going, spills over
    // its neighbours and outlives the cell's own steps, then leaves nothing behind.
    EXPECT_TRUE(cellShows(2, 10, {}));
    // A point inside the neighbouring cell, a third of a cell past the shared edge.
    const int nx = cellLeft(3) + kCellSize / 3, ny = cellTop(10) + kCellSize / 2;
    auto light = [](tk::Argb p) { return tk::redOf(p) + tk::greenOf(p) + tk::blueOf(p); };
    waitMs(70);
    EXPECT_GT(light(form().composedPixel(nx, ny)), light(form().surface().pixel(nx, ny)) + 30);
    EXPECT_TRUE(cellShows(2, 10, {}));
    waitMs(35 * 4);
    EXPECT_FALSE(form().blasttimer.enabled());
    EXPECT_EQ(form().play.blastCells[gridIndex(columnX(2), rowY(10))], 0);
    EXPECT_TRUE(cellShows(2, 10, {}));
    EXPECT_GT(form().fieldEffects.count(), 0);
    EXPECT_TRUE(form().effectsTimer.enabled());
    waitMs(FieldEffects::kBurstMs + 1000);
    EXPECT_EQ(form().fieldEffects.count(), 0);
    EXPECT_FALSE(form().effectsTimer.enabled());
    EXPECT_EQ(form().composedPixel(nx, ny), form().surface().pixel(nx, ny) | 0xFF000000u);
    EXPECT_FALSE(form().lblsetlevel.visible());
}

// Every gem bursts in its own colour: the colour picked from its picture has the hue it was
// painted in (the white symbol and the highlight left out), and over the well a red gem's glow
// stays red, not pink or violet.
TEST_F(Drawing, EveryGemBurstsInItsOwnColour) {
    auto hue = [](tk::Argb c) {
        const double r = tk::redOf(c), g = tk::greenOf(c), b = tk::blueOf(c);
        const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
        if (hi - lo < 1) return -1.0;
        double h = hi == r   ? (g - b) / (hi - lo)
                   : hi == g ? 2 + (b - r) / (hi - lo)
                             : 4 + (r - g) / (hi - lo);
        return std::fmod(h * 60 + 360, 360);
    };
    // The hues the gems are painted in (the pearl is near white and has none to speak of).
    const std::pair<int, double> painted[] = {{1, 284}, {2, 230}, {3, 186}, {4, 358}, {5, 54},
                                              {6, 33},  {8, 314}, {9, 148}, {10, 181}};
    for (const auto& [kind, want] : painted) {
        const tk::Argb c = form().fieldView.gemColour(kind);
        const double off = std::abs(hue(c) - want);
        EXPECT_LT(std::min(off, 360 - off), 16) << "kind " << kind << " hue " << hue(c);
        EXPECT_GT(std::max({tk::redOf(c), tk::greenOf(c), tk::blueOf(c)}) -
                      std::min({tk::redOf(c), tk::greenOf(c), tk::blueOf(c)}),
                  100)
            << "kind " << kind << " washed out";
    }
    const tk::Argb pearl = form().fieldView.gemColour(7);
    EXPECT_GT(std::min({tk::redOf(pearl), tk::greenOf(pearl), tk::blueOf(pearl)}), 180);

    put(2, 10, 4);
    form().drawBoard();
    form().play.marks[gridIndex(columnX(2), rowY(10))] = 1;
    form().drawBoard();
    // Once the white flash has gone, the glow around the cell is red.
    waitMs(170);
    const int cx = cellLeft(2) + kCellSize / 2, cy = cellTop(10) + kCellSize / 2;
    int red = 0;
    for (int k = 0; k < 16; ++k) {
        const double a = k * 3.14159265 / 8;
        const tk::Argb p =
            form().composedPixel(cx + int(24 * std::cos(a)), cy + int(24 * std::sin(a)));
        red += tk::redOf(p) > tk::greenOf(p) + 50 && tk::redOf(p) > tk::blueOf(p) + 50;
    }
    EXPECT_GE(red, 12);
}

// At a stage's end the explosion runs outward from the board's middle: a corner starts three
// steps after the middle and keeps its gem until then, and the banner follows the last step as
// it always did.
TEST_F(Drawing, TheStageEndExplosionRunsAsAWaveFromTheMiddle) {
    EXPECT_EQ(stageEndWaveDelay(5, 5), 0);
    EXPECT_EQ(stageEndWaveDelay(6, 6), 0);
    EXPECT_EQ(stageEndWaveDelay(1, 1), 3);
    EXPECT_EQ(stageEndWaveDelay(10, 10), 3);
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r)
            EXPECT_LE(stageEndWaveDelay(c, r), stageEndWaveDelay(c < 6 ? 1 : 10, r < 6 ? 1 : 10));
    form().play.blastCells[gridIndex(columnX(5), rowY(5))] = 2;
    form().play.blastCells[gridIndex(columnX(1), rowY(10))] = 4;
    form().session.jarEnded();
    const int s = form().fieldView.blastStyle;
    // Every exploding cell sends its burst, each beginning as the wave reaches it.
    EXPECT_EQ(form().fieldEffects.count(), 2);
    EXPECT_TRUE(cellShows(5, 5, {}));
    const int reached[5] = {-1, -1, 0, 1, kBlastWispStep};
    for (int tick = 0; tick < 5; ++tick) {
        SCOPED_TRACE("tick " + std::to_string(tick));
        form().blasttimerTimer();
        EXPECT_TRUE(cellShows(5, 5, {}));
        if (reached[tick] < 0)
            EXPECT_TRUE(cellShows(1, 10, {gem(4)}));
        else
            EXPECT_TRUE(cellShows(1, 10, {}));
        EXPECT_FALSE(form().levelup.visible());
    }
    EXPECT_EQ(blastStepFrame(s, kBlastWispStep), 32 + s);
    form().blasttimerTimer();
    EXPECT_TRUE(cellShows(5, 5, {}));
    EXPECT_TRUE(cellShows(1, 10, {}));
    EXPECT_TRUE(form().levelup.visible());
    EXPECT_FALSE(form().blasttimer.enabled());
}

TEST_F(Drawing, ARepaintDuringAnExplosionLeavesTheBoardAlone) {
    form().blasttimer.setEnabled(true);
    form().redraw();
    EXPECT_TRUE(cellShows(4, 1, {}));
    // The gems the repaint left out come back with the next board redraw.
    form().blasttimer.setEnabled(false);
    form().drawBoard();
    EXPECT_TRUE(cellShows(4, 1, {gem(1)}));
}

// An edited saved game may put anything anywhere; every drawing routine must take it.
TEST_F(Drawing, EditedValuesAreDrawnWithoutFault) {
    // Values with no picture draw nothing.
    for (int v : {16, 20, INT_MAX}) {
        put(2, 10, v);
        form().drawBoard();
        EXPECT_TRUE(cellShows(2, 10, {})) << v;
    }
    const int odd[] = {-5, 13, 15, 16, 20, 99, INT_MAX, INT_MIN};
    for (int i = 0; i < 100; ++i) put(1 + i % 10, 1 + i / 10, odd[i % 8]);
    form().play.Nextshape[1] = INT_MIN;
    form().play.Nextshape[2] = 99;
    form().fieldView.blastStyle = INT_MAX;
    form().play.Background = 40;
    for (bool over : {false, true}) {
        form().play.gameOver = over;
        form().redraw();
        form().drawBoard();
        form().fieldView.flashStep = 0;
        for (int t = 0; t < 3; ++t) form().flashtimerTimer();
        form().fieldView.crackRow = 1;
        form().fieldView.crackStep = 0;
        for (int t = 0; t < 3; ++t) form().cracktimerTimer();
    }
    for (int f : {-3, 0, 4, 5, 99}) {
        form().fieldView.blastFrame = f;
        form().blasttimerTimer();
    }
    form().fieldView.jarFrame = 20;
    form().jartimerTimer();
    SUCCEED();
}

// --- Pictures of the screens around play --------------------------------------------------------

using ScreenPictures = GameTest;

// The menu and the score table come back at the end of a game: their pictures stay decoded
// through play. The help page, opened only from the menu, lets its pixels go meanwhile.
TEST_F(ScreenPictures, TheMenuAndTheScoreTableStayDecodedThroughPlay) {
    TForm1& f = form();
    // The About box's picture covers its window, and is not decoded to know it.
    EXPECT_FALSE(aboutBox().Image1.decoded());
    tk::Image frame(f.clientWidth(), f.clientHeight());
    auto compose = [&] { f.compose(frame, tk::Rect{0, 0, f.clientWidth(), f.clientHeight()}); };
    compose();
    for (tk::Panel* panel : {&f.Scorepanel, &f.helppanel}) {
        app().dispatch([&] { panel->show(); });
        compose();
        app().dispatch([&] { panel->hide(); });
    }
    std::vector<tk::Picture*> kept = {&f.Menuimage, &f.Image5, &f.Image2};
    for (const MenuButtonRow& row : kMenuButtons) kept.push_back(&f.menu.button(row.id));
    for (tk::Picture* p : kept) ASSERT_TRUE(p->decoded()) << p->name();
    ASSERT_TRUE(f.Image1.decoded());

    enterGame();
    f.takeScreenDirty();
    for (tk::Picture* p : kept) EXPECT_TRUE(p->decoded()) << p->name();
    EXPECT_FALSE(f.Image1.decoded());
    EXPECT_FALSE(f.Image3.decoded());
}

// The image lists of play are decoded as a game starts from the menu, not at their first frame
// in play; those of a stage's end and a lost game wait, and the menu alone decodes none of them.
TEST_F(ScreenPictures, AGameFromTheMenuDecodesThePlaysImageListsAndLeavesTheJar) {
    TForm1& f = form();
    const std::vector<const tk::ImageList*> play = {&f.fieldView.firstanim, &f.fieldView.lightanim,
                                                    &f.fieldView.waveanim, &f.fieldView.menulist};
    // The bursts are drawn over the field: the cells' own burst frames are never needed.
    const std::vector<const tk::ImageList*> later = {&f.fieldView.jar, &f.fieldView.jarbacks,
                                                     &f.fieldView.cracks, &f.fieldView.gemsblast2};
    ASSERT_TRUE(f.Menupanel.visible());
    for (const tk::ImageList* list : play) ASSERT_FALSE(list->decoded());
    app().dispatch([&] {
        f.menu.press(MenuButton::New);
        f.menu.release(MenuButton::New);
    });
    EXPECT_TRUE(f.fieldView.Blockimage.decoded());
    for (const tk::ImageList* list : play) EXPECT_TRUE(list->decoded());
    for (const tk::ImageList* list : later) EXPECT_FALSE(list->decoded());
}

// A dialog over the menu stands on a veil: the menu's frame and the Calm switch at its edges are
// darkened while it shows, and come back as they were when it closes. The help page over the
// field at the first game has its own veil over the well.
TEST_F(ScreenPictures, DialogsStandOnAVeilThatLeavesWithThem) {
    TForm1& f = form();
    auto light = [&](int x, int y) {
        const tk::Argb p = f.composedPixel(x, y);
        return tk::redOf(p) + tk::greenOf(p) + tk::blueOf(p);
    };
    // A gem of the menu's sky and the Calm switch's face, left of every dialog; the menu frame's
    // gold beside the table and the name panel.
    struct Probe {
        int x, y;
        bool besideHelp;
    };
    const Probe probes[] = {{59, 419, true}, {40, 54, true}, {203, 300, false}};
    app().dispatch([&] { f.overpanel.hide(); });
    ASSERT_FALSE(f.menuVeil.showing());
    std::vector<int> lit;
    for (const Probe& p : probes) lit.push_back(light(p.x, p.y));
    for (tk::Panel* panel : {&f.Scorepanel, &f.helppanel, &f.overpanel}) {
        app().dispatch([&] { panel->show(); });
        EXPECT_TRUE(f.menuVeil.showing()) << panel->name();
        for (std::size_t i = 0; i < std::size(probes); ++i) {
            if (panel == &f.helppanel && !probes[i].besideHelp) continue;
            EXPECT_LT(light(probes[i].x, probes[i].y) * 10, lit[i] * 5)
                << panel->name() << " at " << probes[i].x << "," << probes[i].y;
        }
        app().dispatch([&] { panel->hide(); });
        EXPECT_FALSE(f.menuVeil.showing());
        EXPECT_EQ(light(probes[0].x, probes[0].y), lit[0]);
    }
    // The About box is a window of its own: the menu behind it is veiled while it is open.
    app().dispatch([&] { f.menu.release(MenuButton::About); });
    EXPECT_TRUE(f.menuVeil.showing());
    app().dispatch([&] { aboutBox().dxButton1Click(); });
    EXPECT_FALSE(f.menuVeil.showing());
    EXPECT_EQ(light(probes[0].x, probes[0].y), lit[0]);
    app().dispatch([&] { f.Menupanel.hide(); });
    const int wellLit = light(cellLeft(1) + 2, cellTop(10) + 2);
    app().dispatch([&] { f.helppanel2.show(); });
    EXPECT_TRUE(f.fieldVeil.showing());
    EXPECT_LT(light(cellLeft(1) + 2, cellTop(10) + 2) * 10, wellLit * 5 + 10);
}

}  // namespace
}  // namespace lumcrest::testing

namespace lumcrest::testing {
namespace {

// An edited Background of any value beeps and leaves the picture as it was; the words of the
// error it raises on the way must not overflow (the sanitizer suite halts on that).
TEST_F(Drawing, ABackgroundOutOfRangeBeepsWithoutOverflow) {
    int beeps = backend().beeps();
    for (int b : {INT_MAX, INT_MIN, -102, 6, -1})
        EXPECT_FALSE(form().installBackground(b, tk::Rect{0, 0, 849, 588})) << b;
    EXPECT_EQ(backend().beeps(), beeps + 5);
    EXPECT_TRUE(form().installBackground(5, tk::Rect{0, 0, 849, 588}));
}

}  // namespace
}  // namespace lumcrest::testing
