// The name panel with a controller alone: the letter board under the name box types into it as
// the keyboard would, so a name keeps the rules of typed names (12 characters at most, no
// control characters). The board comes up at the panel's first pad press with its highlight on
// Done, so A at once still takes the name as it stands; keyboard or mouse input puts it away.
#include "app/form.h"
#include "toolkit/keys.h"

namespace lumcrest {

namespace {

constexpr int kBackspace = tk::code(tk::Key::Backspace);

// Whether the next letter begins a word of the name (it is then a capital).
bool startsWord(const std::string& name) {
    return name.empty() || name.back() == ' ';
}

}  // namespace

void TForm1::inputSourceChanged(tk::InputSource source) {
    padLastInput = source == tk::InputSource::Pad;
    if (!padLastInput && letterboard.visible()) letterboard.hide();
}

void TForm1::showLetterBoard() {
    letterboard.putOnDone();
    letterboard.setCapitals(startsWord(Playersname.text()));
    letterboard.show();
}

void TForm1::namePadButton(tk::PadButton b) {
    using tk::PadButton;
    const bool direction = b == PadButton::DpUp || b == PadButton::DpDown ||
                           b == PadButton::DpLeft || b == PadButton::DpRight;
    if (!letterboard.visible()) {
        showLetterBoard();
        // A direction only brings the board up: the player sees where the highlight starts.
        if (direction) return;
    }
    switch (b) {
        case PadButton::DpLeft: letterboard.move(-1, 0); break;
        case PadButton::DpRight: letterboard.move(1, 0); break;
        case PadButton::DpUp: letterboard.move(0, -1); break;
        case PadButton::DpDown: letterboard.move(0, 1); break;
        case PadButton::A: typeOnBoard(); break;
        case PadButton::B:
            Playersname.keyDown(kBackspace);
            letterboard.setCapitals(startsWord(Playersname.text()));
            break;
        case PadButton::Start: confirmName(); break;
        default: break;
    }
}

void TForm1::typeOnBoard() {
    switch (letterboard.highlighted()) {
        case LetterBoard::Key::Done: confirmName(); return;
        case LetterBoard::Key::Delete: Playersname.keyDown(kBackspace); break;
        case LetterBoard::Key::Space: Playersname.textInput(" "); break;
        case LetterBoard::Key::Letter:
            Playersname.textInput(letterboard.highlightedLetter());
            break;
    }
    letterboard.setCapitals(startsWord(Playersname.text()));
}

}  // namespace lumcrest
