// The controller's highlight in the menu: it goes from image button to image button with the
// rollover picture and sound that the pointer gives, and A presses the button it is on (its
// pressed picture, then its release action), as a click would.
#include "app/form.h"

namespace lumcrest {

namespace {

constexpr int kButtons = 7;  // New, Score, Music, Sound, Help, About, Back

}  // namespace

void TForm1::menuPadMove(int step) {
    // Back takes no part before the first game has begun, as it ignores the pointer then.
    const int count = firstRun == 1 ? kButtons - 1 : kButtons;
    if (padHighlight < 0 || padHighlight >= count)
        padHighlight = step > 0 ? 0 : count - 1;
    else
        padHighlight = (padHighlight + step + count) % count;
    // As the pointer crossing the backdrop to the next button: the lit one goes back to rest.
    MenuimageMouseMove(0, 0);
    switch (padHighlight) {
        case 0: NewbuttonMouseMove(0, 0); break;
        case 1: ScorebuttonMouseMove(0, 0); break;
        case 2: MusicbuttonMouseMove(0, 0); break;
        case 3: SoundbuttonMouseMove(0, 0); break;
        case 4: HelpbuttonMouseMove(0, 0); break;
        case 5: AboutbuttonMouseMove(0, 0); break;
        default: BackbuttonMouseMove(0, 0); break;
    }
}

void TForm1::menuPadPress() {
    // A goes down: the highlighted button's press, as the mouse button's.
    padPressed = padHighlight;
    const auto left = tk::MouseButton::Left;
    switch (padPressed) {
        case 0: NewbuttonMouseDown(left, 0, 0); break;
        case 1: ScorebuttonMouseDown(left, 0, 0); break;
        case 2: MusicbuttonMouseDown(left, 0, 0); break;
        case 3: SoundbuttonMouseDown(left, 0, 0); break;
        case 4: HelpbuttonMouseDown(left, 0, 0); break;
        case 5: AboutbuttonMouseDown(left, 0, 0); break;
        case 6: BackbuttonMouseDown(left, 0, 0); break;
        default: break;  // nothing highlighted yet
    }
}

void TForm1::menuPadRelease() {
    // A comes up: the release action of the button it went down on (the switches have none).
    const int pressed = padPressed;
    padPressed = -1;
    const auto left = tk::MouseButton::Left;
    switch (pressed) {
        case 0: NewbuttonMouseUp(left, 0, 0); break;
        case 1: ScorebuttonMouseUp(left, 0, 0); break;
        case 4: HelpbuttonMouseUp(left, 0, 0); break;
        case 5: AboutbuttonMouseUp(left, 0, 0); break;
        case 6: BackbuttonMouseUp(left, 0, 0); break;
        default: break;
    }
    // Leaving the menu takes the highlight with it.
    if (!Menupanel.visible()) padHighlight = -1;
}

}  // namespace lumcrest
