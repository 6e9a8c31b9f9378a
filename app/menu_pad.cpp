// The highlight in the menu, moved by the controller's D-pad and by the keyboard (the menu part
// moves it and lights its button); A (or Enter, Space) presses the button it is on: its pressed
// picture, then its release action, as a click would.
#include <iterator>

#include "app/form.h"

namespace lumcrest {

namespace {

using Press = void (TForm1::*)(tk::MouseButton, int, int);

// The pointer handlers of each button the highlight visits, in its order (the switches act at
// the press and have no release).
struct MenuEntry {
    Press down;
    Press up;
};

// clang-format off
constexpr MenuEntry kMenuEntries[] = {
    {&TForm1::NewbuttonMouseDown,   &TForm1::NewbuttonMouseUp},
    {&TForm1::ScorebuttonMouseDown, &TForm1::ScorebuttonMouseUp},
    {&TForm1::MusicbuttonMouseDown, nullptr},
    {&TForm1::SoundbuttonMouseDown, nullptr},
    {&TForm1::HelpbuttonMouseDown,  &TForm1::HelpbuttonMouseUp},
    {&TForm1::AboutbuttonMouseDown, &TForm1::AboutbuttonMouseUp},
    {&TForm1::BackbuttonMouseDown,  &TForm1::BackbuttonMouseUp},
};
// clang-format on
constexpr int kEntries = int(std::size(kMenuEntries));
static_assert(kEntries == MenuPanel::kHighlightStops, "one entry for each stop of the highlight");

}  // namespace

void TForm1::menuPadMove(int step) {
    menu.moveHighlight(step);
}

void TForm1::menuPadPress() {
    // A goes down: the highlighted button's press, as the mouse button's.
    menu.padPressed = menu.padHighlight;
    if (menu.padPressed < 0 || menu.padPressed >= kEntries) return;  // nothing highlighted yet
    const Press down = kMenuEntries[menu.padPressed].down;
    (this->*down)(tk::MouseButton::Left, 0, 0);
}

void TForm1::menuPadRelease() {
    // A comes up: the release action of the button it went down on.
    const int pressed = menu.padPressed;
    menu.padPressed = -1;
    if (pressed >= 0 && pressed < kEntries && kMenuEntries[pressed].up)
        (this->*kMenuEntries[pressed].up)(tk::MouseButton::Left, 0, 0);
    // Leaving the menu takes the highlight with it.
    if (!Menupanel.visible()) menu.padHighlight = -1;
}

}  // namespace lumcrest
