#include "assets/forge/gem_painter.h"

#include <cmath>

namespace forge {

namespace {

constexpr double kC = kGemSize / 2.0;
constexpr double kBall = 20.8;  // half-size of the ball
constexpr double kRim = 22.2;   // half-size of the rim's centre line
constexpr double kPower = 4.2;

const Rgb kColors[16] = {
    hex(0x9aa3ad),  // 0 steel
    hex(0x8c00c0),  // 1 magenta-violet
    hex(0x1d3fff),  // 2 royal blue
    hex(0x0eebff),  // 3 cyan
    hex(0xff262e),  // 4 red
    hex(0xffe600),  // 5 yellow
    hex(0xff8d00),  // 6 orange
    hex(0xfff7f7),  // 7 pearl
    hex(0xe161c1),  // 8 pink
    hex(0x28ce77),  // 9 green
    hex(0x0c6a6c),  // 10 dark teal
    hex(0x2a2152),  // 11 joker
    hex(0xff7a08),  // 12 bomb
    hex(0x2a2152),  // 13
    hex(0x2a2152),  // 14
    hex(0xffb43c),  // 15
};

void shadedBall(cairo_t* cr, Rgb base, double light = 0.65) {
    cairo_pattern_t* g = cairo_pattern_create_radial(kC - 7, kC - 8, 1, kC, kC, 31);
    addStop(g, 0.0, lighter(base, light));
    addStop(g, 0.38, base);
    addStop(g, 0.8, darker(base, 0.45));
    addStop(g, 1.0, darker(base, 0.7));
    gemBallPath(cr);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void highlight(cairo_t* cr) {
    cairo_save(cr);
    // Kept small and high on the upper left, clear of the kind's symbol.
    cairo_translate(cr, kC - 8.5, kC - 12.5);
    cairo_rotate(cr, -0.55);
    cairo_scale(cr, 7.5, 3.6);
    cairo_pattern_t* g = cairo_pattern_create_radial(0, -0.2, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.78);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    // Light bouncing back at the lower right.
    cairo_save(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
    cairo_set_line_width(cr, 2.0);
    cairo_arc(cr, kC, kC, 15.5, 0.15, 1.35);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// Every ordinary kind carries a bold filled symbol of its own, at least 26 px
// across with strokes of 3.5 px or more, so the kinds differ by shape as well
// as by colour. Symbols are dark on light gems and light on dark ones, with a
// thin edge of the other tone so they read on any background.
// Kinds whose ball is light enough to carry a dark symbol.
bool lightGem(int v) {
    return v == 1 || v == 3 || v == 5 || v == 6 || v == 7 || v == 8 || v == 9;
}

void inkSymbol(cairo_t* cr, int v, Rgb c, bool fill, double width) {
    const bool light = lightGem(v);
    const Rgb ink = light ? darker(c, 0.72) : lighter(c, 0.8);
    const Rgb edge = light ? lighter(c, 0.55) : darker(c, 0.6);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (fill) {
        setColor(cr, edge, 0.9);
        cairo_set_line_width(cr, 2.0);
        cairo_stroke_preserve(cr);
        setColor(cr, ink);
        cairo_fill(cr);
    } else {
        setColor(cr, edge, 0.9);
        cairo_set_line_width(cr, width + 2.0);
        cairo_stroke_preserve(cr);
        setColor(cr, ink);
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
    }
}

void symbol(cairo_t* cr, int v, Rgb c) {
    cairo_save(cr);
    gemBallPath(cr);
    cairo_clip(cr);
    cairo_new_path(cr);
    const double x = kC, y = kC + 1;
    switch (v) {
        case 0:  // brushed steel rings
            for (int r = 3; r < 24; r += 3) {
                cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
                cairo_set_source_rgba(cr, 1, 1, 1, r % 2 ? 0.12 : 0.05);
                cairo_set_line_width(cr, 1);
                cairo_stroke(cr);
            }
            break;
        case 1:  // swirl
            for (int i = 0; i <= 60; ++i) {
                const double t = i / 60.0, a = t * 3.3 * M_PI, r = 2.0 + 11.5 * t;
                cairo_line_to(cr, x + r * std::cos(a), y + r * std::sin(a));
            }
            inkSymbol(cr, v, c, false, 4.0);
            break;
        case 2:  // sparkle: a five-point star
            starPath(cr, x, y + 1, 5, 16.5, 7.5);
            inkSymbol(cr, v, c, true, 0);
            break;
        case 3:  // ring
            cairo_arc(cr, x, y, 10.5, 0, 2 * M_PI);
            inkSymbol(cr, v, c, false, 4.5);
            break;
        case 4:  // diamond
            cairo_move_to(cr, x, y - 15);
            cairo_line_to(cr, x + 14, y);
            cairo_line_to(cr, x, y + 15);
            cairo_line_to(cr, x - 14, y);
            cairo_close_path(cr);
            inkSymbol(cr, v, c, true, 0);
            break;
        case 5:  // veins: a branching fork
            cairo_move_to(cr, x, y + 13);
            cairo_line_to(cr, x, y + 1);
            cairo_line_to(cr, x - 12, y - 11);
            cairo_move_to(cr, x, y + 1);
            cairo_line_to(cr, x + 12, y - 11);
            cairo_move_to(cr, x, y + 1);
            cairo_line_to(cr, x, y - 12);
            inkSymbol(cr, v, c, false, 3.8);
            break;
        case 6:  // square frame
            roundedRect(cr, x - 10, y - 10, 20, 20, 3);
            inkSymbol(cr, v, c, false, 5.0);
            break;
        case 7:  // cross
            cairo_rectangle(cr, x - 3.5, y - 13, 7, 26);
            cairo_rectangle(cr, x - 13, y - 3.5, 26, 7);
            inkSymbol(cr, v, c, true, 0);
            break;
        case 8:  // streaks of light: two bold slanted bars
            for (int i = 0; i < 2; ++i) {
                const double o = -5.5 + 11 * i;
                cairo_move_to(cr, x + o + 6, y - 12);
                cairo_line_to(cr, x + o - 6, y + 12);
            }
            inkSymbol(cr, v, c, false, 5.0);
            break;
        case 9:  // clover of three leaves
            for (int i = 0; i < 3; ++i) {
                const double a = -M_PI / 2 + i * 2 * M_PI / 3;
                cairo_new_sub_path(cr);
                cairo_arc(cr, x + 7.5 * std::cos(a), y + 7.5 * std::sin(a), 6.6, 0, 2 * M_PI);
            }
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            inkSymbol(cr, v, c, true, 0);
            break;
        case 10:
            glint(cr, kC + 5, kC + 6, 8, 0.9);
            glint(cr, kC - 8, kC + 7, 4.5, 0.8);
            break;
        default: break;
    }
    cairo_restore(cr);
}

void jokerCluster(cairo_t* cr, int arrangement) {
    static const int kinds[7] = {4, 6, 5, 9, 3, 2, 1};
    const double turn = arrangement * M_PI / 6;
    const double ring = arrangement == 2 ? 11.0 : 11.8;
    for (int i = 0; i < 7; ++i) {
        const int kind = kinds[(i + arrangement * 2) % 7];
        double x = kC, y = kC;
        if (i > 0) {
            const double a = turn + (i - 1) * M_PI / 3;
            x += ring * std::cos(a);
            y += ring * std::sin(a);
        }
        const double r = i == 0 ? 6.8 : 6.0;
        const Rgb c = gemColor(kind);
        cairo_pattern_t* g = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.4, 0.5, x, y, r);
        addStop(g, 0, lighter(c, 0.7));
        addStop(g, 0.5, c);
        addStop(g, 1, darker(c, 0.55));
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        cairo_arc(cr, x - r * 0.35, y - r * 0.4, r * 0.28, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
        cairo_fill(cr);
    }
}

// The bomb is no gem but sits in a gem's setting: a dark round iron ball with
// a fuse and its spark on a smoky ground lit by the spark, inside the gold rim.
void bomb(cairo_t* cr, bool bright) {
    // The ground: smoke, warmed at the upper right where the fuse burns.
    cairo_pattern_t* smoke = cairo_pattern_create_radial(kC + 9, kC - 10, 2, kC, kC, 30);
    addStop(smoke, 0, bright ? hex(0xb0602a) : hex(0x8a4a26));
    addStop(smoke, 0.45, hex(0x544036));
    addStop(smoke, 1, hex(0x1a120e));
    gemBallPath(cr);
    cairo_set_source(cr, smoke);
    cairo_fill(cr);
    cairo_pattern_destroy(smoke);
    const double x = kC - 1.5, y = kC + 2.5, r = 14.5;
    cairo_arc(cr, x + 1.5, y + 2, r, 0, 2 * M_PI);  // shadow on the ground
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(x - 5, y - 6, 1, x, y, r);
    addStop(g, 0, hex(0xa8b0c4));
    addStop(g, 0.35, hex(0x525a6e));
    addStop(g, 1, hex(0x1a1d26));
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // The spark's glow catching the iron's lower edge keeps the ball clear of the darkest wells.
    cairo_arc(cr, x, y, r - 1.2, 0.1 * M_PI, 0.9 * M_PI);
    cairo_set_source_rgba(cr, 1, 0.8, 0.55, 0.55);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    // The collar and the fuse curling up to the right.
    roundedRect(cr, x + 5.5, y - 17, 8, 6, 1.5);
    setColor(cr, hex(0x3a3f4a));
    cairo_fill(cr);
    cairo_move_to(cr, x + 10, y - 16);
    cairo_curve_to(cr, x + 12, y - 21, x + 16, y - 20, x + 17, y - 23);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.4);
    setColor(cr, hex(0xc9a36a));
    cairo_stroke(cr);
}

// The fuse's spark, over the rim: larger in the blink.
void bombSpark(cairo_t* cr, bool bright) {
    const double sx = kC + 17, sy = kC - 22, glow = bright ? 7.5 : 5.0;
    cairo_pattern_t* s = cairo_pattern_create_radial(sx, sy, 0, sx, sy, glow);
    cairo_pattern_add_color_stop_rgba(s, 0, 1, 1, 0.8, 1);
    cairo_pattern_add_color_stop_rgba(s, 0.4, 1, 0.7, 0.1, 0.9);
    cairo_pattern_add_color_stop_rgba(s, 1, 1, 0.4, 0, 0);
    cairo_arc(cr, sx, sy, glow, 0, 2 * M_PI);
    cairo_set_source(cr, s);
    cairo_fill(cr);
    cairo_pattern_destroy(s);
    starPath(cr, sx, sy, 4, bright ? 5 : 3.5, 1, M_PI / 8);
    cairo_set_source_rgb(cr, 1, 1, 0.9);
    cairo_fill(cr);
}

void ballAndRim(cairo_t* cr, int v) {
    const Rgb c = gemColor(v);
    const bool joker = v == kGemJoker || v == kGemJokerBlinkA || v == kGemJokerBlinkB;
    const bool isBomb = v == kGemBomb || v == kGemBombBright;
    if (isBomb) {
        bomb(cr, v == kGemBombBright);
    } else {
        shadedBall(cr, c, joker ? 0.3 : 0.65);
        if (joker) jokerCluster(cr, v == kGemJoker ? 0 : (v == kGemJokerBlinkA ? 1 : 2));
        highlight(cr);
        if (!joker) symbol(cr, v, c);
    }

    // The gold rim.
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, 0, kGemSize, kGemSize);
    addStop(gold, 0.0, hex(0xfff4b0));
    addStop(gold, 0.3, hex(0xe2b04a));
    addStop(gold, 0.65, hex(0x9a6518));
    addStop(gold, 1.0, hex(0xd9a848));
    gemRimPath(cr);
    cairo_set_source(cr, gold);
    cairo_set_line_width(cr, 3.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(gold);
    squircle(cr, kC, kC, kBall, kBall, kPower);
    cairo_set_source_rgba(cr, 0.2, 0.1, 0, 0.6);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    if (isBomb) bombSpark(cr, v == kGemBombBright);
}

}  // namespace

Rgb gemColor(int value) {
    return kColors[value & 15];
}

void gemBallPath(cairo_t* cr) {
    squircle(cr, kC, kC, kBall, kBall, kPower);
}
void gemRimPath(cairo_t* cr) {
    squircle(cr, kC, kC, kRim, kRim, kPower);
}

void paintGem(cairo_t* cr, int value) {
    cairo_save(cr);
    // The setting: dark bronze to the very corners.
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, kGemSize, kGemSize);
    addStop(g, 0, hex(0x6b4a16));
    addStop(g, 1, hex(0x24160a));
    cairo_rectangle(cr, 0, 0, kGemSize, kGemSize);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_rectangle(cr, 0.5, 0.5, kGemSize - 1, kGemSize - 1);
    cairo_set_source_rgba(cr, 1, 0.85, 0.5, 0.18);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    ballAndRim(cr, value);
    cairo_restore(cr);
}

void paintGemBall(cairo_t* cr, int value) {
    cairo_save(cr);
    ballAndRim(cr, value);
    cairo_restore(cr);
}

}  // namespace forge
