// gemsblast2.png: three styles of gem explosion, five steps each and a last
// wisp. A burst is round: a white-hot core flashes in the gem's middle, then a
// soft ball of light in the style's colour swells to the cell's edge and fades
// while shards fly outward. Nothing reaches the cell's corners, so a cleared
// group reads as gems popping, not as squares lighting up, and the well shows
// through the soft edge of every frame.

#include <algorithm>
#include <cmath>

#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/gem_painter.h"

namespace forge {

namespace {

constexpr double kC = kGemSize / 2.0;
constexpr int kSteps = 5;
// Nothing is drawn farther than this from the middle: the cell's edge is 24 px
// away along the sides, its corners 34.
constexpr double kReach = 23.5;

struct Style {
    Rgb core, glow, spark;
    std::uint64_t seed;
};

// Fire, ice and magic.
const Style kStyles[3] = {
    {hex(0xfffbe0), hex(0xff7a10), hex(0xffd040), 31},
    {hex(0xffffff), hex(0x40b8ff), hex(0xc8f4ff), 47},
    {hex(0xfff0ff), hex(0xb048ff), hex(0x80ffb0), 59},
};

// A soft round ball of light of radius R: INNER in the middle, OUTER towards
// its rim, fading to nothing at the rim.
void softBall(cairo_t* cr, double r, Rgb inner, Rgb outer, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_radial(kC, kC, 0, kC, kC, r);
    addStop(g, 0, inner, alpha);
    addStop(g, 0.45, mix(inner, outer, 0.6), alpha * 0.9);
    addStop(g, 0.8, outer, alpha * 0.45);
    addStop(g, 1, outer, 0);
    cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// The shock front: a soft ring of light at radius R, WIDTH wide.
void shockRing(cairo_t* cr, double r, double width, Rgb c, double alpha) {
    const double outer = std::min(kReach, r + width / 2), inner = std::max(0.0, r - width / 2);
    cairo_pattern_t* g = cairo_pattern_create_radial(kC, kC, inner, kC, kC, outer);
    addStop(g, 0, c, 0);
    addStop(g, 0.5, c, alpha);
    addStop(g, 1, c, 0);
    cairo_arc(cr, kC, kC, outer, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// One flying piece of style S at angle A and radius R, with a short streak of
// light behind it pointing back at the middle.
void piece(cairo_t* cr, int s, double a, double r, double size, double spin, double alpha) {
    const Style& st = kStyles[s];
    const double ca = std::cos(a), sa = std::sin(a);
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, kC + (r - size * 3) * ca, kC + (r - size * 3) * sa);
    cairo_line_to(cr, kC + r * ca, kC + r * sa);
    setColor(cr, st.glow, alpha * 0.55);
    cairo_set_line_width(cr, size * 0.8);
    cairo_stroke(cr);
    cairo_translate(cr, kC + r * ca, kC + r * sa);
    switch (s) {
        case 0:  // an ember
            cairo_arc(cr, 0, 0, size * 0.6, 0, 2 * M_PI);
            setColor(cr, st.spark, alpha);
            cairo_fill(cr);
            break;
        case 1:  // a splinter of ice
            cairo_rotate(cr, a + spin);
            cairo_move_to(cr, size * 1.3, 0);
            cairo_line_to(cr, -size * 0.8, size * 0.5);
            cairo_line_to(cr, -size * 0.4, -size * 0.6);
            cairo_close_path(cr);
            setColor(cr, st.spark, alpha);
            cairo_fill(cr);
            break;
        default:  // a little star
            setColor(cr, spin > 0 ? st.spark : lighter(st.glow, 0.4), alpha);
            starPath(cr, 0, 0, 4, size * 1.2, size * 0.4, spin);
            cairo_fill(cr);
            break;
    }
    cairo_restore(cr);
}

// The pieces of style S at P (0 as the burst starts, 1 at its last step),
// flying from the middle to the edge; each stays inside kReach.
void shards(cairo_t* cr, int s, double p, double alpha) {
    Rng rng(kStyles[s].seed);
    for (int i = 0; i < 16; ++i) {
        const double a = (i + 0.5) * M_PI / 8 + rng.uniform(-0.15, 0.15);
        const double speed = rng.uniform(0.68, 1.0);
        const double size = rng.uniform(2.2, 3.2) * (1.1 - 0.4 * p);
        const double r = std::min(kReach - size * 1.3, (5 + 17 * std::sqrt(p)) * speed);
        piece(cr, s, a, r, size, rng.uniform(-1, 1) * 3 * p, alpha);
    }
}

// A white-hot core of radius R: solid to two thirds of it, then soft.
void hotCore(cairo_t* cr, double r, Rgb tint, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_radial(kC, kC, 0, kC, kC, r);
    addStop(g, 0, hex(0xffffff), alpha);
    addStop(g, 0.65, mix(hex(0xffffff), tint, 0.3), alpha);
    addStop(g, 1, tint, 0);
    cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void burst(cairo_t* cr, int s, int step) {
    const Style& st = kStyles[s];
    if (step == 0) {
        // The flash: a white-hot core where the gem was, haloed in the style's colour.
        softBall(cr, 22, st.core, lighter(st.glow, 0.45), 1.0);
        shards(cr, s, 0, 1.0);
        hotCore(cr, 14, st.core, 1.0);
        glint(cr, kC, kC, 20, 1.0);
        return;
    }
    // Then the ball of light swells to the cell's edge and fades, its core
    // cooling, the shock front running ahead of it and the shards outrunning both.
    static constexpr double kFade[kSteps] = {1.0, 0.95, 0.62, 0.38, 0.18};
    const double p = static_cast<double>(step) / (kSteps - 1);  // 0.25 .. 1
    const double fade = kFade[step];
    softBall(cr, 14 + 9.5 * p, lighter(st.glow, 0.75 - 0.5 * p), st.glow, 0.95 * fade);
    shockRing(cr, 10 + 12 * p, 7 - 2 * p, lighter(st.glow, 0.6), fade);
    shards(cr, s, p, std::min(1.0, fade + 0.3));
    if (step <= 2) hotCore(cr, 11 - 3 * step, st.core, 1.0 - 0.3 * (step - 1));
}

void wisp(cairo_t* cr, int s) {
    const Style& st = kStyles[s];
    softBall(cr, 22, lighter(st.glow, 0.4), st.glow, 0.14);
    Rng rng(90 + static_cast<std::uint64_t>(s));
    for (int i = 0; i < 8; ++i) {
        const double a = rng.uniform(0, 2 * M_PI), r = rng.uniform(10, 20);
        setColor(cr, st.spark, 0.45);
        cairo_arc(cr, kC + r * std::cos(a), kC + r * std::sin(a), rng.uniform(0.8, 1.4), 0,
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
