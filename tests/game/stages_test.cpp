// Stages: what each asks for, a new game, the stage end with its jar, explosion and banner, the
// background rotation, and the fill and crack animations that lead into them.
#include "game/stages.h"

#include <array>
#include <climits>
#include <set>

#include "assets/catalogue.h"
#include "tests/game/game_fixture.h"
#include "view/frame_sizes.h"

namespace lumcrest::testing {
namespace {

constexpr int kUp = 38;

TEST(StageTable, GemsAndKindsPerStage) {
    struct Row {
        int stage, gems, kinds;
    };
    for (Row r : {Row{1, 20, 6}, Row{2, 50, 7}, Row{3, 60, 8}, Row{4, 70, 9}, Row{5, 85, 9},
                  Row{6, 100, 9}, Row{10, 160, 9}}) {
        StageParameters p = stageParameters(r.stage);
        EXPECT_EQ(p.gemsToClear, r.gems) << r.stage;
        EXPECT_EQ(p.kinds, r.kinds) << r.stage;
        EXPECT_EQ(367 / p.gemsToClear, r.stage == 1 ? 18 : r.stage == 2 ? 7 : 367 / r.gems);
    }
    // Edited stages: below 1 counts as the first, the far end saturates.
    EXPECT_EQ(stageParameters(0).gemsToClear, 20);
    EXPECT_EQ(stageParameters(INT_MIN).kinds, 6);
    EXPECT_EQ(stageParameters(INT_MAX).gemsToClear, INT_MAX);
}

class Stages : public GameTest {
  protected:
    void SetUp() override { enterGame(); }
    int gemsOutsideRowsOneAndTen() {
        int n = 0;
        for (int c = 1; c <= 10; ++c)
            for (int r = 2; r <= 9; ++r) n += at(c, r) != 0;
        return n;
    }
    int blasting() {
        int n = 0;
        for (int c = 1; c <= 10; ++c)
            for (int r = 1; r <= 10; ++r)
                n += form().play.blastCells[gridIndex(columnX(c), rowY(r))] != 0;
        return n;
    }
    // Advances in small steps until DONE holds, at most LIMIT ms.
    template <class F>
    void waitUntil(F done, long long limit) {
        for (long long t = 0; !done() && t < limit; t += 5) waitMs(5);
    }
};

TEST_F(Stages, ANewGameKeepsTheBackgroundAndStartsFromTheTopRowAndTheBar) {
    form().play.Stage = 7;
    form().play.Background = 4;
    for (int c = 1; c <= 10; ++c) put(c, 5, 1 + c % 3);
    form().play.cell(columnX(3), kWallY) = 0;
    form().newGame();
    EXPECT_EQ(form().play.Stage, 1);
    EXPECT_EQ(form().play.Background, 4);
    EXPECT_EQ(gemsOutsideRowsOneAndTen(), 0);
    EXPECT_NE(at(4, 1), 0);
    EXPECT_NE(at(10, 10), 0);
    for (int x = 10; x <= 21; ++x) EXPECT_EQ(form().play.cellAt(x, kWallY), kWall);
}

// The whole way from the last gem of stage 1 to stage 2: fill, jar, explosion, banner, new
// background.
TEST_F(Stages, ClearingTheTargetLeadsThroughJarExplosionAndBannerToTheNextStage) {
    form().play.Gemsleft = 3;
    const int oldBackground = form().play.Background;
    layBoard({"6 6 5 5 0 0 0 0 0 0", "0 0 5 0 0 0 0 0 0 0", "0 0 1 0 0 0 0 0 0 0"});
    placeBar(4, 5, 1, 2);
    key(kUp);
    waitMs(200 + 330);
    ASSERT_TRUE(form().filltimer.enabled());
    EXPECT_EQ(form().play.Total, 366);  // three counted gems of 122 pixels
    const std::array<int, 3> previewed = {form().play.Nextshape[1], form().play.Nextshape[2],
                                          form().play.Nextshape[3]};

    // The fill draws 4 rows a tick up to 366, then hands over to the stage end.
    waitUntil([&] { return form().jartimer.enabled(); }, 1000);
    EXPECT_FALSE(form().filltimer.enabled());
    EXPECT_TRUE(played(asset::kJarFilled.file));
    EXPECT_EQ(form().play.Stage, 2);
    EXPECT_EQ(form().play.Gemsleft, 50);
    EXPECT_EQ(form().play.Blocks, 7);
    EXPECT_EQ(form().play.Total, 0);
    EXPECT_EQ(form().play.fillStep, 7);
    // The old gems wait in the explosion cells; the new row and bar are already in place.
    EXPECT_EQ(blasting(), 5);
    EXPECT_EQ(gemsOutsideRowsOneAndTen(), 0);
    EXPECT_NE(at(5, 1), 0);
    // The bar of the new stage is the one the preview showed.
    EXPECT_EQ((std::array<int, 3>{at(4, 1), at(5, 1), at(6, 1)}), previewed);
    EXPECT_FALSE(form().Atimer.enabled());
    EXPECT_FALSE(form().vertimer.enabled());

    // The jar ends in the whole-board explosion, which ends in the banner.
    waitUntil([&] { return form().blasttimer.enabled(); }, 5000);
    EXPECT_TRUE(form().fieldView.levelPending);
    waitUntil([&] { return form().Animtimer.enabled(); }, 1000);
    EXPECT_FALSE(form().blasttimer.enabled());
    EXPECT_EQ(blasting(), 0);
    EXPECT_TRUE(form().levelup.visible());

    waitMs(2000);
    EXPECT_FALSE(form().Animtimer.enabled());
    EXPECT_FALSE(form().levelup.visible());
    EXPECT_NE(form().play.Background, oldBackground);
    EXPECT_EQ(form().play.backgroundChanges, 1);
    EXPECT_TRUE(form().Atimer.enabled());
    EXPECT_TRUE(form().vertimer.enabled());
}

// The last gems wanted, exactly: the chain stops although the rise made a run of 6s, and the
// stage ends as soon as the tube is full.
TEST_F(Stages, ClearingExactlyTheGemsLeftEndsTheChainAndTheStage) {
    form().play.Gemsleft = 4;
    layBoard({"6 6 5 5 0 0 0 0 0 0", "0 0 5 0 0 0 0 0 0 0", "0 0 6 0 0 0 0 0 0 0",
              "0 0 6 0 0 0 0 0 0 0"});
    placeBar(4, 5, 1, 2);
    key(kUp);
    waitMs(200 + 330);
    EXPECT_EQ(form().play.Gemsleft, 0);
    EXPECT_FALSE(form().Cycletimer.enabled());
    EXPECT_EQ(markedCount(), 0);
    EXPECT_EQ((std::array<int, 3>{at(1, 10), at(2, 10), at(3, 10)}), (std::array<int, 3>{6, 6, 6}));
    waitUntil([&] { return form().jartimer.enabled(); }, 2000);
    EXPECT_EQ(form().play.Stage, 2);
    EXPECT_EQ(form().play.Gemsleft, 50);
}

// A new game after a long run starts the first stage again in every respect.
TEST_F(Stages, ANewGameAfterALaterStageAsksForTheFirstStageAgain) {
    app().dispatch([&] {
        for (int i = 0; i < 4; ++i) {
            form().session.stageEnd();
            form().session.setClock(Clock::Jar, false);
        }
    });
    ASSERT_EQ(form().play.Stage, 5);
    ASSERT_EQ(form().play.Blocks, 9);
    form().play.Total = 200;
    form().play.Gemsleft = 12;
    form().play.Score = 5000;
    form().newGame();
    EXPECT_EQ(form().play.Stage, 1);
    EXPECT_EQ(form().play.Blocks, 6);
    EXPECT_EQ(form().play.Gemsleft, 20);
    EXPECT_EQ(form().play.Total, 0);
    EXPECT_EQ(form().play.fillStep, 18);
    EXPECT_EQ(form().play.Score, 0);
    EXPECT_EQ(form().lblstage.caption(), "1");
    EXPECT_EQ(form().Label1.caption(), "0");
    for (int c = 1; c <= 10; ++c) EXPECT_LE(at(c, 10), 6) << c;
}

// --- Backgrounds -----------------------------------------------------------------------------

class Backgrounds : public Stages {
  protected:
    void startRun(int current) {
        form().play.Background = current;
        form().play.backgroundHistoryIndex = 6;
        form().play.backgroundChanges = 0;
    }
    // The stage end's change of sky: the next picture, installed on the field.
    void changeBackground() {
        if (chooseBackground(form().play, form().rng))
            form().installBackground(form().play.Background, kFrameRect);
    }
};

TEST_F(Backgrounds, ARunOfSixShowsEachPictureOnceAndEndsWhereItBegan) {
    for (std::uint32_t s = 1; s <= 12; ++s) {
        form().rng.seed(s);
        const int start = int(s % 6);
        startRun(start);
        std::set<int> seen;
        for (int i = 0; i < 5; ++i) {
            changeBackground();
            EXPECT_NE(form().play.Background, start);
            seen.insert(form().play.Background);
        }
        EXPECT_EQ(seen.size(), 5u);
        changeBackground();
        EXPECT_EQ(form().play.Background, start);
        // Just after the start the history holds zeros: picture 0 is excluded too.
        for (int& h : form().play.backgroundHistory) h = 0;
        form().play.backgroundHistory[0] = 3;
        form().play.backgroundHistoryIndex = 1;
        form().play.Background = 3;
        changeBackground();
        EXPECT_NE(form().play.Background, 0);
        EXPECT_NE(form().play.Background, 3);
    }
}

TEST_F(Backgrounds, TheNewPictureIsInstalledAsTheFillPattern) {
    startRun(0);
    changeBackground();
    tk::Image picture = tk::loadEmbeddedPicture(asset::kBackgrounds.file(form().play.Background));
    for (auto [x, y] : {std::pair{5, 5}, {300, 300}, {848, 587}})
        EXPECT_EQ(form().surface().pixel(x, y) & 0xFFFFFFu, picture.pixel(x, y) & 0xFFFFFFu);
}

TEST_F(Backgrounds, AfterTwentyEightChangesThePictureStays) {
    startRun(2);
    form().play.backgroundChanges = 27;
    changeBackground();
    const int last = form().play.Background;
    const int index = form().play.backgroundHistoryIndex;
    EXPECT_EQ(form().play.backgroundChanges, 28);
    for (int i = 0; i < 10; ++i) changeBackground();
    EXPECT_EQ(form().play.Background, last);
    EXPECT_EQ(form().play.backgroundHistoryIndex, index);
    // A new game does not start the count again.
    form().newGame();
    EXPECT_EQ(form().play.backgroundChanges, 28);
}

TEST_F(Backgrounds, AnEditedHistoryIndexStartsANewRunInsteadOfWritingAnywhere) {
    for (int index : {50, -3, INT_MAX}) {
        startRun(1);
        form().play.backgroundHistoryIndex = index;
        changeBackground();
        EXPECT_EQ(form().play.backgroundHistoryIndex, 1);
        EXPECT_NE(form().play.Background, 1);
    }
}

// --- The animations between a chain and the next stage -----------------------------------------

class Animations : public Stages {
  protected:
    // Ticks TIMER's handler by hand until it switches itself off; returns the ticks.
    int ticksOf(tk::Timer& timer, int limit = 10000) {
        int n = 0;
        while (timer.enabled() && n < limit) {
            timer.onTimer();
            ++n;
        }
        return n;
    }
};

TEST_F(Animations, TheJarTakesAHundredAndTenTicksAndDrainsTheTube) {
    form().session.setClock(Clock::Jar, true);
    EXPECT_EQ(ticksOf(form().jartimer), 110);
    EXPECT_EQ(form().fieldView.drainLine, 464);
    EXPECT_TRUE(form().fieldView.levelPending);
    EXPECT_TRUE(form().blasttimer.enabled());
    // The tail ran at the fastest pace; the next run starts slow again.
    EXPECT_EQ(form().jartimer.interval(), 1);
    form().session.setClock(Clock::Jar, true);
    form().jartimerTimer();
    EXPECT_EQ(form().jartimer.interval(), 30);
}

TEST_F(Animations, TheTubeCatchesUpFourPixelRowsATickAndEndsTheStageOnlyWhenItIsDone) {
    form().fieldView.fillMark = 0;
    form().fieldView.fillDrawn = 0;
    form().play.Total = 20;
    form().play.Gemsleft = 5;
    form().session.setClock(Clock::Fill, true);
    form().filltimerTimer();
    EXPECT_EQ(form().surface().pixel(kTubeLeft + 6, 461) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(ticksOf(form().filltimer) + 1, 7);  // rows 0..23 drawn, then the tick that stops
    EXPECT_EQ(form().play.Stage, 1);
    EXPECT_FALSE(form().jartimer.enabled());
    // With nothing left to clear the same catching up ends the stage.
    form().fieldView.fillDrawn = 0;
    form().play.Gemsleft = 0;
    form().session.setClock(Clock::Fill, true);
    EXPECT_EQ(ticksOf(form().filltimer), 7);
    EXPECT_EQ(form().play.Stage, 2);
    EXPECT_TRUE(form().jartimer.enabled());
}

class Crack : public Animations, public ::testing::WithParamInterface<int> {};

// A final score below, equal to and above the tenth line of the table.
TEST_P(Crack, ThirtyTicksThenTheMenuAndANewGame) {
    const int above = GetParam();
    form().play.Score = form().scorePanel.state.hiScores[10] + above;
    form().switchTrack(kGameTrack, kGameTrackRestartMs);
    form().overpanel.show();
    form().play.gameOver = true;
    form().Atimer.setEnabled(true);
    form().session.setClock(Clock::Crack, true);
    form().cracktimerTimer();
    EXPECT_FALSE(form().Atimer.enabled());
    EXPECT_EQ(ticksOf(form().cracktimer) + 1, 30);
    EXPECT_TRUE(form().Menupanel.visible());
    EXPECT_EQ(form().Scorepanel.visible(), above > 0);
    EXPECT_EQ(form().scoretimer.enabled(), above > 0);
    EXPECT_FALSE(form().overpanel.visible());
    EXPECT_FALSE(form().play.gameOver);
    EXPECT_EQ(form().play.Score, 0);
    EXPECT_EQ(form().fieldView.crackRow, 1);
    EXPECT_EQ(backend().recorder().musicFile(), kMenuTrack);
}

INSTANTIATE_TEST_SUITE_P(AgainstTheTable, Crack, ::testing::Values(-1, 0, 1));

}  // namespace
}  // namespace lumcrest::testing
