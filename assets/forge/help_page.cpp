// help.jpg: the goal, the rules and the keys on one page, each rule beside a
// small picture of it drawn with the game's own gems.

#include <cmath>
#include <initializer_list>
#include <string>

#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/gem_painter.h"
#include "assets/forge/menu_style.h"
#include "assets/forge/words.h"

namespace forge {

namespace {

constexpr int kW = asset::kHelpPage.width, kH = asset::kHelpPage.height;
const Rgb kText = hex(0xf2ecdc);
const Rgb kKeyText = hex(0xfff07a);

void gemIcon(cairo_t* cr, int kind, double x, double y, double size) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / kGemSize, size / kGemSize);
    paintGem(cr, kind);
    cairo_restore(cr);
}

void arrow(cairo_t* cr, double x, double y0, double y1, Rgb c) {
    const double dir = y1 < y0 ? -1 : 1;
    cairo_move_to(cr, x, y0);
    cairo_line_to(cr, x, y1 - dir * 5);
    setColor(cr, c);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
    cairo_move_to(cr, x, y1);
    cairo_line_to(cr, x - 5, y1 - dir * 7);
    cairo_line_to(cr, x + 5, y1 - dir * 7);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// The little pictures of the rules, each inside a 64 x 40 box at (x, y).
void runIcon(cairo_t* cr, double x, double y) {
    for (int i = 0; i < 3; ++i) gemIcon(cr, 4, x + 2 + i * 20, y + 10, 20);
}

void squareIcon(cairo_t* cr, double x, double y) {
    for (int i = 0; i < 4; ++i) gemIcon(cr, 6, x + 14 + (i % 2) * 19, y + 1 + (i / 2) * 19, 19);
}

void chainIcon(cairo_t* cr, double x, double y) {
    gemIcon(cr, 2, x + 6, y + 2, 18);
    gemIcon(cr, 9, x + 6, y + 20, 18);
    arrow(cr, x + 34, y + 36, y + 6, hex(0xffd35a));
    glint(cr, x + 52, y + 14, 10, 0.95);
}

void stageIcon(cairo_t* cr, double x, double y) {
    roundedRect(cr, x + 10, y + 2, 12, 36, 5);
    cairo_set_source_rgba(cr, 0.8, 0.9, 1, 0.25);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.8, 0.9, 1, 0.7);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(x + 12, 0, x + 20, 0);
    addStop(fill, 0, hex(0xff2000));
    addStop(fill, 0.5, hex(0xffffa0));
    addStop(fill, 1, hex(0xff2000));
    cairo_rectangle(cr, x + 13, y + 12, 6, 24);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    glint(cr, x + 42, y + 12, 13, 1.0);
    glint(cr, x + 54, y + 30, 7, 0.8);
}

// Fills the current path with G, which it then releases, and rims it in gold.
void fillAndRim(cairo_t* cr, cairo_pattern_t* g) {
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    setColor(cr, hex(0xd7a23a));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

// The face of a key cap or a controller button: the current path filled dark violet, rimmed
// with gold, from TOP to BOTTOM.
void capFace(cairo_t* cr, double top, double bottom) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, bottom);
    addStop(g, 0, hex(0x4a4270));
    addStop(g, 1, hex(0x1c1838));
    fillAndRim(cr, g);
}

// A key cap with LABEL; returns its right edge.
double keyCap(cairo_t* cr, double x, double baseline, const std::string& label) {
    const Font f{12, true, false};
    const double w = std::max(26.0, textWidth(cr, f, label) + 14);
    roundedRect(cr, x, baseline - 15, w, 21, 4);
    capFace(cr, baseline - 15, baseline + 6);
    drawText(cr, f, label, x + w / 2, baseline, Align::Center, kKeyText);
    return x + w;
}

// The controller's buttons beside the keys, each a small glyph on the key line.
enum class Pad { A, B, X, Left, Right, Down, Up, StickLeft, StickRight, Start };

// The coloured letters of the face buttons, as printed on most controllers.
const Rgb kPadA = hex(0x5cc84a), kPadB = hex(0xf0584a), kPadX = hex(0x4a8ef0);

// A round face button in its colour with LETTER, centred at (CX, CY).
void faceButton(cairo_t* cr, double cx, double cy, const char* letter, Rgb colour) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 9.5, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - 3, cy - 4, 1, cx, cy, 10);
    addStop(g, 0, lighter(colour, 0.3));
    addStop(g, 1, darker(colour, 0.25));
    fillAndRim(cr, g);
    drawText(cr, {11, true, false}, letter, cx, cy + 4, Align::Center, hex(0x1c1838));
}

