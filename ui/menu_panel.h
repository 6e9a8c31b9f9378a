// The menu's image buttons as a part: it holds the buttons (built from the table of
// ui/menu_buttons.h, under the names the driver finds them by), their pictures at rest, lit,
// pressed and switched, which of them the pointer or the highlight has lit, a switch's setting,
// and the controller's (or the keyboard's) highlight moving among them. What a button does when
// it is pressed or released, and what follows a switch's turn, is the window's: it hands this
// part its actions.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "game/state_fields.h"
#include "store/player_settings.h"
#include "toolkit/control.h"
#include "toolkit/image_list.h"
#include "ui/menu_buttons.h"
#include "ui/volume_switch.h"

namespace lumcrest {

class MenuPanel {
  public:
    // The buttons go into PARENT (the menu), in the table's order. SETTINGS gives the switches'
    // states and whether a game has begun, and takes a switch's turn; PLAYEFFECT sounds the
    // rollover and the click (the window's sound switch decides).
    MenuPanel(tk::Control& parent, PlayerSettings& settings,
              std::function<void(const std::string&)> playEffect);

    // BUTTON's control (every one can show a row of volume lights; only the volume switches do).
    VolumeSwitch& button(MenuButton button) { return *buttons_[int(button)]; }
    const VolumeSwitch& button(MenuButton button) const { return *buttons_[int(button)]; }

    // Every button's picture for the settings as they are now (the start); the volume
    // switches' lights.
    void showAtStart(const tk::ImageList* volumeLights);

    // What a button does beyond its pictures: PRESS as it goes down, RELEASE as it comes up.
    struct Actions {
        std::function<void()> press, release;
    };
    void setActions(MenuButton button, Actions actions) {
        actions_[int(button)] = std::move(actions);
    }
    // A switch has turned (its setting holds its new state; its picture shows it).
    std::function<void(MenuButton)> onSwitched;

    // The pointer (or the highlight) comes onto BUTTON: its hover picture with its sound, once
    // per entry. A button that waits for a game stays dark before the first game has begun.
    void hover(MenuButton button);
    // The pointer crosses the backdrop: every lit button goes back to rest.
    void leaveAll();
    // BUTTON goes down (pointer, controller or key): a switch clicks, turns and shows its new
    // state; a button shows its pressed picture; then the window's action.
    void press(MenuButton button);
    // BUTTON comes up: the window's release action (a switch has none).
    void release(MenuButton button);
    // BUTTON's switch picture for its state now, lit.
    void showSwitch(MenuButton button);
    // BUTTON at rest; the New Game button at rest once a game has begun.
    void showRest(MenuButton button);
    void showNewGameAtRest();
    // BUTTON pressed from afar (a key, a controller): back to rest unless the pointer lit it.
    void restUnlessLit(MenuButton button);
    bool lit(MenuButton button) const { return lit_[int(button)] != 0; }

    // Moves the highlight by STEP (+1 down, -1 up) over the buttons that take part, lighting
    // the one it lands on as the pointer would.
    void moveHighlight(int step);
    // A (or a key) goes down on the highlighted button, and comes up on the one it went down on.
    void pressHighlighted();
    void releasePressed();
    // The switch whose volume Left and Right step: the lit one, the one lit last when both
    // are; nothing when neither is (true: music).
    std::optional<bool> litVolumeSwitch() const;

    // The lit flag the driver names NAME ("newLit", ..., as the table names them), or nothing.
    std::optional<FieldRef> findLight(std::string_view name);

    // How many buttons the highlight visits.
    static constexpr int kHighlightStops = [] {
        int n = 0;
        for (const MenuButtonRow& row : kMenuButtons) n += row.highlighted ? 1 : 0;
        return n;
    }();

    int padHighlight = -1;  // the stop the highlight is on (the table's order), -1 for none
    int padPressed = -1;    // the stop A (or a key) went down on, -1 for none
    int menuKeyHeld = 0;    // the key that pressed that button, until its release
    // Which switch was lit last (both may be, when the pointer went from one to the other
    // without crossing the backdrop): its volume is the one that steps.
    bool soundLitLast = false;

  private:
    // BUTTON's picture in LOOK (0 rest, 1 hover, 2 pressed) for the settings as they are now.
    std::string picture(const MenuButtonRow& row, int look) const;
    bool waitsForGame(const MenuButtonRow& row) const;

    std::array<std::unique_ptr<VolumeSwitch>, kMenuButtonCount> buttons_;
    std::array<std::uint8_t, kMenuButtonCount> lit_{};
    std::array<Actions, kMenuButtonCount> actions_;
    PlayerSettings& settings_;
    std::function<void(const std::string&)> playEffect_;
};

}  // namespace lumcrest
