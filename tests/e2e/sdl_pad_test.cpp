// The real game with a game controller under Xvfb: SDL's virtual joystick stands in for a pad
// that is plugged in while the game runs, plays through the menu into a game, and is pulled out
// in the middle of a held direction.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
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

// One step of a script: DONE does its part and says whether the step is over (an action is over
// at once; a wait is over when what it waits for holds). WHAT names it should it never be.
struct Step {
    std::string what;
    std::function<bool(TForm1&)> done;
};

Step act(std::function<void(TForm1&)> f) {
    return {"", [f](TForm1& form) {
                f(form);
                return true;
            }};
}

Step waitFor(std::string what, std::function<bool(TForm1&)> holds) {
    return {std::move(what), std::move(holds)};
}

// Runs the real game with STEPS, each tried every 20 ms of its event loop until it is over (a
// loaded machine only makes a step take longer: a wait gives up after 30 s), then closes it.
class PadGame : public ::testing::Test {
  protected:
    fs::path home;
    void SetUp() override {
        home = fs::temp_directory_path() / ("lumcrest-pad-" + std::to_string(::getpid()));
        fs::create_directories(home);
        fs::current_path(LUMCREST_DATA_DIR);
    }
    void TearDown() override { fs::remove_all(home); }

    void play(const std::vector<Step>& steps) {
        tk::SdlBackend backend;
        tk::Application app(backend);
        lumcrest::Environment env;
        env.settingsPath = (home / "lumcrest.ini").string();
        env.webAddress = "file:///dev/null";
        env.seedSource = [] { return 7u; };
        auto program = lumcrest::startProgram(app, env);
        std::size_t next = 0;
        Uint64 since = SDL_GetTicks64();
        tk::Timer script(app, "script", 20, true);
        script.onTimer = [&] {
            if (next < steps.size() && steps[next].done(*program->form)) {
                ++next;
                since = SDL_GetTicks64();
            } else if (next < steps.size() && SDL_GetTicks64() - since < 30000) {
                return;
            } else {
                if (next < steps.size()) ADD_FAILURE() << "never: " << steps[next].what;
                script.setEnabled(false);
                program->form->close();
            }
        };
        app.run();
        EXPECT_EQ(next, steps.size()) << "the game ended before the script";
    }
};

// The pad as the game opened it (SDL gives the controller only once someone opened it; the test
// itself holds it as a plain joystick), or null.
SDL_GameController* theGamesPad() {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (auto* c = SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(i)))
            return c;
    return nullptr;
}

// Button B of the pad goes down (or up), and the step is over once the game's event loop has
// taken it in: a press let go before the loop looked would never be seen.
Step button(VirtualPad& pad, SDL_GameControllerButton b, bool down) {
    auto sent = std::make_shared<bool>(false);
    std::string what = std::string("the game sees button ") +
                       SDL_GameControllerGetStringForButton(b) + (down ? " go down" : " go up");
    return {what, [&pad, b, down, sent](TForm1&) {
                if (!*sent) pad.button(b, down);
                *sent = true;
                SDL_GameController* c = theGamesPad();
                return c && SDL_GameControllerGetButton(c, b) == (down ? 1 : 0);
            }};
}