// The D-pad's cross with the arm in direction (DX, DY) lit.
void dpad(cairo_t* cr, double cx, double cy, double dx, double dy) {
    const double a = 4.2, r = 10.5;
    // The cross as one outline, clockwise from the top arm's left corner.
    const double corners[][2] = {{-a, -r}, {a, -r}, {a, -a}, {r, -a}, {r, a},   {a, a},
                                 {a, r},   {-a, r}, {-a, a}, {-r, a}, {-r, -a}, {-a, -a}};
    for (const auto& p : corners) cairo_line_to(cr, cx + p[0], cy + p[1]);
    cairo_close_path(cr);
    capFace(cr, cy - r, cy + r);
    // The lit arm: from near the middle to its end, inside the rim.
    const double across = a - 1.2, from = 2.5, to = r - 1.2;
    const double x0 = dx != 0 ? std::min(dx * from, dx * to) : -across;
    const double x1 = dx != 0 ? std::max(dx * from, dx * to) : across;
    const double y0 = dy != 0 ? std::min(dy * from, dy * to) : -across;
    const double y1 = dy != 0 ? std::max(dy * from, dy * to) : across;
    cairo_rectangle(cr, cx + x0, cy + y0, x1 - x0, y1 - y0);
    setColor(cr, kKeyText);
    cairo_fill(cr);
}

// The left stick seen from above, its cap pushed towards DX.
void stick(cairo_t* cr, double cx, double cy, double dx) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 9.5, 0, 2 * M_PI);
    capFace(cr, cy - 9.5, cy + 9.5);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + dx * 3.5, cy, 4.5, 0, 2 * M_PI);
    setColor(cr, hex(0x6a6290));
    cairo_fill_preserve(cr);
    setColor(cr, kKeyText);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

// The Start button: a small pill with the three lines of a menu.
void startButton(cairo_t* cr, double x, double cy) {
    roundedRect(cr, x, cy - 7, 24, 14, 7);
    capFace(cr, cy - 7, cy + 7);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, x + 7.5, cy + i * 3);
        cairo_line_to(cr, x + 16.5, cy + i * 3);
    }
    setColor(cr, kKeyText);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
}

// The glyph of B with its left edge at X on the key line at BASELINE; returns its right edge.
double padGlyph(cairo_t* cr, Pad b, double x, double baseline) {
    const double cy = baseline - 4.5;
    switch (b) {
        case Pad::A: faceButton(cr, x + 10, cy, "A", kPadA); break;
        case Pad::B: faceButton(cr, x + 10, cy, "B", kPadB); break;
        case Pad::X: faceButton(cr, x + 10, cy, "X", kPadX); break;
        case Pad::Left: dpad(cr, x + 11, cy, -1, 0); return x + 22;
        case Pad::Right: dpad(cr, x + 11, cy, 1, 0); return x + 22;
        case Pad::Down: dpad(cr, x + 11, cy, 0, 1); return x + 22;
        case Pad::Up: dpad(cr, x + 11, cy, 0, -1); return x + 22;
        case Pad::StickLeft: stick(cr, x + 10, cy, -1); break;
        case Pad::StickRight: stick(cr, x + 10, cy, 1); break;
        case Pad::Start: startButton(cr, x, cy); return x + 24;
    }
    return x + 20;
}

// Two key caps with "or" between them, the controller's buttons for the same action, and what
// they do, ending before LIMIT.
void keyLine(cairo_t* cr, double x, double y, const std::string& main, const std::string& other,
             std::initializer_list<Pad> pad, const std::string& what, double limit) {
    const Font body{13, false, false};
    double right = keyCap(cr, x, y, main);
    const std::string orWord = tr("or");
    drawText(cr, body, orWord, right + 6, y, Align::Left, hex(0xc8c0e8));
    right = keyCap(
        cr, right + 24 + std::max(0.0, textWidth(cr, body, orWord) - textWidth(cr, body, "or")), y,
        other);
    right += 6;
    for (Pad b : pad) right = padGlyph(cr, b, right + 4, y);
    const double at = right + 10;
    drawText(cr, fitFont(cr, body, what, limit - at, "help key"), what, at, y, Align::Left, kText,
             0, {}, 1);
}

}  // namespace

