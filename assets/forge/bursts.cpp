// gemsblast2.png: three styles of gem explosion, five growing and fading steps
// each, and a last wisp. Every burst opens with a white-hot flash that fills
// the whole cell, then a blast of light and pieces that reaches the cell's
// edges and fades: the gem pops into light rather than leaving a hole.

#include <algorithm>
#include <cmath>

#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/gem_painter.h"

namespace forge {

namespace {

constexpr double kC = kGemSize / 2.0;
constexpr int kSteps = 5;

struct Style {
    Rgb core, glow, spark;
    std::uint64_t seed;
};

// Fire, ice and magic.
const Style kStyles[3] = {
    {hex(0xfffbe0), hex(0xff7a10), hex(0xffd040), 31},
    {hex(0xffffff), hex(0x40b8ff), hex(0xc8f4ff), 47},
    {hex(0xfff0ff), hex(0xa040f0), hex(0x80ffb0), 59},
};

void glow(cairo_t* cr, double r, Rgb inner, Rgb outer, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_radial(kC, kC, 0, kC, kC, r);
    addStop(g, 0, inner, alpha);
    addStop(g, 0.35, lighter(outer, 0.4), alpha * 0.85);
    addStop(g, 0.7, outer, alpha * 0.45);
    addStop(g, 1, outer, 0);
    cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// A ring of light running outward.
void shockRing(cairo_t* cr, double r, double width, Rgb c, double alpha) {
    cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
    setColor(cr, c, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// One flying piece of style S at angle A and radius R.
void piece(cairo_t* cr, int s, double a, double r, double size, double spin, double alpha) {
    const Style& st = kStyles[s];
    const double x = kC + r * std::cos(a), y = kC + r * std::sin(a);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    switch (s) {
        case 0: {  // an ember with a short trail
            cairo_move_to(cr, -std::cos(a) * size * 2.2, -std::sin(a) * size * 2.2);
            cairo_line_to(cr, 0, 0);
            setColor(cr, st.glow, alpha * 0.8);
            cairo_set_line_width(cr, size * 0.9);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
            cairo_arc(cr, 0, 0, size * 0.6, 0, 2 * M_PI);
            setColor(cr, st.spark, alpha);
            cairo_fill(cr);
            break;
        }
        case 1: {  // a splinter of ice
            cairo_rotate(cr, a + spin);
            cairo_move_to(cr, size * 1.8, 0);
            cairo_line_to(cr, -size, size * 0.6);
            cairo_line_to(cr, -size * 0.5, -size * 0.7);
            cairo_close_path(cr);
            setColor(cr, st.spark, alpha);
            cairo_fill_preserve(cr);
            setColor(cr, st.core, alpha);
            cairo_set_line_width(cr, 0.6);
            cairo_stroke(cr);
            break;
        }
        default: {  // a little star
            setColor(cr, spin > 0 ? st.spark : lighter(st.glow, 0.4), alpha);
            starPath(cr, 0, 0, 4, size * 1.3, size * 0.4, spin);
            cairo_fill(cr);
            break;
        }
    }
    cairo_restore(cr);
}

// Light over the whole cell, corners included, so neighbouring bursts run
// together: the whole-board explosion at a stage end reads as one big blast.
void cellLight(cairo_t* cr, Rgb middle, Rgb edge, double alphaMiddle, double alphaEdge) {
    cairo_pattern_t* g = cairo_pattern_create_radial(kC, kC, 0, kC, kC, kC * std::sqrt(2.0));
    addStop(g, 0, middle, alphaMiddle);
    addStop(g, 0.5, mix(middle, edge, 0.6), (alphaMiddle + alphaEdge) / 2);
    addStop(g, 1, edge, alphaEdge);
    cairo_rectangle(cr, 0, 0, kGemSize, kGemSize);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void burst(cairo_t* cr, int s, int step) {
    const Style& st = kStyles[s];
    const double p = static_cast<double>(step) / (kSteps - 1);  // 0 .. 1
    if (step == 0) {
        // The flash: the whole cell blazes white-hot.
        cellLight(cr, hex(0xffffff), lighter(st.glow, 0.55), 1.0, 0.95);
        glint(cr, kC, kC, 20, 1.0);
        return;
    }
    // Then the blast fills the cell to its edges and fades, brightest at the
    // front running outward, the pieces flying out to the very border.
    const double fade = 1.0 - 0.9 * std::pow(p, 1.2);
    cellLight(cr, lighter(st.glow, 0.85 - 0.5 * p), mix(st.glow, lighter(st.glow, 0.5), fade), fade,
              0.85 * fade);
    const double front = 12 + 20 * p;
    shockRing(cr, front, 6 - 3 * p, lighter(st.glow, 0.85), fade);
    Rng rng(st.seed);
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8 + rng.uniform(-0.2, 0.2);
        const double speed = rng.uniform(0.8, 1.1);
        const double r = (8 + 26 * std::sqrt(p)) * speed;
        const double size = rng.uniform(2.4, 3.6) * (1.15 - 0.5 * p);
        piece(cr, s, a, r, size, rng.uniform(-1, 1) * 3 * p, std::min(1.0, fade + 0.35));
    }
}

void wisp(cairo_t* cr, int s) {
    const Style& st = kStyles[s];
    glow(cr, 20, lighter(st.glow, 0.5), st.glow, 0.18);
    Rng rng(90 + static_cast<std::uint64_t>(s));
    for (int i = 0; i < 8; ++i) {
        const double a = rng.uniform(0, 2 * M_PI), r = rng.uniform(10, 21);
        setColor(cr, st.spark, 0.5);
        cairo_arc(cr, kC + r * std::cos(a), kC + r * std::sin(a), rng.uniform(0.8, 1.5), 0,
                  2 * M_PI);
        cairo_fill(cr);
    }
}

}  // namespace

void forgeBursts(const Output& out) {
    Strip strip(asset::kBursts);
    for (int s = 0; s < 3; ++s) {
        for (int j = 0; j < kSteps; ++j)
            strip.frame(2 + 10 * s + j, [&](cairo_t* cr) { burst(cr, s, j); });
        strip.frame(32 + s, [s](cairo_t* cr) { wisp(cr, s); });
    }
    strip.writePng(out.of(asset::kBursts));
}

}  // namespace forge
