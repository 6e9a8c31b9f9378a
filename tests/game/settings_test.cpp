// The menu's settings: the volumes of music and effects stepped by keys, controller and wheel,
// shown by the switches' lights, handed to the audio backend and kept in the settings file; and
// the calm-mode switch. What calm mode draws is measured from the driver's screenshots
// (tests/calm/).
#include <gtest/gtest.h>

#include "assets/catalogue.h"
#include "tests/game/game_fixture.h"

namespace lumcrest::testing {
namespace {

using tk::PadButton;
constexpr int kLeft = 37, kRight = 39, kDown = 40, kPad4 = 100, kPad6 = 102;

// A later start with the menu open, from the settings file's [Settings] LINES.
class Menu : public GameWindow {
  public:
    explicit Menu(const std::string& lines = {})
        : GameWindow(4242, "[Settings]\nFirst=0\n" + lines) {
        // The MENU button, as the controller's Start gives it: the menu, the name panel put away.
        app().dispatch([&] { form().FormMouseUp(tk::MouseButton::Left, 730, 557); });
    }
    void point(int x, int y) { app().inputMouseMove(form(), x, y); }
    void pad(PadButton b) {
        app().padInput(b, true);
        app().padInput(b, false);
    }
    // The volumes as the game, the lights, the audio backend and the file have them.
    std::string volumes() {
        TForm1& f = form();
        const tk::RecordingAudio& a = backend().recorder();
        return std::to_string(f.settings.musicVolume) + "/" +
               std::to_string(f.settings.soundVolume) + " lights " +
               std::to_string(f.menu.button(MenuButton::Music).level()) + "/" +
               std::to_string(f.menu.button(MenuButton::Sound).level()) + " audio " +
               std::to_string(a.musicVolume()) + "/" + std::to_string(a.effectVolume()) + " file " +
               f.profile().readString("Settings", "MusicVolume", "-") + "/" +
               f.profile().readString("Settings", "SoundVolume", "-");
    }
};

constexpr int kMusicX = 400, kMusicY = 290, kSoundX = 400, kSoundY = 350;

TEST(VolumeSteps, LeftAndRightStepTheLitSwitchWithin0To10AndSoundNothing) {
    Menu m;
    EXPECT_EQ(m.volumes(), "10/10 lights 10/10 audio 10/10 file -/-");
    m.point(kMusicX, kMusicY);
    m.sounds();
    for (int i = 0; i < 3; ++i) m.key(kLeft);
    // One step writes both volumes together.
    EXPECT_EQ(m.volumes(), "7/10 lights 7/10 audio 7/10 file 7/10");
    for (int i = 0; i < 5; ++i) m.key(kRight);
    EXPECT_EQ(m.volumes(), "10/10 lights 10/10 audio 10/10 file 10/10");
    for (int i = 0; i < 12; ++i) m.key(kPad4);
    m.key(kPad6);
    EXPECT_EQ(m.volumes(), "1/10 lights 1/10 audio 1/10 file 1/10");
    // Straight from one switch to the other, both stay lit: the last one steps.
    m.point(kSoundX, kSoundY);
    m.sounds();
    m.key(kLeft);
    EXPECT_EQ(m.volumes(), "1/9 lights 1/9 audio 1/9 file 1/9");
    // And straight back: the music switch, lit last, steps again.
    m.point(kMusicX, kMusicY);
    m.key(kRight);
    EXPECT_EQ(m.volumes(), "2/9 lights 2/9 audio 2/9 file 2/9");
    // Over the backdrop no switch is lit: the keys wait, as before.
    m.point(100, 300);
    m.sounds();
    m.key(kLeft);
    m.key(kRight);
    EXPECT_EQ(m.volumes(), "2/9 lights 2/9 audio 2/9 file 2/9");
    EXPECT_TRUE(m.sounds().empty());
    EXPECT_EQ(m.backend().recorder().musicState(), tk::MusicState::Playing);
}

TEST(VolumeSteps, TheSwitchesKeepTheirMeaning) {
    Menu m;
    m.point(kMusicX, kMusicY);
    m.app().inputMouseDown(m.form(), tk::MouseButton::Left, kMusicX, kMusicY);
    m.app().inputMouseUp(m.form(), tk::MouseButton::Left, kMusicX, kMusicY);
    ASSERT_EQ(m.form().settings.musicOn, 0);
    m.key(kRight);
    m.key(kLeft);
    // The volume steps; the music stays off and stopped.
    EXPECT_EQ(m.form().settings.musicVolume, 9);
    EXPECT_EQ(m.form().settings.musicOn, 0);
    EXPECT_EQ(m.backend().recorder().musicState(), tk::MusicState::Stopped);
    EXPECT_EQ(m.form().menu.button(MenuButton::Music).fileName(),
              asset::kMusicSwitch.file(3));  // off, still lit
}

TEST(VolumeSteps, TheControllerStepsTheHighlightedSwitch) {
    Menu m;
    m.pad(PadButton::DpDown);  // New
    m.pad(PadButton::DpRight);
    EXPECT_EQ(m.volumes(), "10/10 lights 10/10 audio 10/10 file -/-");
    m.pad(PadButton::DpDown);  // High scores
    m.pad(PadButton::DpDown);  // Music
    m.sounds();
    m.pad(PadButton::DpLeft);
    m.pad(PadButton::DpLeft);
    m.pad(PadButton::DpRight);
    m.pad(PadButton::DpDown);  // Sound
    m.pad(PadButton::DpLeft);
    EXPECT_EQ(m.volumes(), "9/9 lights 9/9 audio 9/9 file 9/9");
    EXPECT_EQ(m.sounds(), std::vector<std::string>{asset::kRollover.file});
}

TEST(VolumeSteps, TheWheelStepsTheSwitchUnderThePointerOnly) {
    Menu m;
    m.app().inputMouseWheel(m.form(), kSoundX, kSoundY, -3);
    m.app().inputMouseWheel(m.form(), kMusicX, kMusicY, 2);  // already full
    m.app().inputMouseWheel(m.form(), kMusicX, kMusicY, -1);
    m.app().inputMouseWheel(m.form(), 400, 410, -1);  // Help
    m.app().inputMouseWheel(m.form(), 100, 300, -1);  // the backdrop
    EXPECT_EQ(m.volumes(), "9/7 lights 9/7 audio 9/7 file 9/7");
    // A panel over the switches takes the wheel from them.
    m.app().dispatch([&] { m.form().Scorepanel.show(); });
    m.app().inputMouseWheel(m.form(), kSoundX, kSoundY, -3);
    EXPECT_EQ(m.form().settings.soundVolume, 7);
}

TEST(VolumeSteps, PanelsAndTheGameKeepLeftAndRight) {
    Menu m;
    m.point(kMusicX, kMusicY);
    m.app().dispatch([&] { m.form().Scorepanel.show(); });
    // Left and Right turn the table's pages, and only that; another key closes it.
    m.key(kRight);
    EXPECT_TRUE(m.form().Scorepanel.visible());
    EXPECT_EQ(m.form().scorePanel.page(), 1);
    m.key(kLeft);
    EXPECT_EQ(m.form().scorePanel.page(), 0);
    EXPECT_EQ(m.form().settings.musicVolume, 10);
    m.key(kDown);
    EXPECT_FALSE(m.form().Scorepanel.visible());
    EXPECT_EQ(m.form().settings.musicVolume, 10);
    m.enterGame();
    m.placeBar(4, 1, 2, 3);
    const int x = m.form().play.shapeX[1];
    m.key(kLeft);
    EXPECT_NE(m.form().play.shapeX[1], x);
    EXPECT_EQ(m.form().settings.musicVolume, 10);
}

struct FileCase {
    const char* lines;
    const char* volumes;
};

TEST(VolumeSettings, TheFileGivesTheVolumesAndAnInvalidOneIsFull) {
    const FileCase cases[] = {
        {"MusicVolume=3\nSoundVolume=0\n", "3/0 lights 3/0 audio 3/0"},
        {"MusicVolume=11\nSoundVolume=-1\n", "10/10 lights 10/10 audio 10/10"},
        {"MusicVolume=abc\nSoundVolume=\n", "10/10 lights 10/10 audio 10/10"},
        {"MusicVolume=5x\n", "10/10 lights 10/10 audio 10/10"},
    };
    for (const FileCase& c : cases) {
        Menu m(c.lines);
        const std::string v = m.volumes();
        EXPECT_EQ(v.substr(0, v.find(" file")), c.volumes) << c.lines;
    }
}

TEST(CalmSwitch, TogglesAtThePressWithAClickAndIsKept) {
    Menu m;
    EXPECT_EQ(m.form().settings.calmMode, 0);
    EXPECT_EQ(m.form().menu.button(MenuButton::Calm).fileName(), asset::kCalmSwitch.file(2));
    m.point(100, 50);
    EXPECT_EQ(m.form().menu.button(MenuButton::Calm).fileName(), asset::kCalmSwitch.file(3));
    EXPECT_EQ(m.sounds(), std::vector<std::string>{asset::kRollover.file});
    m.app().inputMouseDown(m.form(), tk::MouseButton::Left, 100, 50);
    EXPECT_EQ(m.form().settings.calmMode, 1);
    EXPECT_EQ(m.form().menu.button(MenuButton::Calm).fileName(), asset::kCalmSwitch.file(1));
    EXPECT_EQ(m.form().profile().readString("Settings", "Calm", "-"), "1");
    EXPECT_EQ(m.sounds(), std::vector<std::string>{asset::kClick.file});
    m.app().inputMouseUp(m.form(), tk::MouseButton::Left, 100, 50);
    m.point(100, 300);
    EXPECT_EQ(m.form().menu.button(MenuButton::Calm).fileName(), asset::kCalmSwitch.file(0));
    m.app().inputMouseDown(m.form(), tk::MouseButton::Right, 100, 50);
    EXPECT_EQ(m.form().settings.calmMode, 0);
    EXPECT_EQ(m.form().profile().readString("Settings", "Calm", "-"), "0");

    Menu calm("Calm=1\n");
    EXPECT_EQ(calm.form().settings.calmMode, 1);
    EXPECT_EQ(calm.form().menu.button(MenuButton::Calm).fileName(), asset::kCalmSwitch.file(0));
}

}  // namespace
}  // namespace lumcrest::testing
