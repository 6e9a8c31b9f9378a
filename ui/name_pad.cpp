// The letter board typing into the name box. Keyboard or mouse input puts the board away again
// (the window's input-source handler).
#include "ui/name_pad.h"

#include <string>

#include "toolkit/keys.h"

namespace lumcrest {

namespace {

constexpr int kBackspace = tk::code(tk::Key::Backspace);

// Whether the next letter begins a word of the name (it is then a capital).
bool startsWord(const std::string& name) {
    return name.empty() || name.back() == ' ';
}

// A pressed on the board's highlight: true when that is Done.
bool typeOnBoard(LetterBoard& board, tk::EditBox& box) {
    switch (board.highlighted()) {
        case LetterBoard::Key::Done: return true;
        case LetterBoard::Key::Delete: box.keyDown(kBackspace); break;
        case LetterBoard::Key::Space: box.textInput(" "); break;
        case LetterBoard::Key::Letter: box.textInput(board.highlightedLetter()); break;
    }
    board.setCapitals(startsWord(box.text()));
    return false;
}

}  // namespace

void showBoardUnderName(LetterBoard& board, const tk::EditBox& box) {
    board.putOnDone();
    board.setCapitals(startsWord(box.text()));
    board.show();
}

bool padOnNamePanel(LetterBoard& board, tk::EditBox& box, tk::PadButton b) {
    using tk::PadButton;
    const bool direction = b == PadButton::DpUp || b == PadButton::DpDown ||
                           b == PadButton::DpLeft || b == PadButton::DpRight;
    if (!board.visible()) {
        showBoardUnderName(board, box);
        // A direction only brings the board up: the player sees where the highlight starts.
        if (direction) return false;
    }
    switch (b) {
        case PadButton::DpLeft: board.move(-1, 0); break;
        case PadButton::DpRight: board.move(1, 0); break;
        case PadButton::DpUp: board.move(0, -1); break;
        case PadButton::DpDown: board.move(0, 1); break;
        case PadButton::A: return typeOnBoard(board, box);
        case PadButton::B:
            box.keyDown(kBackspace);
            board.setCapitals(startsWord(box.text()));
            break;
        case PadButton::Start: return true;
        default: break;
    }
    return false;
}

}  // namespace lumcrest
