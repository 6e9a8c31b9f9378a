#include "gem_painter.h"

#include <cmath>

namespace forge {

namespace {

constexpr double kC = kGemSize / 2.0;
constexpr double kBall = 20.8;  // half-size of the ball
constexpr double kRim = 22.2;   // half-size of the rim's centre line
constexpr double kPower = 4.2;

const Rgb kColors[16] = {
    hex(0x9aa3ad),  // 0 steel
    hex(0x7b2fc4),  // 1 purple
    hex(0x1836c8),  // 2 deep blue
    hex(0x9beefa),  // 3 pale cyan
    hex(0xe2231f),  // 4 red
    hex(0xf6d224),  // 5 yellow
    hex(0xff8616),  // 6 orange
    hex(0x850c1f),  // 7 dark red
    hex(0xd36df2),  // 8 violet
    hex(0x2fae45),  // 9 green
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

void swirl(cairo_t* cr, Rgb c) {
    cairo_save(cr);
    cairo_new_path(cr);
    for (int i = 0; i <= 80; ++i) {
        const double t = i / 80.0;
        const double a = t * 4.2 * M_PI, r = 1.5 + 12.0 * t;
        const double x = kC + r * std::cos(a), y = kC + 1 + r * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 3.8);
    setColor(cr, darker(c, 0.6), 0.75);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.9);
    cairo_set_source_rgba(cr, 1, 0.92, 1, 0.9);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void veins(cairo_t* cr) {
    Rng rng(55);
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int v = 0; v < 5; ++v) {
        double a = v * 2 * M_PI / 5 + rng.uniform(-0.3, 0.3);
        double x = kC + rng.uniform(-3, 3), y = kC + rng.uniform(-3, 3);
        double w = 1.8;
        cairo_move_to(cr, x, y);
        for (int s = 0; s < 6; ++s) {
            a += rng.uniform(-0.6, 0.6);
            x += 4 * std::cos(a);
            y += 4 * std::sin(a);
            cairo_line_to(cr, x, y);
            if (s == 2) {  // a twig
                const double b = a + (rng.chance(0.5) ? 0.8 : -0.8);
                cairo_line_to(cr, x + 5 * std::cos(b), y + 5 * std::sin(b));
                cairo_move_to(cr, x, y);
            }
        }
        cairo_set_line_width(cr, w);
        cairo_set_source_rgba(cr, 0.78, 0.05, 0.04, 0.85);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void sparkles(cairo_t* cr, bool teal) {
    if (teal) {
        Rng rng(10);
        for (int i = 0; i < 9; ++i) {
            cairo_set_source_rgba(cr, 0.75, 1, 0.95, rng.uniform(0.5, 0.9));
            cairo_arc(cr, rng.uniform(8, 40), rng.uniform(10, 40), rng.uniform(0.7, 1.5), 0,
                      2 * M_PI);
            cairo_fill(cr);
        }
        glint(cr, kC + 5, kC + 6, 8, 0.9);
        glint(cr, kC - 8, kC + 7, 4.5, 0.8);
    } else {
        glint(cr, kC + 1, kC + 2, 12, 0.95);
        glint(cr, kC - 9, kC + 9, 5.5, 0.85);
        glint(cr, kC + 9, kC - 8, 5, 0.85);
    }
}

void symbol(cairo_t* cr, int v, Rgb c) {
    cairo_save(cr);
    gemBallPath(cr);
    cairo_clip(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (v) {
        case 0:  // brushed steel rings
            for (int r = 3; r < 24; r += 3) {
                cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
                cairo_set_source_rgba(cr, 1, 1, 1, r % 2 ? 0.12 : 0.05);
                cairo_set_line_width(cr, 1);
                cairo_stroke(cr);
            }
            break;
        case 1:
            swirl(cr, c);
            break;
        case 2:
            sparkles(cr, false);
            break;
        case 3:  // ring with a pearl
            cairo_arc(cr, kC, kC + 1, 9.5, 0, 2 * M_PI);
            setColor(cr, darker(c, 0.55), 0.8);
            cairo_set_line_width(cr, 3.2);
            cairo_stroke(cr);
            cairo_arc(cr, kC, kC + 1, 3.2, 0, 2 * M_PI);
            setColor(cr, darker(c, 0.45), 0.8);
            cairo_fill(cr);
            break;
        case 4:  // diamond
            cairo_move_to(cr, kC, kC - 12);
            cairo_line_to(cr, kC + 10, kC + 1);
            cairo_line_to(cr, kC, kC + 14);
            cairo_line_to(cr, kC - 10, kC + 1);
            cairo_close_path(cr);
            setColor(cr, lighter(c, 0.45), 0.8);
            cairo_fill_preserve(cr);
            setColor(cr, darker(c, 0.55), 0.9);
            cairo_set_line_width(cr, 1.6);
            cairo_stroke(cr);
            break;
        case 5:
            veins(cr);
            break;
        case 6:  // square frame, dark-edged so it reads on the bright orange
            roundedRect(cr, kC - 8.5, kC - 6.5, 17, 17, 3);
            setColor(cr, darker(c, 0.6), 0.9);
            cairo_set_line_width(cr, 5);
            cairo_stroke_preserve(cr);
            setColor(cr, lighter(c, 0.75), 1.0);
            cairo_set_line_width(cr, 2.4);
            cairo_stroke(cr);
            break;
        case 7:  // cross
            cairo_rectangle(cr, kC - 3, kC - 10, 6, 22);
            cairo_rectangle(cr, kC - 11, kC - 2, 22, 6);
            setColor(cr, darker(c, 0.6), 0.9);
            cairo_set_line_width(cr, 2);
            cairo_stroke_preserve(cr);
            setColor(cr, lighter(c, 0.62), 0.95);
            cairo_fill(cr);
            break;
        case 8:  // streaks of light
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            for (int i = 0; i < 4; ++i) {
                const double o = -12 + 8 * i;
                cairo_move_to(cr, kC + 14 + o, kC - 14 + o * 0.2);
                cairo_line_to(cr, kC - 12 + o, kC + 14 + o * 0.2);
                cairo_set_source_rgba(cr, 1, 0.95, 1, i % 2 ? 0.35 : 0.6);
                cairo_set_line_width(cr, i % 2 ? 1.5 : 2.6);
                cairo_stroke(cr);
            }
            break;
        case 9:  // scales
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 7; ++col) {
                    const double x = 3 + col * 7 + (row % 2) * 3.5, y = 3 + row * 7;
                    cairo_arc(cr, x, y, 2.6, 0, 2 * M_PI);
                    setColor(cr, darker(c, 0.5), 0.55);
                    cairo_fill(cr);
                    cairo_arc(cr, x - 0.7, y - 0.7, 1.0, 0, 2 * M_PI);
                    setColor(cr, lighter(c, 0.6), 0.5);
                    cairo_fill(cr);
                }
            break;
        case 10:
            sparkles(cr, true);
            break;
        default:
            break;
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

void bombFace(cairo_t* cr, bool bright) {
    // Glow from the core.
    cairo_pattern_t* g = cairo_pattern_create_radial(kC, kC + 1, 0, kC, kC + 1, 19);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.85, bright ? 1.0 : 0.85);
    cairo_pattern_add_color_stop_rgba(g, bright ? 0.55 : 0.4, 1, 0.85, 0.2, 0.7);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.5, 0, 0);
    gemBallPath(cr);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // The warning triangle.
    const double s = 12.5;
    cairo_move_to(cr, kC, kC - s + 1);
    cairo_line_to(cr, kC + s * 0.95, kC + s * 0.72);
    cairo_line_to(cr, kC - s * 0.95, kC + s * 0.72);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgb(cr, 0.3, 0.08, 0.0);
    cairo_set_line_width(cr, 3.4);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 0.45, 0.12, 0.0, 0.85);
    cairo_fill(cr);
    cairo_move_to(cr, kC, kC - 4);
    cairo_line_to(cr, kC, kC + 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.6);
    cairo_set_source_rgb(cr, 1, bright ? 0.95 : 0.85, 0.4);
    cairo_stroke(cr);
    cairo_arc(cr, kC, kC + 7, 1.5, 0, 2 * M_PI);
    cairo_fill(cr);
}

void ballAndRim(cairo_t* cr, int v) {
    const Rgb c = gemColor(v);
    const bool joker = v == kGemJoker || v == kGemJokerBlinkA || v == kGemJokerBlinkB;
    const bool bomb = v == kGemBomb || v == kGemBombBright;
    shadedBall(cr, c, joker ? 0.3 : 0.65);
    if (joker)
        jokerCluster(cr, v == kGemJoker ? 0 : (v == kGemJokerBlinkA ? 1 : 2));
    else if (bomb)
        bombFace(cr, v == kGemBombBright);
    highlight(cr);
    if (!joker && !bomb) symbol(cr, v, c);

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
