// The letter board under the name box: each language's letters, and the highlight's way over
// the keys (round the edges, past a short last row, along the bottom row and back up).
#include "ui/letter_board.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/window.h"

namespace lumcrest {
namespace {

bool has(const std::vector<std::string>& letters, const std::string& letter) {
    return std::find(letters.begin(), letters.end(), letter) != letters.end();
}

TEST(LetterBoardLetters, EachLanguageHasItsLettersAsCapitalsAndSmallOneForOne) {
    struct Case {
        const char* language;
        std::size_t count;
        const char* capital;
        const char* small;
    };
    const Case cases[] = {{"", 26, "W", "w"},   {"de", 30, "Ö", "ö"}, {"fr", 42, "Œ", "œ"},
                          {"es", 33, "Ñ", "ñ"}, {"it", 32, "Ì", "ì"}, {"pt_BR", 38, "Ã", "ã"},
                          {"nl", 31, "Ë", "ë"}, {"pl", 35, "Ł", "ł"}, {"ru", 33, "Ё", "ё"}};
    for (const Case& c : cases) {
        const auto capitals = boardLetters(c.language, true);
        const auto small = boardLetters(c.language, false);
        ASSERT_EQ(capitals.size(), c.count) << c.language;
        ASSERT_EQ(small.size(), c.count) << c.language;
        EXPECT_TRUE(has(capitals, c.capital)) << c.language;
        EXPECT_TRUE(has(small, c.small)) << c.language;
        // The same letter at the same place in both cases.
        const auto at = std::find(capitals.begin(), capitals.end(), c.capital) - capitals.begin();
        EXPECT_EQ(small[std::size_t(at)], c.small) << c.language;
    }
    EXPECT_EQ(boardLetters("ru", true).front(), "А");
    EXPECT_FALSE(has(boardLetters("ru", true), "A"));  // no Latin letters on the Russian board
    EXPECT_EQ(boardLetters("de", false).back(), "ß");
    EXPECT_EQ(boardLetters("xx", true), boardLetters("", true));
}

struct Board {
    tk::HeadlessBackend backend;
    tk::Application app{backend};
    tk::Window win{app, "win", 600, 400, tk::rgb(0, 0, 0)};
    LetterBoard board{&win, "letterboard", tk::FontSpec{}};
    explicit Board(const std::string& language) {
        app.setMainWindow(&win);
        win.open();
        board.build(language);
    }
    std::string on() const {
        switch (board.highlighted()) {
            case LetterBoard::Key::Space: return "space";
            case LetterBoard::Key::Delete: return "delete";
            case LetterBoard::Key::Done: return "done";
            default: return board.highlightedLetter();
        }
    }
    std::string after(int dx, int dy, int times = 1) {
        for (int i = 0; i < times; ++i) board.move(dx, dy);
        return on();
    }
};

TEST(LetterBoardHighlight, MovesRoundTheEdgesAndPastAShortLastRow) {
    // English: A..N, O..Z (two short of a row), then Space, Delete, Done.
    Board b("");
    EXPECT_EQ(b.on(), "done");
    EXPECT_EQ(b.after(0, 1), "K");  // down from the bottom row: round to the top
    EXPECT_EQ(b.after(-1, 0, 10), "A");
    EXPECT_EQ(b.after(-1, 0), "N");    // round the row's end
    EXPECT_EQ(b.after(0, 1), "done");  // no letter under N: the bottom row
    EXPECT_EQ(b.after(0, -1), "N");    // and back to the column it came from
    EXPECT_EQ(b.after(1, 0), "A");
    EXPECT_EQ(b.after(0, -1), "space");
    EXPECT_EQ(b.after(1, 0), "delete");
    EXPECT_EQ(b.after(1, 0), "done");
    EXPECT_EQ(b.after(1, 0), "space");
    EXPECT_EQ(b.after(-1, 0), "done");
    EXPECT_EQ(b.after(0, -1), "Y");  // over Done's first column, in the short row
    EXPECT_EQ(b.after(1, 0), "Z");
    EXPECT_EQ(b.after(1, 0), "O");  // a short row wraps at its own end
    b.board.setCapitals(false);
    EXPECT_EQ(b.on(), "o");
    b.board.putOnDone();
    EXPECT_EQ(b.on(), "done");
    // The highlight control lies under the key it is on.
    const tk::Control* cursor = b.win.findControl("boardcursor");
    const tk::Control* done = b.win.findControl("boarddone");
    ASSERT_TRUE(cursor && done);
    EXPECT_TRUE(cursor->bounds().contains(done->left() + done->width() / 2,
                                          done->top() + done->height() / 2));
}

TEST(LetterBoardHighlight, GoingUpIntoAShortRowBeyondItsEndTakesTheFullRowAbove) {
    // Russian: 14, 14 and 5 letters.
    Board b("ru");
    EXPECT_EQ(b.after(0, -1), "Ч");  // from Done's column: the short row has no letter there
    EXPECT_EQ(b.after(0, 1), "done");
    EXPECT_EQ(b.after(1, 0), "space");
    EXPECT_EQ(b.after(0, -1), "Ы");
    EXPECT_EQ(b.after(1, 0, 4), "Я");
    EXPECT_EQ(b.board.height(), 2 * LetterBoard::kMarginY + 4 * LetterBoard::kCellH);
}

TEST(LetterBoardHighlight, OnlyTheKeyUnderTheHighlightIsInItsInk) {
    // The board's font is white; the key under the gold highlight is written in dark ink.
    Board b("de");
    std::vector<const tk::Label*> keys;
    for (const tk::Control* c : b.board.children())
        if (auto* label = dynamic_cast<const tk::Label*>(c)) keys.push_back(label);
    ASSERT_GT(keys.size(), 30u);
    const tk::Argb plain = tk::FontSpec{}.colour;
    const tk::Control* cursor = b.win.findControl("boardcursor");
    auto check = [&](const char* step) {
        int inked = 0;
        for (const tk::Label* key : keys) {
            const bool under = key->bounds().intersect(cursor->bounds()).w > 0;
            if (key->colour() != plain) {
                ++inked;
                EXPECT_TRUE(under) << step << ": " << key->name() << " keeps the highlight's ink";
            }
        }
        EXPECT_EQ(inked, 1) << step;
    };
    check("built");
    const int moves[][2] = {{0, 1}, {1, 0}, {1, 0}, {0, 1}, {-1, 0}, {0, -1}, {0, 1}, {0, 1}};
    for (const auto& m : moves) {
        b.board.move(m[0], m[1]);
        check("moved");
    }
    b.board.move(0, -1);  // up onto a letter, then straight to Done
    ASSERT_EQ(b.board.highlighted(), LetterBoard::Key::Letter);
    b.board.putOnDone();
    check("on Done");
    b.board.setCapitals(false);
    b.board.move(1, 0);
    check("small letters");
}

}  // namespace
}  // namespace lumcrest