TEST_F(PadGame, APadPluggedInDuringPlayLeadsThroughTheMenuIntoAGameAndMayBePulledOut) {
    VirtualPad pad;
    int xBefore = 0, xAtPull = 0;
    Uint64 pulledAt = 0;
    auto press = [&](SDL_GameControllerButton b) { return button(pad, b, true); };
    auto release = [&](SDL_GameControllerButton b) { return button(pad, b, false); };
    auto play1 = lumcrest::asset::kPlayButton.file(1), play2 = lumcrest::asset::kPlayButton.file(2);
    std::vector<Step> steps = {
        // Plugged in while the game is running.
        act([&](TForm1&) { ASSERT_TRUE(pad.attach()) << SDL_GetError(); }),
        waitFor("the game opens the pad", [](TForm1&) { return theGamesPad() != nullptr; }),
        act([](TForm1& f) {
            EXPECT_TRUE(f.overpanel.visible());
            // The name box has the focus: the system's text input runs.
            EXPECT_TRUE(SDL_IsTextInputActive());
        }),
        // A confirms the name panel: the letter board's first press starts on Done.
        press(SDL_CONTROLLER_BUTTON_A),
        release(SDL_CONTROLLER_BUTTON_A),
        waitFor("A closes the name panel", [](TForm1& f) { return !f.overpanel.visible(); }),
        act([](TForm1& f) {
            EXPECT_EQ(f.settings.playerName, "Player");
            EXPECT_FALSE(SDL_IsTextInputActive());
        }),
        // Down lights Play; A presses it.
        press(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
        release(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
        waitFor("Down lights Play",
                [&](TForm1& f) {
                    return f.menu.button(lumcrest::MenuButton::New).fileName() == play1;
                }),
        press(SDL_CONTROLLER_BUTTON_A),
        waitFor("A presses Play in the menu",
                [&](TForm1& f) {
                    return f.menu.button(lumcrest::MenuButton::New).fileName() == play2 &&
                           f.Menupanel.visible();
                }),
        release(SDL_CONTROLLER_BUTTON_A),
        waitFor("the menu gives way to the first-play help",
                [](TForm1& f) { return !f.Menupanel.visible() && f.helppanel2.visible(); }),
        // B closes the first-play help (and rotates, as a key would).
        press(SDL_CONTROLLER_BUTTON_B),
        release(SDL_CONTROLLER_BUTTON_B),
        waitFor("B closes the help", [](TForm1& f) { return !f.helppanel2.visible(); }),
        act([&](TForm1& f) { xBefore = f.play.shapeX[1]; }),
        // The left stick pushed left shifts the bar once (let go as soon as it has).
        act([&](TForm1&) { pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -30000); }),
        waitFor("the stick shifts the bar",
                [&](TForm1& f) {
                    if (f.play.shapeX[1] == xBefore) return false;
                    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
                    return true;
                }),
        act([&](TForm1& f) {
            EXPECT_EQ(f.play.shapeX[1], xBefore - 1);
            xBefore = f.play.shapeX[1];
        }),
        // A launches the bar; the next one waits at the bottom.
        press(SDL_CONTROLLER_BUTTON_A),
        waitFor("A launches the bar",
                [](TForm1& f) { return f.Timer1.enabled() || f.play.shapeY[1] > 18; }),
        release(SDL_CONTROLLER_BUTTON_A),
        waitFor("the bar lands", [](TForm1& f) { return !f.Timer1.enabled(); }),
        act([&](TForm1& f) { xBefore = f.play.shapeX[1]; }),
        // Right held, then the pad is pulled out: the bar stops where it was.
        press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
        waitFor("Right held moves the bar right and repeats",
                [&](TForm1& f) { return f.play.shapeX[1] > xBefore && f.padRepeat.enabled(); }),
        act([&](TForm1& f) {
            pad.detach();
            xAtPull = f.play.shapeX[1];
            pulledAt = SDL_GetTicks64();
        }),
        waitFor("the repeat stops once the pad is gone",
                [](TForm1& f) { return !f.padRepeat.enabled(); }),
        // Half a second more, in which a held key would have moved it on: at most the tick that
        // was on its way when the pad went.
        waitFor("half a second passes",
                [&](TForm1&) { return SDL_GetTicks64() - pulledAt >= 500; }),
        act([&](TForm1& f) {
            EXPECT_LE(f.play.shapeX[1], xAtPull + 1);
            EXPECT_FALSE(f.padRepeat.enabled());
        }),
        // Plugged in again, it works again: Start opens the menu.
        act([&](TForm1&) { ASSERT_TRUE(pad.attach()) << SDL_GetError(); }),
        waitFor("the game opens the pad again", [](TForm1&) { return theGamesPad() != nullptr; }),
        press(SDL_CONTROLLER_BUTTON_START),
        release(SDL_CONTROLLER_BUTTON_START),
        waitFor("Start opens the menu", [](TForm1& f) { return f.Menupanel.visible(); }),
    };
    play(steps);
}

}  // namespace
