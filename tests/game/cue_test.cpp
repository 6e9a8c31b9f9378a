// The cues beside the effects: the bar's moves, a chain's rising steps, a bomb's boom, and the
// music stepping back under the fanfares. None of them is listed with the effects.
#include "assets/catalogue.h"
#include "audio/cues.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

class Cues : public GameTest {
  protected:
    void SetUp() override {
        enterGame();
        form().play.Blocks = 6;
        form().play.Gemsleft = 20;
        cues();
        sounds();
    }
    std::vector<std::string> cues() { return backend().recorder().takeCues(); }
    using Files = std::vector<std::string>;
};

TEST_F(Cues, TheBarsMovesSoundOnlyWhenTheyHappen) {
    layBoard({"0 0 0 0 0 0 0 0 0 0"});
    placeBar(1, 1, 2, 3);
    key(kLeft);  // against the wall: refused
    EXPECT_EQ(cues(), Files{});
    key(kRight);
    key(kDown);
    EXPECT_EQ(cues(), (Files{asset::kShiftCue.file, asset::kRotateCue.file}));
    key(kUp);
    key(kUp);  // the bar is already flying: refused
    EXPECT_EQ(cues(), Files{asset::kLaunchCue.file});
    waitMs(300);
    // The landing is an effect as before; the moves never were.
    EXPECT_EQ(sounds(), Files{asset::kGemsTouch.file});
    EXPECT_EQ(cues(), Files{});
}

TEST_F(Cues, SoundSwitchedOffSilencesThem) {
    form().settings.soundOn = 0;
    placeBar(4, 1, 2, 3);
    key(kRight);
    key(kDown);
    key(kUp);
    EXPECT_EQ(cues(), Files{});
}

// The landing makes a run of 1s; the 2s under it rise into a second run: two steps, each a
// whole tone above the one before, while the effects list the bursts as they always did.
TEST_F(Cues, EachStepOfAChainRingsHigher) {
    layBoard({"2 1 1 0 0 0 0 0 0 0", "0 2 2 0 0 0 0 0 0 0"});
    placeBar(4, 1, 3, 4);
    key(kUp);
    waitMs(200);
    EXPECT_EQ(cues(), (Files{asset::kLaunchCue.file, asset::kChainCues[0].file}));
    waitMs(330);
    EXPECT_EQ(cues(), Files{asset::kChainCues[1].file});
    const Files heard = sounds();
    ASSERT_EQ(heard.size(), 2u);
    for (const std::string& burst : heard) {
        bool isBurst = false;
        for (const asset::File& f : asset::kExplosions) isBurst = isBurst || burst == f.file;
        EXPECT_TRUE(isBurst) << burst;
    }
}

TEST_F(Cues, ABombBoomsWithItsBurstAndTheMusicDucksUnderTheFanfare) {
    layBoard({"1 1 0 2 1 2 1 2 1 2", "0 0 0 0 0 1 0 1 0 0"});
    placeBar(3, kBomb, 3, 4);
    key(kUp);
    waitMs(200);
    EXPECT_EQ(cues(),
              (Files{asset::kLaunchCue.file, asset::kChainCues[0].file, asset::kBombCue.file}));
    backend().recorder().takeDucks();
    waitMs(990);
    // Eight gems: "Excellent", and the music steps back for as long as it sounds.
    EXPECT_TRUE(played(asset::kExcellent.file));
    const auto ducks = backend().recorder().takeDucks();
    ASSERT_EQ(ducks.size(), 1u);
    EXPECT_EQ(ducks[0].db, kDuckDb);
    EXPECT_EQ(ducks[0].ms, kDuckedEffects[1].ms);
}

// A repaint, or a board redraw, that finds a burst's gems still marked starts their burst again
// with its effect; the burst's chain step and bomb sound only the first time. The next landing on
// the same cells is a burst of its own.
TEST_F(Cues, EachBurstSoundsItsCuesOnceHoweverOftenItIsDrawn) {
    const Files landing{asset::kChainCues[0].file, asset::kBombCue.file};
    for (int launch = 1; launch <= 2; ++launch) {
        SCOPED_TRACE(launch);
        layBoard({"1 1 0 2 1 2 1 2 1 2", "0 0 0 0 0 1 0 1 0 0"});
        placeBar(3, kBomb, 3, 4);
        cues();
        sounds();
        key(kUp);
        waitMs(200);
        EXPECT_EQ(cues(), (Files{asset::kLaunchCue.file, landing[0], landing[1]}));
        // The burst is over; its gems wait, marked, for the settle step.
        while (form().blasttimer.enabled()) waitMs(5);
        ASSERT_TRUE(form().Cycletimer.enabled());
        sounds();
        app().dispatch([&] {
            form().redraw();
            form().drawBoard();
        });
        EXPECT_EQ(sounds().size(), 2u) << "each start of the burst plays its effect";
        EXPECT_EQ(cues(), Files{});
        waitMs(3000);
    }
}

}  // namespace
}  // namespace lumcrest::testing
