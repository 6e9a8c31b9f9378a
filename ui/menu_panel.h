// The menu's image buttons as a part: their pictures at rest, lit, pressed and switched, which of
// them the pointer or the highlight has lit, and the controller's (or the keyboard's) highlight
// moving among them. What a button does when it is released is the window's: it wires the
// buttons' handlers and asks this part for the pictures.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "store/player_settings.h"
#include "toolkit/control.h"
#include "ui/menu_state.h"
#include "ui/volume_switch.h"

namespace lumcrest {

// The image buttons, in the highlight's order from the top (Calm, at the top left, is not one
// the highlight visits).
enum class MenuButton { New, Scores, Music, Sound, Help, About, Back, Calm };

class MenuPanel {
  public:
    struct Buttons {
        tk::Picture& newGame;  // Play at the first run, New Game after
        tk::Picture& scores;
        VolumeSwitch& music;
        VolumeSwitch& sound;
        tk::Picture& help;
        tk::Picture& about;
        tk::Picture& back;
        tk::Picture& calm;
    };
    // SETTINGS gives the switches' states and whether a game has begun; PLAYEFFECT sounds the
    // rollover (the window's sound switch decides).
    MenuPanel(Buttons buttons, const PlayerSettings& settings,
              std::function<void(const std::string&)> playEffect)
        : b_(buttons), settings_(settings), playEffect_(std::move(playEffect)) {}

    // The pointer (or the highlight) comes onto BUTTON: its hover picture with the rollover
    // sound, once per entry. Back stays dark before the first game has begun.
    void hover(MenuButton button);
    // The pointer crosses the backdrop: every lit button goes back to rest.
    void leaveAll();
    // BUTTON's pressed picture; a switch's picture for its state now, lit.
    void showPressed(MenuButton button);
    void showSwitch(MenuButton button);
    // BUTTON at rest; the New Game button at rest once a game has begun.
    void showRest(MenuButton button);
    void showNewGameAtRest();
    // The calm switch pressed from afar (a key, a controller): back to rest unless lit.
    void restCalmUnlessLit();

    // Moves the highlight by STEP (+1 down, -1 up) over the buttons that take part, lighting
    // the one it lands on as the pointer would.
    void moveHighlight(int step);
    // The switch whose volume Left and Right step: the lit one, the one lit last when both
    // are; nothing when neither is (true: music).
    std::optional<bool> litVolumeSwitch() const;

    // How many buttons the highlight visits (all but Calm).
    static constexpr int kHighlightStops = 7;

    MenuLights lights;
    int padHighlight = -1;  // the button the highlight is on (MenuButton's order), -1 for none
    int padPressed = -1;    // the button A (or a key) went down on, -1 for none
    int menuKeyHeld = 0;    // the key that pressed that button, until its release
    // Which switch was lit last (both may be, when the pointer went from one to the other
    // without crossing the backdrop): its volume is the one that steps.
    bool soundLitLast = false;

  private:
    void rollOver(tk::Picture& button, std::uint8_t& lit, const std::string& hover);

    Buttons b_;
    const PlayerSettings& settings_;
    std::function<void(const std::string&)> playEffect_;
};

}  // namespace lumcrest
