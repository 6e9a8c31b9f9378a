// Keyboard routing: the panels act first on every key, then the menu's keys while it shows (its
// highlight, and Left and Right on the lit switch's volume), else the game keys.
#include "toolkit/keys.h"

#include <optional>

#include "app/form.h"
#include "assets/catalogue.h"

namespace lumcrest {

using tk::Key;

void TForm1::keyprocess(int& key) {
    // The Keys page takes every key while it shows: the next one may become a key of play.
    if (keysPage.shown()) {
        keysPage.key(key);
        key = 0;
        return;
    }
    // A panel over the menu keeps every key to itself: the menu's keys wait until it has closed.
    const bool panelOpen = overpanel.visible() || helppanel.visible() || Scorepanel.visible();
    // 1. Enter confirms the name panel, whether or not the menu around it shows.
    if (tk::is(key, Key::Enter) && overpanel.visible()) confirmName();
    // 2-4. Any key closes an open help page or the high-score table.
    if (helppanel.visible()) {
        playEffect(asset::kMenuOver.file);
        helppanel.hide();
        // K on the help page leads on to the Keys page.
        if (tk::is(key, Key::K) && Menupanel.visible()) {
            openKeysPage();
            key = 0;
            return;
        }
    }
    if (helppanel2.visible()) {
        playEffect(asset::kMenuOver.file);
        helppanel2.hide();
    }
    if (Scorepanel.visible()) {
        // Left and Right turn the table's pages while it shows.
        const bool left = tk::is(key, Key::Left) || tk::is(key, Key::Pad4);
        const bool right = tk::is(key, Key::Right) || tk::is(key, Key::Pad6);
        if ((left || right) && Menupanel.visible()) {
            scorePage(right ? 1 : 0);
            key = 0;
            return;
        }
        playEffect(asset::kMenuOver.file);
        Scorepanel.hide();
    }
    // 5. The menu covers the game: the game keys wait, the menu's own keys act. Left and Right
    // step the volume of a lit switch; the others move and press the highlight.
    if (Menupanel.visible()) {
        if (panelOpen) return;
        if (tk::is(key, Key::Left) || tk::is(key, Key::Pad4))
            menuVolumeStep(-1);
        else if (tk::is(key, Key::Right) || tk::is(key, Key::Pad6))
            menuVolumeStep(1);
        else
            menuKey(key);
        return;
    }
    // 6. The game keys, as the player chose them ([Keys]).
    menu.padHighlight = -1;
    const std::optional<KeyAction> action = settings.keys.actionOf(key);
    if (!action) return;
    switch (*action) {
        case KeyAction::Left: session.shift(-1); break;
        case KeyAction::Right: session.shift(+1); break;
        case KeyAction::Rotate: session.rotate(); break;
        case KeyAction::Launch: session.launch(); break;
        case KeyAction::Menu: openMenu(); break;
    }
}

void TForm1::menuKey(int& key) {
    switch (Key(key)) {
        // The controller's highlight: down and up, Tab forward, Shift+Tab back.
        case Key::Down: menuPadMove(1); break;
        case Key::Up: menuPadMove(-1); break;
        case Key::Tab: menuPadMove(app().shiftHeld() ? -1 : 1); break;
        case Key::Enter:
        case Key::Space:
            // The press, as A's; a held key's repeats wait for its release.
            if (menu.padPressed < 0) {
                menuPadPress();
                menu.menuKeyHeld = key;
            }
            break;
        case Key::C: toggleCalmMode(); break;
        case Key::Escape:
            // Back, as the controller's Start (nothing before the first game).
            menu.press(MenuButton::Back);
            menu.release(MenuButton::Back);
            if (!Menupanel.visible()) menu.padHighlight = -1;
            break;
        default: return;
    }
    // The menu took the key: the control with the focus does not see it.
    key = 0;
}

void TForm1::keyup(int& key) {
    // The release of the key that pressed a menu button: that button's release action.
    if (menu.menuKeyHeld == 0 || key != menu.menuKeyHeld) return;
    menu.menuKeyHeld = 0;
    if (menu.padPressed >= 0) menuPadRelease();
}

void TForm1::FormClose() {
    tally.closing(profile_);
    writeSavedGame();
    // A signal or the end of the session is not the player closing the window: no browser then.
    if (!app().backend().closingUnattended()) app().backend().openUrl(env_.webAddress);
}

}  // namespace lumcrest
