#include "ui/keys_page.h"

#include "toolkit/i18n.h"
#include "toolkit/key_names.h"
#include "toolkit/keys.h"

namespace lumcrest {

namespace {

constexpr int kItems = kKeyActionCount + 2;  // the actions, Default keys, Ok
constexpr int kDefaultsItem = kKeyActionCount, kOkItem = kKeyActionCount + 1;
constexpr tk::Argb kWhite = tk::rgb(255, 255, 255);
constexpr tk::Argb kLit = tk::rgb(255, 214, 90);
constexpr tk::Argb kWaiting = tk::rgb(120, 220, 255);

}  // namespace

std::string keyActionCaption(KeyAction a) {
    switch (a) {
        case KeyAction::Left: return tk::tr("Left");
        case KeyAction::Right: return tk::tr("Right");
        case KeyAction::Rotate: return tk::tr("Rotate");
        case KeyAction::Launch: return tk::tr("Launch");
        case KeyAction::Menu: return tk::tr("Menu");
    }
    return {};
}

std::string keyNamesCaption(const KeyBindings& keys, KeyAction a) {
    std::string text;
    for (int vk : keys.of(a)) {
        if (!text.empty()) text += " " + tk::tr("or") + " ";
        text += tk::keyName(vk);
    }
    return text;
}

void KeysPage::build(tk::Control& parent, const tk::FontSpec& text, const tk::FontSpec& button) {
    panel = std::make_unique<tk::Panel>(&parent, "keyspanel", tk::rgb(24, 20, 48));
    panel->setBounds(164, 96, 520, 400);
    // A click anywhere on an action's row chooses it, not only on its words.
    panel->onMouseUp = [this](tk::MouseButton, int, int y) {
        const int row = (y - 78) / 44;
        if (y >= 78 && row < kKeyActionCount) press(row);
    };
    tk::FontSpec big = text;
    big.pixelSize = text.pixelSize + 10;
    title = std::make_unique<tk::Label>(panel.get(), "keystitle", big);
    title->setCaption(tk::tr("Keys"));
    title->setPosition(40, 24);
    for (int a = 0; a < kKeyActionCount; ++a) {
        const int top = 84 + 44 * a;
        action[a] =
            std::make_unique<tk::Label>(panel.get(), "keysaction" + std::to_string(a + 1), text);
        action[a]->setPosition(60, top);
        keyNames[a] =
            std::make_unique<tk::Label>(panel.get(), "keysname" + std::to_string(a + 1), text);
        keyNames[a]->setPosition(230, top);
        action[a]->onClick = [this, a] { press(a); };
        keyNames[a]->onClick = [this, a] { press(a); };
    }
    tk::FontSpec small = text;
    small.pixelSize = text.pixelSize - 3;
    small.italic = true;
    note = std::make_unique<tk::Label>(panel.get(), "keysnote", small);
    note->setPosition(40, 310);
    defaults = std::make_unique<tk::PushButton>(panel.get(), "keysdefault", tk::tr("Default keys"),
                                                button);
    defaults->setBounds(96, 350, 190, 28);
    defaults->onClick = [this] { press(kDefaultsItem); };
    ok = std::make_unique<tk::PushButton>(panel.get(), "keysok", tk::tr("Ok"), button);
    ok->setBounds(306, 350, 100, 28);
    ok->onClick = [this] { press(kOkItem); };
    panel->hide();
}

void KeysPage::open(const KeyBindings& keys) {
    keys_ = keys;
    waiting_ = -1;
    highlight_ = 0;
    say(tk::tr("Choose an action, then press its new key."));
    show();
    panel->show();
}

void KeysPage::close() {
    waiting_ = -1;
    panel->hide();
    if (onClose) onClose();
}

void KeysPage::show() {
    for (int a = 0; a < kKeyActionCount; ++a) {
        action[a]->setCaption(keyActionCaption(KeyAction(a)));
        keyNames[a]->setCaption(a == waiting_ ? "..." : keyNamesCaption(keys_, KeyAction(a)));
        const tk::Argb c = a == waiting_ ? kWaiting : a == highlight_ ? kLit : kWhite;
        action[a]->setColour(c);
        keyNames[a]->setColour(c);
    }
    defaults->setPressed(highlight_ == kDefaultsItem);
    ok->setPressed(highlight_ == kOkItem);
}

void KeysPage::say(const std::string& text) {
    note->setCaption(text);
}

void KeysPage::press(int item) {
    highlight_ = item;
    if (item == kOkItem) {
        close();
        return;
    }
    if (item == kDefaultsItem) {
        waiting_ = -1;
        keys_ = KeyBindings::defaults();
        say(tk::tr("The arrows and the keypad are the keys again."));
        if (onChange) onChange(keys_);
    } else {
        waiting_ = item;
        say(tk::tr("Press the new key for %s.", keyActionCaption(KeyAction(item))));
    }
    show();
}

void KeysPage::assign(int vk) {
    const std::string name = tk::keyName(vk);
    if (name.empty()) return;  // a key without a name cannot be written down
    const std::optional<KeyAction> owner = keys_.actionOf(vk);
    if (owner && int(*owner) != waiting_) {
        say(tk::tr("Already the key for %s:", keyActionCaption(*owner)) + " " + name);
        return;
    }
    keys_.keys[waiting_] = {vk};
    say(tk::tr("Now the key for %s:", keyActionCaption(KeyAction(waiting_))) + " " + name);
    waiting_ = -1;
    show();
    if (onChange) onChange(keys_);
}

void KeysPage::key(int vk) {
    if (waiting_ >= 0) {
        assign(vk);
        return;
    }
    using tk::Key;
    if (tk::is(vk, Key::Escape)) {
        close();
    } else if (tk::is(vk, Key::Down) || tk::is(vk, Key::Tab)) {
        highlight_ = (highlight_ + 1) % kItems;
        show();
    } else if (tk::is(vk, Key::Up)) {
        highlight_ = (highlight_ + kItems - 1) % kItems;
        show();
    } else if (tk::is(vk, Key::Enter) || tk::is(vk, Key::Space)) {
        press(highlight_);
    }
}

void KeysPage::pad(tk::PadButton b) {
    using tk::PadButton;
    if (b == PadButton::B) {
        if (waiting_ < 0) {
            close();
            return;
        }
        waiting_ = -1;
        say(tk::tr("Choose an action, then press its new key."));
        show();
        return;
    }
    if (waiting_ >= 0) return;  // a key of the keyboard is awaited
    if (b == PadButton::DpDown) key(tk::code(tk::Key::Down));
    if (b == PadButton::DpUp) key(tk::code(tk::Key::Up));
    if (b == PadButton::A) press(highlight_);
}

void KeysSummary::build(tk::Control& parent, const std::string& name, const tk::FontSpec& text) {
    // The help picture's key lines lie between its rules and its Ok.
    panel = std::make_unique<tk::Panel>(&parent, name, tk::rgb(21, 17, 40));
    panel->setBounds(20, 410, 611, 80);
    tk::FontSpec bold = text;
    bold.bold = true;
    heading = std::make_unique<tk::Label>(panel.get(), name + "head", bold);
    heading->setPosition(14, 4);
    for (int k = 0; k < 3; ++k) {
        line[k] = std::make_unique<tk::Label>(panel.get(), name + std::to_string(k + 1), text);
        line[k]->setPosition(24, 25 + 17 * k);
    }
    panel->hide();
}

void KeysSummary::show(const KeyBindings& keys) {
    if (keys == KeyBindings::defaults()) {
        panel->hide();
        return;
    }
    auto item = [&](KeyAction a) { return keyActionCaption(a) + ": " + keyNamesCaption(keys, a); };
    heading->setCaption(tk::tr("Your keys"));
    line[0]->setCaption(item(KeyAction::Left) + "     " + item(KeyAction::Right));
    line[1]->setCaption(item(KeyAction::Rotate) + "     " + item(KeyAction::Launch) + "     " +
                        item(KeyAction::Menu));
    line[2]->setCaption(tk::tr("The controller keeps its buttons."));
    panel->show();
}

}  // namespace lumcrest
