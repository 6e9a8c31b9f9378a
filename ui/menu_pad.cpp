// The highlight in the menu, moved by the controller's D-pad and by the keyboard: it goes from
// image button to image button with the rollover picture and sound that the pointer gives, and A
// (or Enter, Space) presses the button it is on (its pressed picture, then its release action),
// as a click would.
#include <iterator>

#include "app/form.h"

namespace lumcrest {

namespace {

using Move = void (TForm1::*)(int, int);
using Press = void (TForm1::*)(tk::MouseButton, int, int);

// One line per button the highlight visits, top to bottom: its pointer handlers (the switches
// act at the press and have no release), and whether it waits for the first game to begin.
struct MenuEntry {
    Move move;
    Press down;
    Press up;
    bool needsGame;
};

// clang-format off
constexpr MenuEntry kMenuEntries[] = {
    {&TForm1::NewbuttonMouseMove,   &TForm1::NewbuttonMouseDown,   &TForm1::NewbuttonMouseUp,   false},
    {&TForm1::ScorebuttonMouseMove, &TForm1::ScorebuttonMouseDown, &TForm1::ScorebuttonMouseUp, false},
    {&TForm1::MusicbuttonMouseMove, &TForm1::MusicbuttonMouseDown, nullptr,                     false},
    {&TForm1::SoundbuttonMouseMove, &TForm1::SoundbuttonMouseDown, nullptr,                     false},
    {&TForm1::HelpbuttonMouseMove,  &TForm1::HelpbuttonMouseDown,  &TForm1::HelpbuttonMouseUp,  false},
    {&TForm1::AboutbuttonMouseMove, &TForm1::AboutbuttonMouseDown, &TForm1::AboutbuttonMouseUp, false},
    // Back takes no part before the first game has begun, as it ignores the pointer then.
    {&TForm1::BackbuttonMouseMove,  &TForm1::BackbuttonMouseDown,  &TForm1::BackbuttonMouseUp,  true},
};
// clang-format on
constexpr int kEntries = int(std::size(kMenuEntries));

}  // namespace

void TForm1::menuPadMove(int step) {
    auto takesPart = [this](int i) {
        return !(kMenuEntries[i].needsGame && settings.firstRun == 1);
    };
    // The first move lights the top button (down) or the bottom one (up); later ones wrap round.
    int at = padHighlight >= 0 && padHighlight < kEntries ? padHighlight : (step > 0 ? -1 : 0);
    for (int tries = 0; tries < kEntries; ++tries) {
        at = (at + step + kEntries) % kEntries;
        if (takesPart(at)) break;
    }
    padHighlight = at;
    // As the pointer crossing the backdrop to the next button: the lit one goes back to rest.
    MenuimageMouseMove(0, 0);
    const Move move = kMenuEntries[at].move;
    (this->*move)(0, 0);
}

void TForm1::menuPadPress() {
    // A goes down: the highlighted button's press, as the mouse button's.
    padPressed = padHighlight;
    if (padPressed < 0 || padPressed >= kEntries) return;  // nothing highlighted yet
    const Press down = kMenuEntries[padPressed].down;
    (this->*down)(tk::MouseButton::Left, 0, 0);
}

void TForm1::menuPadRelease() {
    // A comes up: the release action of the button it went down on.
    const int pressed = padPressed;
    padPressed = -1;
    if (pressed >= 0 && pressed < kEntries && kMenuEntries[pressed].up)
        (this->*kMenuEntries[pressed].up)(tk::MouseButton::Left, 0, 0);
    // Leaving the menu takes the highlight with it.
    if (!Menupanel.visible()) padHighlight = -1;
}

}  // namespace lumcrest
