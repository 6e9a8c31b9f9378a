// jar.png: the jar on its stand at rest, then its celebration when a stage is
// done: a beam of light shoots up out of it and a shower of stars bursts and falls.

#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/gem_painter.h"

namespace forge {

namespace {

constexpr int kSize = asset::kJar.frameWidth;
constexpr int kFrames = asset::kJar.frames;

void jarBody(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, 38, 34);
    cairo_curve_to(cr, 38, 42, 24, 46, 24, 64);
    cairo_curve_to(cr, 24, 80, 30, 88, 50, 88);
    cairo_curve_to(cr, 70, 88, 76, 80, 76, 64);
    cairo_curve_to(cr, 76, 46, 62, 42, 62, 34);
    cairo_close_path(cr);
}

void drawJar(cairo_t* cr, double glow) {
    // Gems heaped inside, shining brighter as the beam rises.
    cairo_save(cr);
    jarBody(cr);
    cairo_clip(cr);
    // Opaque inside, so a celebration frame drawn over the resting jar of the
    // background hides it completely.
    cairo_pattern_t* inside = cairo_pattern_create_linear(0, 34, 0, 88);
    addStop(inside, 0, hex(0x141a3c));
    addStop(inside, 1, hex(0x080a1c));
    cairo_set_source(cr, inside);
    cairo_paint(cr);
    cairo_pattern_destroy(inside);
    Rng rng(404);
    for (int i = 0; i < 22; ++i) {
        const double x = rng.uniform(27, 73), y = rng.uniform(60, 88);
        const Rgb c = gemColor(1 + rng.below(9));
        cairo_pattern_t* g = cairo_pattern_create_radial(x - 1.5, y - 1.5, 0.3, x, y, 5);
        addStop(g, 0, lighter(c, 0.6 + 0.3 * glow));
        addStop(g, 1, darker(c, 0.4 - 0.3 * glow));
        cairo_arc(cr, x, y, 5, 0, 2 * M_PI);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    if (glow > 0) {
        cairo_pattern_t* g = cairo_pattern_create_radial(50, 60, 2, 50, 60, 34);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.8, 0.8 * glow);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.9, 0.5, 0);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
    }
    cairo_restore(cr);
    // Glass.
    jarBody(cr);
    cairo_pattern_t* glass = cairo_pattern_create_linear(24, 0, 76, 0);
    cairo_pattern_add_color_stop_rgba(glass, 0, 0.7, 0.85, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(glass, 0.3, 0.7, 0.85, 1, 0.08);
    cairo_pattern_add_color_stop_rgba(glass, 0.8, 0.7, 0.85, 1, 0.12);
    cairo_pattern_add_color_stop_rgba(glass, 1, 0.7, 0.85, 1, 0.4);
    cairo_set_source(cr, glass);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(glass);
    cairo_set_source_rgb(cr, 0.78, 0.88, 0.95);  // opaque, so a second jar over it changes nothing
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_move_to(cr, 31, 56);
    cairo_curve_to(cr, 28, 64, 29, 74, 33, 80);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_set_line_width(cr, 2.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    // Gold collar at the mouth.
    roundedRect(cr, 35, 29, 30, 7, 3);
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, 29, 0, 36);
    addStop(gold, 0, hex(0xfff0a0));
    addStop(gold, 0.5, hex(0xd09a30));
    addStop(gold, 1, hex(0x70480e));
    cairo_set_source(cr, gold);
    cairo_fill(cr);
    cairo_pattern_destroy(gold);
}

double beamStrength(int f) {
    if (f <= 0) return 0;
    if (f <= 5) return f / 5.0;
    if (f <= 16) return 1;
    return std::max(0.0, 1 - (f - 16) / 8.0);
}

void beam(cairo_t* cr, double k, int f) {
    if (k <= 0) return;
    cairo_save(cr);
    // Top of the beam while it shoots up; it stops short of the frame's edge
    // and fades out towards it, so nothing is cut off.
    const double reach = f <= 5 ? 32 - 28 * f / 5.0 : 4;
    const double spread = 6 + 4 * k;
    cairo_move_to(cr, 50 - 10, 32);
    cairo_line_to(cr, 50 - 10 - spread, reach);
    cairo_line_to(cr, 50 + 10 + spread, reach);
    cairo_line_to(cr, 50 + 10, 32);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 32, 0, reach);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.85, 0.85 * k);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.95, 0.6, 0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_move_to(cr, 50, 32);
    cairo_line_to(cr, 50, reach + 2);
    cairo_pattern_t* core = cairo_pattern_create_linear(0, 32, 0, reach + 2);
    cairo_pattern_add_color_stop_rgba(core, 0, 1, 1, 1, 0.8 * k);
    cairo_pattern_add_color_stop_rgba(core, 1, 1, 1, 1, 0.1 * k);
    cairo_set_source(cr, core);
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr);
    cairo_pattern_destroy(core);
    cairo_restore(cr);
}

struct Star {
    double vx, vy, size, spin;
    Rgb color;
};

void stars(cairo_t* cr, const std::vector<Star>& all, int f) {
    const int burst = 6;
    if (f < burst) return;
    const double t = f - burst;
    const double fade = f < 19 ? 1.0 : std::max(0.0, 1 - (f - 19) / 8.0);
    if (f == burst) glint(cr, 50, 14, 11, 1);
    for (const auto& s : all) {
        const double x = 50 + s.vx * t, y = 14 + s.vy * t + 0.2 * t * t;
        // A star nearing the frame's edge fades before it reaches it, so none
        // is ever cut by the 100 px square (x is 3.5 px right of the frame's).
        const double reach = s.size * 1.2 + 1.5;
        const double room = std::min({x + 3.5, kSize - 1 - (x + 3.5), y, kSize - 1 - y}) - reach;
        const double alpha = fade * std::clamp(room / 5.0, 0.0, 1.0);
        if (alpha <= 0) continue;
        setColor(cr, s.color, alpha);
        starPath(cr, x, y, 5, s.size, s.size * 0.45, s.spin * t);
        cairo_fill(cr);
        glint(cr, x, y, s.size * 1.2, 0.5 * alpha);
    }
}

}  // namespace

void paintRestingJar(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 3.5, 0);
    drawJar(cr, 0);
    cairo_restore(cr);
}

void forgeJar(const Output& out) {
    Rng rng(2718);
    std::vector<Star> all;
    for (int i = 0; i < 16; ++i) {
        static const Rgb colors[] = {hex(0xfff080), hex(0xffffff), hex(0x90e8ff), hex(0xffb0f0)};
        const double side = i % 2 ? 1.0 : -1.0;
        all.push_back({side * rng.uniform(0.3, 3.4), rng.uniform(-3.2, 0.5), rng.uniform(2.5, 4.5),
                       rng.uniform(-0.4, 0.4), colors[rng.below(4)]});
    }
    Strip strip(asset::kJar);
    for (int f = 0; f < kFrames; ++f)
        strip.frame(f, [&](cairo_t* cr) {
            // The stand is centred on the progress tube, 3.5 px right of the frame's middle.
            cairo_translate(cr, 3.5, 0);
            const double k = beamStrength(f);
            beam(cr, k, f);
            drawJar(cr, k);
            stars(cr, all, f);
        });
    strip.writePng(out.of(asset::kJar));
}

}  // namespace forge