void forgeHelpPage(const Output& out) {
    Canvas c(kW, kH, true);
    cairo_t* cr = c.cr();
    // Over the menu and over the field alike: square corners, no star behind a word.
    dialogBackdrop(cr, kW, kH, 21, {{20, 14, 611, 476}}, true);
    const std::string title = tr("How to play Lumcrest");
    goldText(cr, fitFont(cr, {30, true, true}, title, kW - 40.0, "help title"), title, kW / 2.0, 46,
             Align::Center);

    // The reading text at 15 px: a page read from the sofa as well as from the desk.
    const Font head{17, true, false};
    const Font body{15, false, false};
    const double left = 34, line = 18;

    auto heading = [&](const char* english, double y) {
        const std::string text = tr(english);
        goldText(cr, fitFont(cr, head, text, kW - 2 * left, "help head"), text, left, y,
                 Align::Left);
    };
    heading(N_("The goal"), 76);
    fittedParagraph(cr, body,
                    tr("Your bar of three gems waits at the bottom of the well. Move it, turn it, "
                       "then launch it: each gem flies up until it meets the gems above. Gems of "
                       "one kind that meet burst. Clear enough gems to finish each level, and "
                       "never let the pile grow down to your bar."),
                    left, 95, kW - 2 * left, line, kText, 4, "help goal");

    heading(N_("The rules"), 172);
    struct Rule {
        void (*icon)(cairo_t*, double, double);
        int gem;  // drawn instead of an icon when not 0
        const char* text;
    };
    const Rule rules[] = {
        {runIcon, 0,
         N_("Runs: three or more gems of one kind in a line burst, across, up and down or "
            "diagonally.")},
        {squareIcon, 0, N_("Squares: a block of two by two gems of one kind bursts as well.")},
        {nullptr, kGemJoker,
         N_("Jokers, from level 2: the cluster of little balls counts as every kind of gem.")},
        {nullptr, kGemBomb,
         N_("Bombs, from level 3: a bomb that completes a group clears every gem of that kind "
            "from the well.")},
        {chainIcon, 0,
         N_("Chains: gems rise into the gaps, and the new groups they make burst in turn. Every "
            "step of a chain scores all the points before it again.")},
        {stageIcon, 0,
         N_("Levels: every burst gem fills the tube. When it is full, the jar celebrates and the "
            "next level begins under a new sky, with more kinds of gems.")},
    };
    double y = 178;
    for (const auto& r : rules) {
        if (r.icon)
            r.icon(cr, left, y);
        else
            gemIcon(cr, r.gem, left + 15, y + 1, 34);
        const std::string text = tr(r.text);
        const double width = kW - 2 * left - 76;
        const Font font = fitLines(cr, body, text, width, 2, "help rule");
        const double lines = textWidth(cr, font, text) > width ? 2 : 1;
        paragraph(cr, font, text, left + 76, y + 24 - (lines - 1) * line / 2, width,
                  line * font.size / body.size, kText);
        y += 37;
    }

    heading(N_("The keys"), 416);
    const double middle = kW / 2.0 - 16, end = kW - left;
    keyLine(cr, left + 10, 440, "\u2190", "4", {Pad::Left, Pad::StickLeft}, tr("move the bar left"),
            middle - 8);
    keyLine(cr, left + 10, 466, "\u2192", "6", {Pad::Right, Pad::StickRight},
            tr("move the bar right"), middle - 8);
    keyLine(cr, middle, 440, "\u2193", "5", {Pad::B, Pad::X, Pad::Down}, tr("turn the bar's gems"),
            end);
    keyLine(cr, middle, 466, "\u2191", tr("Space"), {Pad::A, Pad::Up}, tr("launch the bar upward"),
            end);
    // The controller's Start, which has no key: on the heading's line, over the right column.
    const double startRight = padGlyph(cr, Pad::Start, middle, 414);
    const std::string menu = tr("open the menu");
    drawText(cr, fitFont(cr, body, menu, end - startRight - 10, "help key"), menu, startRight + 10,
             414, Align::Left, kText, 0, {}, 1);
    // Under the keys: where the number keys are, and how the menu's Calm switch helps.
    const std::string note = tr("The number keys are those of the keypad.") + "    " +
                             tr("In the menu, Calm: On (C, or Y on a controller) softens flashes.");
    drawText(cr, fitFont(cr, {12, false, true}, note, kW - 40.0, "help note"), note, kW / 2.0, 486,
             Align::Center, kText);
    controlSlot(cr, 287, 493, 78, 28);
    c.writeJpeg(out.of(asset::kHelpPage));
}

}  // namespace forge
