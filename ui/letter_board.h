// The letter board: an on-screen keyboard under the name box for a player with a controller and
// no keyboard. It shows the letters of the player's language, then a row of Space, Delete and
// Done; the D-pad moves a gold highlight over them. The name panel acts on the key under it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace lumcrest {

// The letters of LANGUAGE's board ("" for English), as capitals or as small letters, in the
// order the board shows them: the Latin alphabet and the language's accented letters, or the
// Russian alphabet.
std::vector<std::string> boardLetters(const std::string& language, bool capitals);

class LetterBoard : public tk::Panel {
  public:
    static constexpr int kColumns = 14, kCellW = 30, kCellH = 30, kMarginX = 6, kMarginY = 5;
    enum class Key { Letter, Space, Delete, Done };

    // An empty board; its keys come with build().
    LetterBoard(tk::Control* parent, std::string name, tk::FontSpec font);
    ~LetterBoard() override;

    // Lays the keys out for LANGUAGE ("" English), sizes the board to them and puts the
    // highlight on Done. The keys' controls are named boardkey1.., boardspace, boarddelete,
    // boarddone; the highlight is boardcursor.
    void build(const std::string& language);
    // Moves the highlight one key left or right (DX) or one row up or down (DY), round the edges.
    void move(int dx, int dy);
    void putOnDone();
    // What lies under the highlight, and the letter there as the board shows it.
    Key highlighted() const;
    std::string highlightedLetter() const;
    // Capitals at the start of a word, small letters after.
    void setCapitals(bool on);
    bool capitals() const { return capitals_; }

    void paint(tk::Canvas& canvas) override;

  private:
    int letterRows() const;
    int lettersInRow(int row) const;
    // The rectangle of the key at ROW, COLUMN (the bottom row's keys span several columns).
    tk::Rect keyRect(int row, int column) const;
    // The control of the key at ROW, COLUMN.
    tk::Label& keyLabel(int row, int column) const;
    void place(tk::Label& label, tk::Rect cell);
    void highlightMoved();

    tk::FontSpec font_;
    std::string language_;
    bool capitals_ = true;
    int row_ = 0, column_ = 0;
    std::unique_ptr<tk::Control> cursor_;
    std::vector<std::unique_ptr<tk::Label>> letters_;
    std::unique_ptr<tk::Label> space_, delete_, done_;
};

}  // namespace lumcrest
