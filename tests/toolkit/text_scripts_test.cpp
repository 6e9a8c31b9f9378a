// Names in scripts the game's face lacks: Hebrew and Arabic read right to left, emoji in colour,
// CJK and letters with stacked accents, each drawn by a face that has them.
#include <gtest/gtest.h>

#include "toolkit/font.h"
#include "toolkit/text_runs.h"

namespace tk {
namespace {

FontSpec nameFont(bool bold = true, bool italic = false) {
    FontSpec f;
    f.pixelSize = 21;
    f.bold = bold;
    f.italic = italic;
    f.colour = rgb(255, 255, 255);
    return f;
}

int alpha(const Image& img, int x, int y) {
    return int(img.pixel(x, y) >> 24);
}

// Pixels with any ink.
int inked(const Image& img) {
    int n = 0;
    for (Argb p : img.pixels()) n += (p >> 24) != 0;
    return n;
}

// The column of the topmost inked pixel (the first such from the left in that row).
int columnOfTopInk(const Image& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (alpha(img, x, y) > 128) return x;
    return -1;
}

// Whether a pixel carries a colour of its own rather than the text's white.
bool colourful(Argb p) {
    const int r = int((p >> 16) & 255), g = int((p >> 8) & 255), b = int(p & 255);
    return (p >> 24) > 200 && std::max({r, g, b}) - std::min({r, g, b}) > 80;
}

TEST(TextScripts, EveryScriptOfANameInks) {
    const char* names[] = {"שלום", "مرحبا", "😀", "你好", "Zoe\u0308\u0323", "שָׁלוֹם"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        for (bool italic : {false, true}) {
            Image img = renderText(name, nameFont(true, italic));
            EXPECT_EQ(img.width(), measureText(name, nameFont(true, italic)).width);
            EXPECT_GT(inked(img), 30);
        }
    }
    // Each CJK letter is about a square of the size asked for.
    EXPECT_NEAR(measureText("你好", nameFont(false)).width, 42, 6);
}

// The first letter of a Hebrew or Arabic word is drawn rightmost. The lamed and the Arabic alef
// rise above their neighbours, so the topmost ink tells where they went.
TEST(TextScripts, RightToLeftWordsRunFromTheRight) {
    const char* tallFirst[] = {"לש", "اب"};
    const char* tallLast[] = {"של", "با"};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(tallFirst[i]);
        Image first = renderText(tallFirst[i], nameFont());
        Image last = renderText(tallLast[i], nameFont());
        ASSERT_GT(first.width(), 4);
        EXPECT_GT(columnOfTopInk(first), first.width() / 2);
        EXPECT_LT(columnOfTopInk(last), last.width() / 2);
    }
    // Two Hebrew words: the first on the right, its lamed left of the middle only when the
    // word with it comes second.
    Image lamedFirst = renderText("של בא", nameFont());
    Image lamedSecond = renderText("בא של", nameFont());
    EXPECT_GT(lamedFirst.width(), renderText("של", nameFont()).width() * 2);
    EXPECT_GT(columnOfTopInk(lamedFirst), lamedFirst.width() / 2);
    EXPECT_LT(columnOfTopInk(lamedSecond), lamedSecond.width() / 4);
}

// A mixed name in a right-to-left paragraph: the Latin letter left, the emoji in colour in the
// middle, the Hebrew word right.
TEST(TextScripts, MixedNameKeepsItsPiecesInOrderAndInColour) {
    const FontSpec font = nameFont();
    Image mixed = renderText("שלום😀é", font);
    int firstColour = mixed.width(), lastColour = -1;
    for (int y = 0; y < mixed.height(); ++y)
        for (int x = 0; x < mixed.width(); ++x)
            if (colourful(mixed.pixel(x, y))) {
                firstColour = std::min(firstColour, x);
                lastColour = std::max(lastColour, x);
            }
    ASSERT_GE(lastColour, 0) << "the emoji is not in colour";
    EXPECT_NEAR(lastColour - firstColour, 21, 6) << "the emoji is not the text's size";
    const int hebrew = measureText("שלום", font).width;
    const int latin = measureText("é", font).width;
    EXPECT_GE(mixed.width() - lastColour, hebrew - 2);
    EXPECT_LE(firstColour, latin + 3);
    int leftInk = 0;
    for (int y = 0; y < mixed.height(); ++y)
        for (int x = 0; x < firstColour; ++x) leftInk += alpha(mixed, x, y) > 0;
    EXPECT_GT(leftInk, 10) << "the e is not left of the emoji";
    // A text colour of its own does not tint the emoji.
    FontSpec red = font;
    red.colour = rgb(128, 0, 0);
    Image tinted = renderText("😀", red);
    bool yellow = false;
    for (Argb p : tinted.pixels()) yellow |= colourful(p) && ((p >> 8) & 255) > 150;
    EXPECT_TRUE(yellow);
}

// A letter with its accent as two code points draws as the letter with the accent in one.
TEST(TextScripts, DecomposedAccentsDrawAsTheComposedLetter) {
    const FontSpec font = nameFont(false);
    Image composed = renderText("Ren\u00e9e", font);
    Image decomposed = renderText("Rene\u0301e", font);
    ASSERT_EQ(composed.width(), decomposed.width());
    EXPECT_EQ(composed.pixels(), decomposed.pixels());
}

// Names a careless or hostile player may type: marks without a base, joiners at the ends, deep
// direction embeddings, a letter no face has, broken UTF-8. Each measures and draws.
TEST(TextScripts, OddNamesDrawWithoutFailing) {
    std::string marks = "a";
    for (int i = 0; i < 300; ++i) marks += "\u0301";
    std::string embeddings;
    for (int i = 0; i < 200; ++i) embeddings += "\u202B\u05D0";
    std::string emoji;
    for (int i = 0; i < 100; ++i) emoji += "\U0001F468\u200D\U0001F469\u200D\U0001F467";
    const std::string names[] = {"\u0301\u0302",
                                 "\u200D",
                                 "\u200Dx\u200D",
                                 "\uFE0F",
                                 marks,
                                 embeddings,
                                 emoji,
                                 "\U0010FFFD\U000E0001",
                                 "\xF0\x9F\x98",
                                 "\xD7\xA9\xFF\xD7",
                                 "\U0001F1E9\U0001F1EA",
                                 std::string("\xD7\xA9\0b", 4)};
    for (const std::string& name : names) {
        for (int px : {1, 13, 200}) {
            FontSpec font = nameFont();
            font.pixelSize = px;
            TextSize size = measureText(name, font);
            Image img = renderText(name, font);
            EXPECT_EQ(img.width(), size.width);
            EXPECT_EQ(img.height(), size.height);
        }
    }
}

TEST(TextRuns, ClustersKeepMarksJoinersAndModifiersWithTheirBase) {
    using Starts = std::vector<std::size_t>;
    EXPECT_EQ(clusterStarts(U"e\u0301x"), (Starts{0, 2, 3}));
    EXPECT_EQ(clusterStarts(U"\U0001F468\u200D\U0001F469!"), (Starts{0, 3, 4}));
    EXPECT_EQ(clusterStarts(U"\U0001F44D\U0001F3FD\u2764\uFE0F"), (Starts{0, 2, 4}));
    EXPECT_EQ(clusterStarts(U""), (Starts{0}));
    EXPECT_TRUE(wantsColour(U"\U0001F600", 0, 1));
    EXPECT_TRUE(wantsColour(U"\u2764\uFE0F", 0, 2));
    EXPECT_FALSE(wantsColour(U"\u2764", 0, 1));
    EXPECT_FALSE(wantsColour(U"a", 0, 1));
    EXPECT_EQ(decodeUtf8("a\xC3"), U"a\uFFFD");
    EXPECT_EQ(decodeUtf8("\xED\xA0\x80"
                         "b"),
              U"\uFFFD\uFFFD\uFFFDb");
    EXPECT_EQ(decodeUtf8("\xF0\x9F\x98\x80"), U"\U0001F600");
}

TEST(TextRuns, LevelsFollowTheFirstStrongLetter) {
    using Levels = std::vector<std::uint8_t>;
    EXPECT_EQ(bidiLevels(U"ab \u05D0\u05D1"), (Levels{0, 0, 0, 1, 1}));
    EXPECT_EQ(bidiLevels(U"\u05D0\u05D1 ab"), (Levels{1, 1, 1, 2, 2}));
    EXPECT_EQ(bidiLevels(U"12"), (Levels{0, 0}));
    EXPECT_TRUE(bidiLevels(U"").empty());
}

TEST(TextRuns, RunsAreOrderedFromLeftToRight) {
    const auto order = [](const std::vector<std::uint8_t>& levels, const std::vector<int>& faces) {
        std::vector<std::size_t> begins;
        for (const TextRun& r : visualRuns(levels, faces)) begins.push_back(r.begin);
        return begins;
    };
    using Begins = std::vector<std::size_t>;
    // Left-to-right text with a right-to-left word: the word stays in its place.
    EXPECT_EQ(order({0, 0, 1, 1, 0}, {0, 0, 1, 1, 0}), (Begins{0, 2, 4}));
    // A right-to-left paragraph: its runs from the last to the first, a Latin run whole.
    EXPECT_EQ(order({1, 1, 2, 2, 1}, {1, 1, 0, 0, 1}), (Begins{4, 2, 0}));
    // One level, two faces: two runs in logical order, or reversed when right to left.
    EXPECT_EQ(order({0, 0, 0}, {0, 2, 2}), (Begins{0, 1}));
    EXPECT_EQ(order({1, 1, 1}, {0, 2, 2}), (Begins{1, 0}));
    EXPECT_TRUE(visualRuns({}, {}).empty());
}

}  // namespace
}  // namespace tk
