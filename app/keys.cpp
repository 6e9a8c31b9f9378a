// Keyboard routing: the panels act first on every key, then the game keys while the menu is
// hidden; in the menu, Left and Right step the volume of the lit switch.
#include "app/form.h"
#include "assets/catalogue.h"

namespace lumcrest {

namespace vk {
constexpr int kEnter = 13, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kPad4 = 100, kPad5 = 101, kPad6 = 102;
}  // namespace vk

void TForm1::keyprocess(int& key) {
    // A key that closes a panel over the menu does nothing else there.
    const bool panelOver = overpanel.visible() || helppanel.visible() || Scorepanel.visible();
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
    // 5. The menu covers the game: its keys wait, but Left and Right step a lit switch's volume.
    if (Menupanel.visible()) {
        if (panelOver) return;
        if (key == vk::kLeft || key == vk::kPad4) menuVolumeStep(-1);
        if (key == vk::kRight || key == vk::kPad6) menuVolumeStep(1);
        return;
    }
    // 6. The game keys.
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

void TForm1::keyup(int&) {}

void TForm1::FormClose() {
    writeSavedGame();
    // A signal or the end of the session is not the player closing the window: no browser then.
    if (!app().backend().closingUnattended()) app().backend().openUrl(env_.webAddress);
}

}  // namespace lumcrest
