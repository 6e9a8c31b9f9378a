#include "ui/letter_board.h"

#include <algorithm>
#include <array>

#include "toolkit/i18n.h"

namespace lumcrest {

using tk::rgb;

namespace {

// The letters each language adds to A..Z, as capitals and as small letters, one for one.
struct Alphabet {
    const char* language;
    const char* capitals;
    const char* small;
};
// clang-format off
constexpr Alphabet kAlphabets[] = {
    {"de",    "ÄÖÜß",             "äöüß"},
    {"fr",    "ÀÂÆÇÉÈÊËÎÏÔŒÙÛÜŸ", "àâæçéèêëîïôœùûüÿ"},
    {"es",    "ÁÉÍÑÓÚÜ",          "áéíñóúü"},
    {"it",    "ÀÈÉÌÒÙ",           "àèéìòù"},
    {"pt_BR", "ÁÂÃÀÇÉÊÍÓÔÕÚ",     "áâãàçéêíóôõú"},
    {"nl",    "ÉËÏÖÜ",            "éëïöü"},
    {"pl",    "ĄĆĘŁŃÓŚŹŻ",        "ąćęłńóśźż"},
};
// clang-format on
constexpr const char* kRussianCapitals = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
constexpr const char* kRussianSmall = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";

// The characters of valid UTF-8 text, one string each.
std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> out;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80 || out.empty())
            out.emplace_back(1, char(c));
        else
            out.back() += char(c);
    }
    return out;
}

// The bottom row: Space, Delete and Done, each over several columns.
constexpr int kSpecialStart[3] = {0, 6, 10};
constexpr int kSpecialSpan[3] = {6, 4, 4};

int specialAt(int column) {
    return column >= kSpecialStart[2] ? 2 : column >= kSpecialStart[1] ? 1 : 0;
}

constexpr tk::Argb kGold = rgb(236, 196, 96);
constexpr tk::Argb kInk = rgb(34, 26, 62);

// A key cap in the gems' manner: a glassy face from TOP to BOTTOM in a gold rim, a bright rim of
// light along its top, its corners cut round to GROUND.
void gemCap(tk::Canvas& canvas, tk::Rect r, tk::Argb top, tk::Argb bottom, tk::Argb shine,
            tk::Argb ground) {
    canvas.fillGradient(r, top, bottom);
    canvas.frameRect(r, kGold);
    canvas.frameRect(tk::Rect{r.x + 1, r.y + 1, r.w - 2, r.h - 2}, rgb(150, 108, 40));
    canvas.fillRect(tk::Rect{r.x + 3, r.y + 2, r.w - 6, 1}, shine);
    for (const auto& [cx, cy, dx, dy] : {std::array{r.x, r.y, 1, 1},
                                         {r.right() - 1, r.y, -1, 1},
                                         {r.x, r.bottom() - 1, 1, -1},
                                         {r.right() - 1, r.bottom() - 1, -1, -1}}) {
        canvas.setPixel(cx, cy, ground);
        canvas.setPixel(cx + dx, cy, ground);
        canvas.setPixel(cx, cy + dy, ground);
        canvas.setPixel(cx + dx, cy + dy, kGold);
    }
}

// The gold highlight under the key it is on.
class Cursor : public tk::Control {
  public:
    using tk::Control::Control;
    void paint(tk::Canvas& canvas) override {
        // The key under the highlight lit up as a gold gem.
        gemCap(canvas, tk::Rect{0, 0, width(), height()}, rgb(255, 236, 160), rgb(206, 148, 44),
               rgb(255, 250, 220), rgb(18, 16, 46));
    }
};

}  // namespace

std::vector<std::string> boardLetters(const std::string& language, bool capitals) {
    if (language == "ru") return characters(capitals ? kRussianCapitals : kRussianSmall);
    std::string text;
    for (char c = 'A'; c <= 'Z'; ++c) text += capitals ? c : char(c - 'A' + 'a');
    for (const Alphabet& a : kAlphabets)
        if (language == a.language) text += capitals ? a.capitals : a.small;
    return characters(text);
}

LetterBoard::LetterBoard(tk::Control* parent, std::string name, tk::FontSpec font)
    : tk::Panel(parent, std::move(name)), font_(std::move(font)) {}

LetterBoard::~LetterBoard() = default;

void LetterBoard::build(const std::string& language) {
    language_ = language;
    capitals_ = true;
    letters_.clear();
    cursor_ = std::make_unique<Cursor>(this, "boardcursor");
    const std::vector<std::string> shown = boardLetters(language, true);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        auto label = std::make_unique<tk::Label>(this, "boardkey" + std::to_string(i + 1), font_);
        label->setCaption(shown[i]);
        letters_.push_back(std::move(label));
    }
    tk::FontSpec small = font_;
    small.pixelSize = font_.pixelSize - 2;
    space_ = std::make_unique<tk::Label>(this, "boardspace", small);
    delete_ = std::make_unique<tk::Label>(this, "boarddelete", small);
    done_ = std::make_unique<tk::Label>(this, "boarddone", small);
    space_->setCaption(tk::tr("Space"));
    delete_->setCaption(tk::tr("Delete"));
    done_->setCaption(tk::tr("Done"));
    const int rows = letterRows();
    setBounds(left(), top(), 2 * kMarginX + kColumns * kCellW, 2 * kMarginY + (rows + 1) * kCellH);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < lettersInRow(r); ++c) place(keyLabel(r, c), keyRect(r, c));
    for (int k = 0; k < 3; ++k)
        place(keyLabel(rows, kSpecialStart[k]), keyRect(rows, kSpecialStart[k]));
    putOnDone();
}

