// Keyboard routing: the panels act first on every key, then the menu's keys while it shows (its
// highlight, and Left and Right on the lit switch's volume), else the game keys.
#include "app/form.h"
#include "assets/catalogue.h"

namespace lumcrest {

namespace vk {
constexpr int kTab = 9, kEnter = 13, kEscape = 27, kSpace = 32, kC = 67;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kPad4 = 100, kPad5 = 101, kPad6 = 102;
}  // namespace vk

void TForm1::keyprocess(int& key) {
    // A panel over the menu keeps every key to itself: the menu's keys wait until it has closed.
    const bool panelOpen = overpanel.visible() || helppanel.visible() || Scorepanel.visible();
    // 1. Enter confirms the name panel, whether or not the menu around it shows.
    if (key == vk::kEnter && overpanel.visible()) confirmName();
    // 2-4. Any key closes an open help page or the high-score table.
    if (helppanel.visible()) {
        playEffect(asset::kMenuOver.file);
        helppanel.hide();
    }
    if (helppanel2.visible()) {
        playEffect(asset::kMenuOver.file);
        helppanel2.hide();
    }
    if (Scorepanel.visible()) {
        playEffect(asset::kMenuOver.file);
        Scorepanel.hide();
    }
    // 5. The menu covers the game: the game keys wait, the menu's own keys act. Left and Right
    // step the volume of a lit switch; the others move and press the highlight.
    if (Menupanel.visible()) {
        if (panelOpen) return;
        if (key == vk::kLeft || key == vk::kPad4)
            menuVolumeStep(-1);
        else if (key == vk::kRight || key == vk::kPad6)
            menuVolumeStep(1);
        else
            menuKey(key);
        return;
    }
    // 6. The game keys.
    padHighlight = -1;
    switch (key) {
        case vk::kLeft:
        case vk::kPad4: shiftLeft(); break;
        case vk::kRight:
        case vk::kPad6: shiftRight(); break;
        case vk::kDown:
        case vk::kPad5: rotateGems(); break;
        case vk::kUp:
        case vk::kSpace: launchBar(); break;
        default: break;
    }
}

void TForm1::menuKey(int& key) {
    switch (key) {
        // The controller's highlight: down and up, Tab forward, Shift+Tab back.
        case vk::kDown: menuPadMove(1); break;
        case vk::kUp: menuPadMove(-1); break;
        case vk::kTab: menuPadMove(app().shiftHeld() ? -1 : 1); break;
        case vk::kEnter:
        case vk::kSpace:
            // The press, as A's; a held key's repeats wait for its release.
            if (padPressed < 0) {
                menuPadPress();
                menuKeyHeld = key;
            }
            break;
        case vk::kC: toggleCalmMode(); break;
        case vk::kEscape:
            // Back, as the controller's Start (nothing before the first game).
            BackbuttonMouseDown(tk::MouseButton::Left, 0, 0);
            BackbuttonMouseUp(tk::MouseButton::Left, 0, 0);
            if (!Menupanel.visible()) padHighlight = -1;
            break;
        default: return;
    }
    // The menu took the key: the control with the focus does not see it.
    key = 0;
}

void TForm1::keyup(int& key) {
    // The release of the key that pressed a menu button: that button's release action.
    if (menuKeyHeld == 0 || key != menuKeyHeld) return;
    menuKeyHeld = 0;
    if (padPressed >= 0) menuPadRelease();
}

void TForm1::FormClose() {
    writeSavedGame();
    // A signal or the end of the session is not the player closing the window: no browser then.
    if (!app().backend().closingUnattended()) app().backend().openUrl(env_.webAddress);
}

}  // namespace lumcrest
