// Text in the game's face: the extents and coverage every layout was placed by, and the shape
// of a rendered line (its size, colour, transparency and underline).
#include <gtest/gtest.h>

#include "toolkit/font.h"

namespace tk {
namespace {

FontSpec face(int px, bool bold, bool italic, bool underline = false,
              Argb colour = rgb(255, 255, 255)) {
    FontSpec f;
    f.pixelSize = px;
    f.bold = bold;
    f.italic = italic;
    f.underline = underline;
    f.colour = colour;
    return f;
}

struct Known {
    FontSpec font;
    const char* text;
    int width, height;
    unsigned long coverage;  // the sum of every pixel's opacity
    int lit;                 // pixels with any opacity
};

// Widths, line heights and coverage of captions as the game has always drawn them: a change of
// rasteriser, hinting, kerning or ligatures moves these numbers.
TEST(Text, ExtentsAndCoverageStayAsTheLayoutsExpect) {
    const Known known[] = {
        {face(13, false, false), "Score", 34, 20, 20967, 167},
        {face(24, true, true), "Level 12", 98, 37, 144240, 791},
        {face(16, true, false), "New game", 84, 25, 92388, 553},
        {face(11, false, true), "Wolfgang AVAST office", 116, 16, 65968, 567},
        {face(48, true, true), "Stage 3", 178, 74, 608232, 2918},
        {face(13, false, false), " ", 4, 20, 0, 0},
    };
    for (const Known& k : known) {
        SCOPED_TRACE(k.text);
        TextSize size = measureText(k.text, k.font);
        EXPECT_EQ(size.width, k.width);
        EXPECT_EQ(size.height, k.height);
        Image img = renderText(k.text, k.font);
        ASSERT_EQ(img.width(), size.width);
        ASSERT_EQ(img.height(), size.height);
        unsigned long coverage = 0;
        int lit = 0;
        for (Argb p : img.pixels()) {
            coverage += p >> 24;
            lit += (p >> 24) != 0;
        }
        EXPECT_EQ(coverage, k.coverage);
        EXPECT_EQ(lit, k.lit);
    }
}

TEST(Text, KerningAndEmptyText) {
    FontSpec f = face(19, false, false);
    EXPECT_EQ(measureText("A", f).width, 15);
    EXPECT_EQ(measureText("V", f).width, 15);
    EXPECT_EQ(measureText("AV", f).width, 27) << "the pair is kerned closer than its letters";
    TextSize empty = measureText("", f);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 28);
    Image none = renderText("", f);
    EXPECT_TRUE(none.empty());
    // Sizes out of range are clamped, not refused.
    EXPECT_GT(measureText("x", face(0, false, false)).height, 0);
    EXPECT_EQ(measureText("x", face(5000, false, false)).height,
              measureText("x", face(400, false, false)).height);
}

TEST(Text, RenderedLinesCarryTheColourAndTheUnderline) {
    const Argb colour = rgb(255, 200, 10);
    Image plain = renderText("Menu", face(21, true, true, false, colour));
    Image under = renderText("Menu", face(21, true, true, true, colour));
    ASSERT_EQ(plain.width(), under.width());
    ASSERT_EQ(plain.height(), under.height());
    // Every pixel has the text's colour; only its opacity varies.
    bool anyOpaque = false;
    for (Argb p : plain.pixels()) {
        ASSERT_EQ(p & 0x00FFFFFFu, colour & 0x00FFFFFFu);
        anyOpaque |= (p >> 24) == 0xFF;
    }
    EXPECT_TRUE(anyOpaque);
    // The underline is a whole opaque row below the baseline that the plain text lacks.
    int underlineRow = -1;
    for (int y = 0; y < under.height() && underlineRow < 0; ++y) {
        bool whole = true;
        for (int x = 0; x < under.width(); ++x) whole &= (under.pixel(x, y) >> 24) == 0xFF;
        if (whole) underlineRow = y;
    }
    ASSERT_GE(underlineRow, 0);
    bool plainWhole = true;
    for (int x = 0; x < plain.width(); ++x)
        plainWhole &= (plain.pixel(x, underlineRow) >> 24) == 0xFF;
    EXPECT_FALSE(plainWhole);
    // Letters missing from the face still measure and draw without failing.
    EXPECT_GT(measureText("\xE2\x98\x83 \xF0\x9F\x98\x80", face(13, false, false)).width, 0);
    EXPECT_GT(measureText("broken \xC3", face(13, false, false)).width, 0);
}

// The rows an underline adds to TEXT: the first and how many, each opaque across the whole line.
struct Rule {
    int top = -1, rows = 0, baseline = -1;
};
Rule underlineOf(const std::string& text, FontSpec font) {
    font.underline = false;
    Image plain = renderText(text, font);
    font.underline = true;
    Image under = renderText(text, font);
    Rule r;
    if (plain.width() != under.width() || plain.height() != under.height()) return r;
    for (int y = 0; y < plain.height(); ++y) {
        bool inked = false, differs = false, whole = true;
        for (int x = 0; x < plain.width(); ++x) {
            inked |= (plain.pixel(x, y) >> 24) != 0;
            differs |= plain.pixel(x, y) != under.pixel(x, y);
            whole &= (under.pixel(x, y) >> 24) == 0xFF;
        }
        if (inked) r.baseline = y;  // the letters of the texts below have no descenders
        if (!differs) continue;
        if (!whole || (r.top >= 0 && r.top + r.rows != y)) return Rule{};
        if (r.top < 0) r.top = y;
        ++r.rows;
    }
    return r;
}

// The underline of the game's links sits a row or two below the letters, at the face's own
// thickness, and never less than a row however small the text.
TEST(Text, TheUnderlineLiesJustBelowTheLettersAtTheFacesThickness) {
    struct Case {
        int px;
        bool italic;
        int top, rows;
    };
    const Case cases[] = {{11, true, 14, 1},
                          {12, false, 15, 1},
                          {21, false, 26, 1},
                          {40, false, 50, 2},
                          {90, true, 111, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.px);
        FontSpec font = face(c.px, false, c.italic);
        Rule r = underlineOf("Menu", font);
        EXPECT_EQ(r.top, c.top);
        EXPECT_EQ(r.rows, c.rows);
        EXPECT_GT(r.top, r.baseline) << "the underline crosses the letters";
        EXPECT_LE(r.top, r.baseline + 2 + c.px / 8) << "the underline is far below the letters";
        font.underline = true;
        EXPECT_EQ(renderText("Menu", font).height(), measureText("Menu", font).height);
    }
}

}  // namespace
}  // namespace tk