int LetterBoard::letterRows() const {
    return (int(letters_.size()) + kColumns - 1) / kColumns;
}

int LetterBoard::lettersInRow(int row) const {
    if (row >= letterRows()) return 0;
    return std::min(kColumns, int(letters_.size()) - row * kColumns);
}

tk::Rect LetterBoard::keyRect(int row, int column) const {
    const int y = kMarginY + row * kCellH;
    if (row < letterRows()) return tk::Rect{kMarginX + column * kCellW, y, kCellW, kCellH};
    const int k = specialAt(column);
    return tk::Rect{kMarginX + kSpecialStart[k] * kCellW, y, kSpecialSpan[k] * kCellW, kCellH};
}

tk::Label& LetterBoard::keyLabel(int row, int column) const {
    if (row < letterRows()) return *letters_[std::size_t(row * kColumns + column)];
    switch (specialAt(column)) {
        case 0: return *space_;
        case 1: return *delete_;
        default: return *done_;
    }
}

void LetterBoard::place(tk::Label& label, tk::Rect cell) {
    label.setPosition(cell.x + (cell.w - label.width()) / 2,
                      cell.y + (cell.h - label.height()) / 2);
}

void LetterBoard::putOnDone() {
    keyLabel(row_, column_).setColour(font_.colour);
    row_ = letterRows();
    column_ = kSpecialStart[2];
    highlightMoved();
}

void LetterBoard::move(int dx, int dy) {
    keyLabel(row_, column_).setColour(font_.colour);
    const int rows = letterRows();
    if (dx != 0 && row_ == rows) {
        column_ = kSpecialStart[(specialAt(column_) + dx + 3) % 3];
    } else if (dx != 0) {
        const int count = lettersInRow(row_);
        column_ = (column_ + dx + count) % count;
    } else if (dy != 0) {
        row_ = (row_ + dy + rows + 1) % (rows + 1);
        // The last row of letters may be short: past its end lies the bottom row going down,
        // the full row above going up.
        if (row_ < rows && column_ >= lettersInRow(row_)) row_ = dy > 0 ? rows : row_ - 1;
    }
    highlightMoved();
}

void LetterBoard::highlightMoved() {
    const tk::Rect r = keyRect(row_, column_);
    cursor_->setBounds(r.x + 1, r.y + 1, r.w - 2, r.h - 2);
    keyLabel(row_, column_).setColour(kInk);
}

LetterBoard::Key LetterBoard::highlighted() const {
    if (row_ < letterRows()) return Key::Letter;
    switch (specialAt(column_)) {
        case 0: return Key::Space;
        case 1: return Key::Delete;
        default: return Key::Done;
    }
}

std::string LetterBoard::highlightedLetter() const {
    return highlighted() == Key::Letter ? keyLabel(row_, column_).caption() : std::string();
}

void LetterBoard::setCapitals(bool on) {
    if (on == capitals_) return;
    capitals_ = on;
    const std::vector<std::string> shown = boardLetters(language_, on);
    for (std::size_t i = 0; i < letters_.size() && i < shown.size(); ++i) {
        letters_[i]->setCaption(shown[i]);
        const int row = int(i) / kColumns, column = int(i) % kColumns;
        place(*letters_[i], keyRect(row, column));
    }
}

void LetterBoard::paint(tk::Canvas& canvas) {
    // Night blue under a gold rim, as the name panel; each key a violet gem cap.
    const tk::Rect all{0, 0, width(), height()};
    canvas.fillGradient(all, rgb(44, 40, 96), rgb(18, 16, 46));
    canvas.frameRect(all, kGold);
    canvas.frameRect(tk::Rect{1, 1, width() - 2, height() - 2}, rgb(120, 92, 44));
    const int rows = letterRows();
    for (int r = 0; r <= rows; ++r) {
        const int count = r < rows ? lettersInRow(r) : 3;
        for (int i = 0; i < count; ++i) {
            const tk::Rect k = keyRect(r, r < rows ? i : kSpecialStart[i]);
            gemCap(canvas, tk::Rect{k.x + 1, k.y + 1, k.w - 2, k.h - 2}, rgb(104, 72, 184),
                   rgb(34, 22, 86), rgb(176, 150, 240), rgb(18, 16, 46));
        }
    }
}

}  // namespace lumcrest
