// The highlight in the menu, moved by the controller's D-pad and by the keyboard (the menu part
// moves it and lights its button); A (or Enter, Space) presses the button it is on: its pressed
// picture, then its release action, as a click would.
#include "app/form.h"

namespace lumcrest {

void TForm1::menuPadMove(int step) {
    menu.moveHighlight(step);
}

void TForm1::menuPadPress() {
    // A goes down: the highlighted button's press, as the mouse button's.
    menu.pressHighlighted();
}

void TForm1::menuPadRelease() {
    // A comes up: the release action of the button it went down on.
    menu.releasePressed();
    // Leaving the menu takes the highlight with it.
    if (!Menupanel.visible()) menu.padHighlight = -1;
}

}  // namespace lumcrest
