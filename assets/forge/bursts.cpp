// gemsblast2.png: three styles of gem explosion, five growing and fading steps
// each, and a last wisp.

#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "forge.h"
#include "gem_painter.h"

namespace forge {

namespace {

constexpr double kC = kGemSize / 2.0;

void softDisc(cairo_t* cr, double r, Rgb inner, Rgb outer, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_radial(kC, kC, 0, kC, kC, r);
    addStop(g, 0, inner, alpha);
    addStop(g, 0.5, outer, alpha * 0.7);
    addStop(g, 1, outer, 0);
    cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// Fire: a hot core throwing rays and sparks.
void fire(cairo_t* cr, int step) {
    const double p = (step + 1) / 5.0;
    const double fade = step < 2 ? 1.0 : 1.0 - (step - 1) * 0.27;
    softDisc(cr, 8 + 14 * p, hex(0xfffbe0), hex(0xff7a10), fade);
    Rng rng(31);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6 + rng.uniform(-0.2, 0.2);
        const double r0 = 4 + 10 * p, r1 = r0 + rng.uniform(5, 9) * (1.2 - p * 0.5);
        cairo_move_to(cr, kC + r0 * std::cos(a), kC + r0 * std::sin(a));
        cairo_line_to(cr, kC + r1 * std::cos(a), kC + r1 * std::sin(a));
        cairo_set_source_rgba(cr, 1, 0.85, 0.3, fade * 0.9);
        cairo_set_line_width(cr, 2.2 - p);
        cairo_stroke(cr);
        const double rs = 6 + 17 * p + rng.uniform(-2, 2);
        cairo_arc(cr, kC + rs * std::cos(a + 0.26), kC + rs * std::sin(a + 0.26), 1.4, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 0.7, fade);
        cairo_fill(cr);
    }
}

// Ice: shards flung out from a ring.
void shards(cairo_t* cr, int step) {
    const double p = (step + 1) / 5.0;
    const double fade = step < 2 ? 1.0 : 1.0 - (step - 1) * 0.27;
    softDisc(cr, 6 + 10 * p, hex(0xffffff), hex(0x60c8ff), fade * (1.0 - p * 0.5));
    cairo_arc(cr, kC, kC, 5 + 16 * p, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.75, 0.92, 1, fade * 0.7);
    cairo_set_line_width(cr, 2.5 * (1.1 - p));
    cairo_stroke(cr);
    Rng rng(47);
    for (int i = 0; i < 10; ++i) {
        const double a = i * 2 * M_PI / 10 + rng.uniform(-0.25, 0.25);
        const double r = 4 + 18 * p * rng.uniform(0.8, 1.1);
        const double spin = rng.uniform(-1, 1) * 3 * p;
        cairo_save(cr);
        cairo_translate(cr, kC + r * std::cos(a), kC + r * std::sin(a));
        cairo_rotate(cr, a + spin);
        const double s = rng.uniform(2.5, 4.5);
        cairo_move_to(cr, s * 1.6, 0);
        cairo_line_to(cr, -s, s * 0.7);
        cairo_line_to(cr, -s * 0.6, -s * 0.6);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 0.85, 0.95, 1, fade);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 0.2, 0.5, 0.9, fade);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

// Magic: orbs spiralling out of a violet glow.
void orbs(cairo_t* cr, int step) {
    const double p = (step + 1) / 5.0;
    const double fade = step < 2 ? 1.0 : 1.0 - (step - 1) * 0.27;
    softDisc(cr, 8 + 13 * p, hex(0xf4d0ff), hex(0x9030e0), fade * 0.9);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4 + p * 1.6;
        const double r = 5 + 16 * p;
        const double x = kC + r * std::cos(a), y = kC + r * std::sin(a);
        const bool green = i % 2 == 0;
        cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, 4.5);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, fade);
        cairo_pattern_add_color_stop_rgba(g, 0.4, green ? 0.4 : 0.85, green ? 1 : 0.5,
                                          green ? 0.6 : 1, fade);
        cairo_pattern_add_color_stop_rgba(g, 1, 0.5, 0.2, 0.9, 0);
        cairo_arc(cr, x, y, 4.5, 0, 2 * M_PI);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    glint(cr, kC, kC, 10 * (1.2 - p), fade);
}

void wisp(cairo_t* cr, int style) {
    static const Rgb tints[3] = {hex(0xff9a40), hex(0x9ad8ff), hex(0xc080ff)};
    softDisc(cr, 22, lighter(tints[style], 0.4), tints[style], 0.22);
    Rng rng(90 + static_cast<std::uint64_t>(style));
    for (int i = 0; i < 7; ++i) {
        const double a = rng.uniform(0, 2 * M_PI), r = rng.uniform(10, 21);
        setColor(cr, lighter(tints[style], 0.5), 0.45);
        cairo_arc(cr, kC + r * std::cos(a), kC + r * std::sin(a), rng.uniform(0.8, 1.6), 0,
                  2 * M_PI);
        cairo_fill(cr);
    }
}

}  // namespace

void forgeBursts(const Output& out) {
    Strip strip(kGemSize, kGemSize, 36);
    void (*styles[3])(cairo_t*, int) = {fire, shards, orbs};
    for (int s = 0; s < 3; ++s) {
        for (int j = 0; j < 5; ++j)
            strip.frame(2 + 10 * s + j, [&](cairo_t* cr) { styles[s](cr, j); });
        strip.frame(32 + s, [s](cairo_t* cr) { wisp(cr, s); });
    }
    strip.writePng(out.embedded("gemsblast2.png"));
}

}  // namespace forge
