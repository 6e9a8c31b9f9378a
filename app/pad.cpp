// Game-controller routing. A pad press becomes the key press the keyboard would give, through the
// same keyprocess, so the rules of the keys stay in one place: left/right shift the bar (held,
// they repeat as a held key does), A or up launches, B, X or down rotates. Start is the MENU
// button in the game and Back in the menu; in the menu the D-pad moves a highlight over the
// image buttons, left/right step the volume of a highlighted switch and A presses the highlighted
// one. Panels over the menu close with A or B; the name panel has its letter board
// (ui/name_pad.cpp).
#include "app/form.h"
#include "toolkit/keys.h"

namespace lumcrest {

namespace {

using tk::Key;

// The key a button stands for in play: the first key of its action, whatever keys the player
// chose; 0 for none.
int gameKey(const KeyBindings& keys, tk::PadButton b) {
    using tk::PadButton;
    switch (b) {
        case PadButton::DpLeft: return keys.primary(KeyAction::Left);
        case PadButton::DpRight: return keys.primary(KeyAction::Right);
        case PadButton::A:
        case PadButton::DpUp: return keys.primary(KeyAction::Launch);
        case PadButton::B:
        case PadButton::X:
        case PadButton::DpDown: return keys.primary(KeyAction::Rotate);
        default: return 0;
    }
}

}  // namespace

void TForm1::padprocess(tk::PadButton b, bool down) {
    using tk::PadButton;
    if (!down) {
        if (b == PadButton::A && menu.padPressed >= 0) {
            menuPadRelease();
            return;
        }
        // Letting go of the held direction ends its repeat, as releasing a key does.
        if (padHeldKey != 0 && b == padHeldButton) {
            int key = padHeldKey;
            padHeldKey = 0;
            padRepeat.setEnabled(false);
            keyUp(key);
        }
        return;
    }
    if (!Menupanel.visible()) {
        menu.padHighlight = -1;
        if (b == PadButton::Start) {
            // The MENU button's release, as the pointer gives it inside its hot rectangle.
            FormMouseUp(tk::MouseButton::Left, 730, 557);
            return;
        }
        int key = gameKey(settings.keys, b);
        if (key == 0) return;
        keyDown(key);
        if (b == PadButton::DpLeft || b == PadButton::DpRight) {
            padHeldKey = key;
            padHeldButton = b;
            padRepeat.setEnabled(false);
            padRepeat.setInterval(kPadRepeatDelayMs);
            padRepeat.setEnabled(true);
        } else {
            keyUp(key);
        }
        return;
    }
    // The menu shows. The Keys page takes every button while it shows.
    if (keysPage.shown()) {
        keysPage.pad(b);
        return;
    }
    if (helppanel.visible() && !overpanel.visible() && helpPadButton(b)) return;
    // The name panel takes every button for its letter board.
    if (overpanel.visible()) {
        namePadButton(b);
        return;
    }
    if (b == PadButton::Start) {
        menu.press(MenuButton::Back);
        menu.release(MenuButton::Back);
        return;
    }
    if (Scorepanel.visible() && (b == PadButton::DpLeft || b == PadButton::DpRight)) {
        scorePage(b == PadButton::DpRight ? 1 : 0);
        return;
    }
    if (helppanel.visible() || Scorepanel.visible()) {
        // A or B closes the panel, as any key does.
        if (b == PadButton::A || b == PadButton::B) {
            int key = gameKey(settings.keys, b);
            keyDown(key);
            keyUp(key);
        }
        return;
    }
    if (b == PadButton::DpDown) menuPadMove(1);
    if (b == PadButton::DpUp) menuPadMove(-1);
    if (b == PadButton::DpLeft) menuVolumeStep(-1);
    if (b == PadButton::DpRight) menuVolumeStep(1);
    if (b == PadButton::A) menuPadPress();
    if (b == PadButton::Y) toggleCalmMode();
}

bool TForm1::helpPadButton(tk::PadButton b) {
    // Left and right go between the help page's Ok and its Keys button; A on Keys opens the page.
    using tk::PadButton;
    if (b == PadButton::DpLeft) setFocus(&dxButton4);
    if (b == PadButton::DpRight) setFocus(&helpkeys);
    if (b != PadButton::A || focus() != &helpkeys) return false;
    openKeysPage();
    return true;
}

void TForm1::padRepeatTimer() {
    if (padHeldKey == 0) {
        padRepeat.setEnabled(false);
        return;
    }
    padRepeat.setInterval(kPadRepeatMs);
    keyDown(padHeldKey);
}

}  // namespace lumcrest
