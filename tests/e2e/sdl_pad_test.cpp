// The real game with a game controller under Xvfb: SDL's virtual joystick stands in for a pad
// that is plugged in while the game runs, plays through the menu into a game, and is pulled out
// in the middle of a held direction.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "assets/catalogue.h"
#include "toolkit/application.h"
#include "toolkit/sdl/sdl_backend.h"
#include "toolkit/timer.h"

namespace {

namespace fs = std::filesystem;
using lumcrest::TForm1;

// A pad as SDL's virtual joystick: every controller button and axis, read through the
// game-controller API like any real pad.
class VirtualPad {
  public:
    bool attach() {
        SDL_VirtualJoystickDesc d{};
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        d.naxes = SDL_CONTROLLER_AXIS_MAX;
        d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        d.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        d.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        d.name = "Test pad";
        index_ = SDL_JoystickAttachVirtualEx(&d);
        if (index_ < 0) return false;
        joystick_ = SDL_JoystickOpen(index_);
        return joystick_ != nullptr;
    }
    void detach() {
        if (!joystick_) return;
        SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
    }
    void axis(SDL_GameControllerAxis a, Sint16 v) { SDL_JoystickSetVirtualAxis(joystick_, a, v); }
    ~VirtualPad() { detach(); }

  private:
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

// Runs the real game with STEPS, one every 60 ms of its event loop, then closes it.
class PadGame : public ::testing::Test {
  protected:
    fs::path home;
    void SetUp() override {
        home = fs::temp_directory_path() / ("lumcrest-pad-" + std::to_string(::getpid()));
        fs::create_directories(home);
        fs::current_path(LUMCREST_DATA_DIR);
    }
    void TearDown() override { fs::remove_all(home); }

    void play(const std::vector<std::function<void(TForm1&)>>& steps) {
        tk::SdlBackend backend;
        tk::Application app(backend);
        lumcrest::Environment env;
        env.settingsPath = (home / "lumcrest.ini").string();
        env.webAddress = "file:///dev/null";
        env.seedSource = [] { return 7u; };
        auto program = lumcrest::startProgram(app, env);
        std::size_t next = 0;
        tk::Timer script(app, "script", 60, true);
        script.onTimer = [&] {
            if (next < steps.size()) {
                steps[next++](*program->form);
            } else {
                script.setEnabled(false);
                program->form->close();
            }
        };
        app.run();
        EXPECT_EQ(next, steps.size()) << "the game ended before the script";
    }
};

TEST_F(PadGame, APadPluggedInDuringPlayLeadsThroughTheMenuIntoAGameAndMayBePulledOut) {
    VirtualPad pad;
    int xBefore = 0, xAtPull = 0;
    auto press = [&](SDL_GameControllerButton b) {
        return [&pad, b](TForm1&) { pad.button(b, true); };
    };
    auto release = [&](SDL_GameControllerButton b) {
        return [&pad, b](TForm1&) { pad.button(b, false); };
    };
    std::vector<std::function<void(TForm1&)>> steps = {
        // Plugged in while the game is running.
        [&](TForm1&) { ASSERT_TRUE(pad.attach()) << SDL_GetError(); },
        [](TForm1& f) {
            EXPECT_TRUE(f.overpanel.visible());
            // The name box has the focus: the system's text input runs.
            EXPECT_TRUE(SDL_IsTextInputActive());
        },
        // A confirms the name panel: the letter board's first press starts on Done.
        press(SDL_CONTROLLER_BUTTON_A),
        release(SDL_CONTROLLER_BUTTON_A),
        [](TForm1& f) {
            EXPECT_FALSE(f.overpanel.visible());
            EXPECT_EQ(f.settings.playerName, "Player");
            EXPECT_FALSE(SDL_IsTextInputActive());
        },
        // Down lights Play; A presses it.
        press(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
        release(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
        [](TForm1& f) { EXPECT_EQ(f.Newbutton.fileName(), lumcrest::asset::kPlayButton.file(1)); },
        press(SDL_CONTROLLER_BUTTON_A),
        [](TForm1& f) {
            EXPECT_EQ(f.Newbutton.fileName(), lumcrest::asset::kPlayButton.file(2));
            EXPECT_TRUE(f.Menupanel.visible());
        },
        release(SDL_CONTROLLER_BUTTON_A),
        [](TForm1& f) {
            EXPECT_FALSE(f.Menupanel.visible());
            EXPECT_TRUE(f.helppanel2.visible());
        },
        // B closes the first-play help (and rotates, as a key would).
        press(SDL_CONTROLLER_BUTTON_B),
        release(SDL_CONTROLLER_BUTTON_B),
        [&](TForm1& f) {
            EXPECT_FALSE(f.helppanel2.visible());
            xBefore = f.play.shapeX[1];
        },
        // The left stick pushed left shifts the bar once.
        [&](TForm1&) { pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -30000); },
        [&](TForm1&) { pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0); },
        [&](TForm1& f) {
            EXPECT_EQ(f.play.shapeX[1], xBefore - 1);
            xBefore = f.play.shapeX[1];
        },
        // A launches the bar.
        press(SDL_CONTROLLER_BUTTON_A),
        [](TForm1& f) { EXPECT_TRUE(f.Timer1.enabled() || f.play.shapeY[1] > 18); },
        release(SDL_CONTROLLER_BUTTON_A),
        [](TForm1&) {},
        [](TForm1&) {},
        [](TForm1&) {},
        [](TForm1&) {},
        // Right held, then the pad is pulled out: the bar stops where it was.
        press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
        [&](TForm1& f) { EXPECT_GT(f.play.shapeX[1], xBefore); },
        [&](TForm1& f) {
            pad.detach();
            xAtPull = f.play.shapeX[1];
        },
        [](TForm1&) {},
        [](TForm1&) {},
        [](TForm1&) {},
        [](TForm1&) {},
        [](TForm1&) {},
        [](TForm1&) {},
        [](TForm1&) {},
        [](TForm1&) {},
        [&](TForm1& f) {
            // At most the tick that was on its way when the pad went.
            EXPECT_LE(f.play.shapeX[1], xAtPull + 1);
            EXPECT_FALSE(f.padRepeat.enabled());
        },
        // Plugged in again, it works again: Start opens the menu.
        [&](TForm1&) { ASSERT_TRUE(pad.attach()) << SDL_GetError(); },
        [](TForm1&) {},
        press(SDL_CONTROLLER_BUTTON_START),
        release(SDL_CONTROLLER_BUTTON_START),
        [](TForm1& f) { EXPECT_TRUE(f.Menupanel.visible()); },
    };
    play(steps);
}

}  // namespace
