// Controller input goes through the key routing: a pad press leaves the game exactly where the
// key it stands for leaves it, in play, behind panels and in the menu; held directions repeat
// only while held; the controller reaches only the window that takes input.
#include <gtest/gtest.h>

#include "app/about_box.h"
#include "assets/catalogue.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

using tk::PadButton;

// Everything a key can change in play: the bar, the board, the timers and the panels.
std::string snapshot(GameWindow& g) {
    TForm1& f = g.form();
    std::string s;
    for (int k = 1; k <= 3; ++k)
        s += std::to_string(f.play.Shape[k]) + "@" + std::to_string(f.play.shapeX[k]) + "," +
             std::to_string(f.play.shapeY[k]) + " ";
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r) s += std::to_string(g.at(c, r));
    for (tk::Timer* t : f.timerTable) s += t->enabled() ? "1" : "0";
    s += f.Menupanel.visible() ? "M" : "-";
    s += f.helppanel2.visible() ? "H" : "-";
    s += f.Scorepanel.visible() ? "S" : "-";
    return s;
}

void pad(GameWindow& g, PadButton b) {
    g.app().padInput(b, true);
    g.app().padInput(b, false);
}

struct Pair {
    PadButton button;
    int key;
};

TEST(PadRouting, EveryButtonInPlayDoesWhatItsKeyDoes) {
    const Pair pairs[] = {{PadButton::DpLeft, 37}, {PadButton::DpRight, 39}, {PadButton::A, 38},
                          {PadButton::DpUp, 38},   {PadButton::B, 40},       {PadButton::X, 40},
                          {PadButton::DpDown, 40}, {PadButton::Y, 0},        {PadButton::Back, 0}};
    for (const Pair& p : pairs) {
        // Twice the same game: once by key, once by pad, with the first-play help still open
        // (a key closes it and acts), then again in plain play.
        for (bool help : {true, false}) {
            GameWindow byKey, byPad;
            for (GameWindow* g : {&byKey, &byPad}) {
                g->enterGame();
                g->form().helppanel2.setVisible(help);
            }
            if (p.key) byKey.key(p.key);
            pad(byPad, p.button);
            byKey.waitMs(500);
            byPad.waitMs(500);
            EXPECT_EQ(snapshot(byPad), snapshot(byKey))
                << tk::padButtonName(p.button) << (help ? " over the help" : "");
            EXPECT_EQ(byPad.sounds(), byKey.sounds()) << tk::padButtonName(p.button);
        }
    }
}

TEST_F(GameTest, AHeldDirectionRepeatsOnlyWhileHeldAndNotInTheMenu) {
    enterGame();
    placeBar(1, 1, 2, 3);
    app().padInput(PadButton::DpRight, true);
    EXPECT_EQ(form().play.shapeX[1], columnX(2));
    waitMs(TForm1::kPadRepeatDelayMs + 3 * TForm1::kPadRepeatMs);
    EXPECT_EQ(form().play.shapeX[1], columnX(6))
        << "one step, then one after the delay, then three";
    app().padInput(PadButton::DpRight, false);
    waitMs(1000);
    EXPECT_EQ(form().play.shapeX[1], columnX(6));
    EXPECT_FALSE(form().padRepeat.enabled());

    // Releasing another button does not end the held one.
    app().padInput(PadButton::DpLeft, true);
    pad(*this, PadButton::B);
    waitMs(TForm1::kPadRepeatDelayMs);
    EXPECT_EQ(form().play.shapeX[1], columnX(4));
    // Held while the menu opens: the repeats wait behind it as held keys do.
    pad(*this, PadButton::Start);
    EXPECT_TRUE(form().Menupanel.visible());
    waitMs(1000);
    EXPECT_EQ(form().play.shapeX[1], columnX(4));
    app().padInput(PadButton::DpLeft, false);
    EXPECT_FALSE(form().padRepeat.enabled());
}

TEST_F(GameTest, TheControllerReachesOnlyTheWindowThatTakesInput) {
    enterGame();
    pad(*this, PadButton::Start);
    ASSERT_TRUE(form().Menupanel.visible());
    form().aboutBox()->showModalBox();
    sounds();
    // Behind the About box the menu does not move; B closes the box without a sound.
    pad(*this, PadButton::DpDown);
    EXPECT_EQ(form().menu.padHighlight, -1);
    EXPECT_TRUE(form().aboutBox()->isOpen());
    pad(*this, PadButton::B);
    EXPECT_FALSE(form().aboutBox()->isOpen());
    EXPECT_TRUE(sounds().empty());
    // A presses its Ok, which sounds even with sound off.
    form().settings.soundOn = 0;
    form().aboutBox()->showModalBox();
    pad(*this, PadButton::A);
    EXPECT_FALSE(form().aboutBox()->isOpen());
    EXPECT_EQ(sounds(), std::vector<std::string>{asset::kMenuOver.file});
}

TEST_F(GameTest, AnAPressNotReleasedInTheMenuActsOnlyOnce) {
    // A goes down on New and comes up after the menu has gone: one new game, one release.
    form().confirmName();
    pad(*this, PadButton::DpDown);
    app().padInput(PadButton::A, true);
    app().padInput(PadButton::A, false);
    EXPECT_FALSE(form().Menupanel.visible());
    EXPECT_EQ(form().menu.padHighlight, -1);
    EXPECT_EQ(form().menu.padPressed, -1);
    // The next A is a launch, not a second press of New.
    app().padInput(PadButton::A, true);
    app().padInput(PadButton::A, false);
    EXPECT_TRUE(form().Timer1.enabled());
    EXPECT_FALSE(form().Menupanel.visible());
}

}  // namespace
}  // namespace lumcrest::testing
