// The Keys page over the menu: the player picks the key of each action of play by pressing it.
// A row is chosen by a click, or by the keyboard's or controller's highlight; the next key
// pressed becomes that action's key, unless another action has it already, which the page says.
// "Default keys" puts the arrows and the keypad back.
#pragma once

#include <functional>
#include <memory>

#include "store/key_bindings.h"
#include "toolkit/control.h"
#include "toolkit/pad.h"

namespace lumcrest {

class KeysPage {
  public:
    // Lays the page out on PARENT, hidden: a panel with a title, the five actions and their keys,
    // a line of advice, "Default keys" and Ok, in TEXT's face and BUTTON's for the buttons.
    void build(tk::Control& parent, const tk::FontSpec& text, const tk::FontSpec& button);

    // Shows the page with KEYS, the highlight on the first action.
    void open(const KeyBindings& keys);
    void close();
    // On screen: the page stays set visible behind a menu left with Back, and comes back with it.
    bool shown() const { return panel && panel->showing(); }

    // A key pressed while the page shows. Escape and Enter act on the highlight when no action
    // waits for its key; while one waits, the key becomes its key.
    void key(int vk);
    // A controller button while the page shows: the D-pad moves the highlight, A presses, B
    // leaves (or stops waiting for a key).
    void pad(tk::PadButton b);

    // Called with the new keys after each change, and when the page closes.
    std::function<void(const KeyBindings&)> onChange;
    std::function<void()> onClose;

    const KeyBindings& keys() const { return keys_; }
    int waiting() const { return waiting_; }      // the action whose key comes next, -1 for none
    int highlight() const { return highlight_; }  // 0..4 the actions, 5 Default keys, 6 Ok

    std::unique_ptr<tk::Panel> panel;
    std::unique_ptr<tk::Label> title, note;
    std::unique_ptr<tk::Label> action[kKeyActionCount], keyNames[kKeyActionCount];
    std::unique_ptr<tk::PushButton> defaults, ok;

  private:
    void press(int item);
    void assign(int vk);
    void show();
    void say(const std::string& text);
    KeyBindings keys_;
    int waiting_ = -1;
    int highlight_ = 0;
};

// The keys of play as they are now, over the key lines of a help picture, which show the arrows
// and the keypad: shown only while the player's keys are others.
class KeysSummary {
  public:
    void build(tk::Control& parent, const std::string& name, const tk::FontSpec& text);
    void show(const KeyBindings& keys);

    std::unique_ptr<tk::Panel> panel;
    std::unique_ptr<tk::Label> heading, line[3];
};

// The caption of action A in the player's language ("Left", "Rotate", ...).
std::string keyActionCaption(KeyAction a);
// The keys of A as the player reads them ("Left or KP_4").
std::string keyNamesCaption(const KeyBindings& keys, KeyAction a);

}  // namespace lumcrest
