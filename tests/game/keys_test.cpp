// Which key reaches what: the name panel, the help pages and the high-score table act first, the
// menu holds the game keys back, and in play the keypad and Space work like the arrows.
#include <algorithm>
#include <array>

#include "assets/catalogue.h"
#include "tests/game/game_fixture.h"
#include "ui/menu_pictures.h"

namespace lumcrest::testing {
namespace {

constexpr int kTab = 9, kEnter = 13, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kPad4 = 100, kPad5 = 101, kPad6 = 102;
constexpr int kLetterA = 65;

class KeyRouting : public GameTest {
  protected:
    void SetUp() override {
        clearBoard();
        placeBar(4, 1, 2, 3);
        sounds();
    }
    std::array<int, 4> bar() {
        return {form().play.shapeX[1], form().play.Shape[1], form().play.Shape[2],
                form().play.Shape[3]};
    }
    // Sends every game key and reports whether the bar stayed as it was, unlaunched.
    bool gameKeysIgnored() {
        const auto before = bar();
        for (int k : {kLeft, kRight, kDown, kUp, kSpace, kPad4, kPad5, kPad6}) key(k);
        return bar() == before && !form().Timer1.enabled();
    }
    int clicks() {
        auto s = sounds();
        return int(std::count(s.begin(), s.end(), asset::kMenuOver.file));
    }
};

TEST_F(KeyRouting, OnlyEnterConfirmsTheNamePanelAndTheMenuHoldsTheGameKeysBack) {
    ASSERT_TRUE(form().Menupanel.visible());
    ASSERT_TRUE(form().overpanel.visible());
    key(kLetterA);
    EXPECT_TRUE(form().overpanel.visible());
    EXPECT_TRUE(gameKeysIgnored());
    EXPECT_TRUE(form().overpanel.visible());
    EXPECT_EQ(clicks(), 0);

    key(kEnter);
    EXPECT_FALSE(form().overpanel.visible());
    EXPECT_TRUE(form().Menupanel.visible());
    EXPECT_EQ(clicks(), 1);
    // The plain menu still covers the game.
    EXPECT_TRUE(gameKeysIgnored());
}

TEST_F(KeyRouting, AnyKeyClosesAHelpPageOrTheScoreTableWithAClick) {
    app().dispatch([&] { form().overpanel.hide(); });
    for (tk::Panel* panel : {&form().helppanel, &form().Scorepanel}) {
        app().dispatch([&] { panel->show(); });
        sounds();
        key(kDown);
        EXPECT_FALSE(panel->visible());
        EXPECT_EQ(clicks(), 1);
        EXPECT_TRUE(form().Menupanel.visible());
        // Closing took the key: the next ones reach only the menu's hold.
        EXPECT_TRUE(gameKeysIgnored());
        EXPECT_EQ(clicks(), 0);
    }
    // The help page over the field at the first game closes and the key still plays.
    enterGame();
    app().dispatch([&] { form().helppanel2.show(); });
    sounds();
    key(kLeft);
    EXPECT_FALSE(form().helppanel2.visible());
    EXPECT_EQ(clicks(), 1);
    EXPECT_EQ(form().play.shapeX[1], columnX(3));
}

TEST_F(KeyRouting, InPlayTheKeypadAndSpaceWorkLikeTheArrows) {
    enterGame();
    key(kPad4);
    EXPECT_EQ(form().play.shapeX[1], columnX(3));
    key(kPad6);
    key(kPad6);
    EXPECT_EQ(form().play.shapeX[1], columnX(5));
    key(kPad5);
    EXPECT_EQ(bar(), (std::array<int, 4>{columnX(5), 2, 3, 1}));
    EXPECT_FALSE(form().Timer1.enabled());
    key(kDown);
    EXPECT_EQ(bar(), (std::array<int, 4>{columnX(5), 3, 1, 2}));
    key(kSpace);
    EXPECT_TRUE(form().Timer1.enabled());
    // Left and Right wait while the bar flies.
    key(kRight);
    key(kLeft);
    EXPECT_EQ(form().play.shapeX[1], columnX(5));
}

// The menu's keys, through the real loop's entry (press and release, Shift as the SDL backend
// reports it), on a later start's menu.
class MenuKeys : public GameTest {
  protected:
    void SetUp() override {
        app().dispatch([&] {
            form().confirmName();
            form().settings.firstRun = 0;
        });
        sounds();
    }
    void press(int code, bool shift = false) {
        app().inputKeyDown(form(), code, shift);
        app().inputKeyUp(form(), code);
    }
    int lit() { return form().menu.padHighlight; }
};

TEST_F(MenuKeys, TabAndShiftTabMoveTheHighlightBothWaysAndShiftIsOnlyThatPress) {
    ASSERT_TRUE(form().Menupanel.visible());
    press(kTab, true);  // the first move lights the bottom button: Back
    EXPECT_EQ(lit(), 6);
    press(kTab, true);
    EXPECT_EQ(lit(), 5);
    press(kTab);
    press(kTab);
    EXPECT_EQ(lit(), 0);  // round from Back to the top
    EXPECT_FALSE(app().shiftHeld());
    // Shift with a game key changes nothing in play.
    enterGame();
    clearBoard();
    placeBar(4, 1, 2, 3);
    press(kLeft, true);
    EXPECT_EQ(form().play.shapeX[1], columnX(3));
}

TEST_F(MenuKeys, AHeldEnterPressesOnceAndItsReleaseActs) {
    press(kDown);  // New
    sounds();
    // Auto-repeat gives presses without releases: only the first one counts.
    app().inputKeyDown(form(), kEnter);
    EXPECT_EQ(form().menu.button(MenuButton::New).fileName(),
              newButtonPicture(false, ButtonLook::Pressed));
    app().inputKeyDown(form(), kEnter);
    app().inputKeyDown(form(), kSpace);
    EXPECT_TRUE(form().Menupanel.visible());
    EXPECT_EQ(form().menu.padPressed, 0);
    // Another key's release is not the press's.
    app().inputKeyUp(form(), kSpace);
    EXPECT_TRUE(form().Menupanel.visible());
    app().inputKeyUp(form(), kEnter);
    EXPECT_FALSE(form().Menupanel.visible());
    EXPECT_EQ(sounds(), std::vector<std::string>{asset::kClick.file});
    EXPECT_EQ(form().menu.padHighlight, -1);
    // In play the same keys are the game's again: Space launches.
    press(kSpace);
    EXPECT_TRUE(form().Timer1.enabled());
}

TEST_F(MenuKeys, KeysAndTheControllerShareOneHighlight) {
    app().padInput(tk::PadButton::DpDown, true);
    app().padInput(tk::PadButton::DpDown, false);
    press(kDown);
    EXPECT_EQ(lit(), 1);
    // A key press and the pad's A: one press in progress at a time.
    app().inputKeyDown(form(), kEnter);
    app().padInput(tk::PadButton::A, true);
    app().inputKeyUp(form(), kEnter);
    EXPECT_TRUE(form().Scorepanel.visible());
    EXPECT_EQ(form().menu.padPressed, -1);
}

}  // namespace
}  // namespace lumcrest::testing
