// The menu's image buttons, run from their table: a hover picture once per entry, a pressed
// picture, the switches' turn and their pictures for their state, and the highlight that visits
// them from the keyboard or a controller.
#include "ui/menu_panel.h"

#include "assets/catalogue.h"
#include "ui/menu_pictures.h"

namespace lumcrest {

namespace {

// The buttons the highlight visits, top to bottom: the table's rows that take part.
constexpr std::array<MenuButton, MenuPanel::kHighlightStops> kStops = [] {
    std::array<MenuButton, MenuPanel::kHighlightStops> stops{};
    int n = 0;
    for (const MenuButtonRow& row : kMenuButtons)
        if (row.highlighted) stops[n++] = row.id;
    return stops;
}();
constexpr int kStopCount = MenuPanel::kHighlightStops;

}  // namespace

MenuPanel::MenuPanel(tk::Control& parent, PlayerSettings& settings,
                     std::function<void(const std::string&)> playEffect)
    : settings_(settings), playEffect_(std::move(playEffect)) {
    for (const MenuButtonRow& row : kMenuButtons) {
        auto b = std::make_unique<VolumeSwitch>(&parent, row.name);
        b->setBounds(row.left, row.top, row.width, row.height);
        b->transparent = row.keyed;
        // The menu comes back at the end of every game: its pictures stay decoded through play.
        b->keepDecoded = true;
        const MenuButton id = row.id;
        b->onMouseMove = [this, id](int, int) { hover(id); };
        b->onMouseDown = [this, id](tk::MouseButton, int, int) { press(id); };
        // A switch acts at the press and has no release.
        if (row.look != MenuLook::Switch)
            b->onMouseUp = [this, id](tk::MouseButton, int, int) { release(id); };
        buttons_[int(id)] = std::move(b);
    }
}

std::string MenuPanel::picture(const MenuButtonRow& row, int look) const {
    switch (row.look) {
        case MenuLook::Plain: return row.pictures->file(look);
        case MenuLook::PlayOrNew: return newButtonPicture(settings_.firstRun, ButtonLook(look));
        case MenuLook::Back: return backPicture(BackLook(look + 1));
        case MenuLook::Switch:
            return switchPicture(*row.pictures, settings_.*row.setting, ButtonLook(look));
    }
    return {};
}

bool MenuPanel::waitsForGame(const MenuButtonRow& row) const {
    // There is no game to go back to before the first one has begun.
    return row.needsGame && settings_.firstRun == 1;
}

void MenuPanel::showAtStart(const tk::ImageList* volumeLights) {
    for (const MenuButtonRow& row : kMenuButtons) {
        VolumeSwitch& b = button(row.id);
        // Back starts dimmed, whether or not there is a game to go back to yet.
        b.loadFromFile(row.look == MenuLook::Back ? backPicture(BackLook::Dimmed)
                                                  : picture(row, int(ButtonLook::Rest)));
        if (row.volumeLights) b.setLights(volumeLights);
    }
}

void MenuPanel::hover(MenuButton id) {
    const MenuButtonRow& row = menuRow(id);
    if (row.volumeLights) soundLitLast = id == MenuButton::Sound;
    std::uint8_t& lit = lit_[int(id)];
    if (waitsForGame(row) || lit) return;
    button(id).loadFromFile(picture(row, int(ButtonLook::Hover)));
    lit = 1;
    playEffect_(row.hoverSound->file);
}

void MenuPanel::leaveAll() {
    // Leaving the buttons over the backdrop puts every lit one back to rest.
    for (const MenuButtonRow& row : kMenuButtons) {
        std::uint8_t& lit = lit_[int(row.id)];
        if (!lit) continue;
        button(row.id).loadFromFile(picture(row, int(ButtonLook::Rest)));
        lit = 0;
    }
}

void MenuPanel::press(MenuButton id) {
    const MenuButtonRow& row = menuRow(id);
    if (waitsForGame(row)) return;
    if (row.look == MenuLook::Switch) {
        // A switch acts at the press and shows its new state. The click follows the switch as
        // it was: turning sound off clicks, turning it on does not.
        playEffect_(asset::kClick.file);
        std::uint8_t& on = settings_.*row.setting;
        on = on ? 0 : 1;
        showSwitch(id);
        if (onSwitched) onSwitched(id);
        return;
    }
    button(id).loadFromFile(picture(row, int(ButtonLook::Pressed)));
    if (actions_[int(id)].press) actions_[int(id)].press();
}

void MenuPanel::release(MenuButton id) {
    const MenuButtonRow& row = menuRow(id);
    if (waitsForGame(row) || row.look == MenuLook::Switch) return;
    if (actions_[int(id)].release) actions_[int(id)].release();
}

void MenuPanel::showSwitch(MenuButton id) {
    const MenuButtonRow& row = menuRow(id);
    if (row.look == MenuLook::Switch) button(id).loadFromFile(picture(row, int(ButtonLook::Hover)));
}

void MenuPanel::showRest(MenuButton id) {
    button(id).loadFromFile(picture(menuRow(id), int(ButtonLook::Rest)));
}

void MenuPanel::showNewGameAtRest() {
    button(MenuButton::New).loadFromFile(buttonPicture(asset::kNewButton, ButtonLook::Rest));
}

void MenuPanel::restUnlessLit(MenuButton id) {
    // Pressed from afar, the button is not under the pointer: it goes back to rest at once.
    if (!lit(id)) showRest(id);
}

void MenuPanel::moveHighlight(int step) {
    auto takesPart = [this](int i) { return !waitsForGame(menuRow(kStops[i])); };
    // The first move lights the top button (down) or the bottom one (up); later ones wrap round.
    int at = padHighlight >= 0 && padHighlight < kStopCount ? padHighlight : (step > 0 ? -1 : 0);
    for (int tries = 0; tries < kStopCount; ++tries) {
        at = (at + step + kStopCount) % kStopCount;
        if (takesPart(at)) break;
    }
    padHighlight = at;
    // As the pointer crossing the backdrop to the next button: the lit one goes back to rest.
    leaveAll();
    hover(kStops[at]);
}

void MenuPanel::pressHighlighted() {
    padPressed = padHighlight;
    if (padPressed < 0 || padPressed >= kStopCount) return;  // nothing highlighted yet
    press(kStops[padPressed]);
}

void MenuPanel::releasePressed() {
    const int pressed = padPressed;
    padPressed = -1;
    if (pressed >= 0 && pressed < kStopCount) release(kStops[pressed]);
}

std::optional<bool> MenuPanel::litVolumeSwitch() const {
    // The lit switch is the one under the pointer or the controller's (or the keyboard's)
    // highlight: the rollover lights it in every case.
    const bool music = lit(MenuButton::Music), sound = lit(MenuButton::Sound);
    if (!music && !sound) return std::nullopt;
    return music && !(sound && soundLitLast);
}

std::optional<FieldRef> MenuPanel::findLight(std::string_view name) {
    for (const MenuButtonRow& row : kMenuButtons)
        if (name == row.light) return FieldRef{FieldRef::Kind::Byte, &lit_[int(row.id)]};
    return std::nullopt;
}

}  // namespace lumcrest
