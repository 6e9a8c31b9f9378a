// The six play-screen backgrounds: a night scene each, with the well, the
// progress tube, the jar's stand and the plaques at the places the game
// draws into. jarbacks.png keeps the jar corner of each for redrawing.

#include <cmath>
#include <memory>
#include <vector>

#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/gem_painter.h"

namespace forge {

namespace {

constexpr int kW = asset::kBackgrounds.width, kH = asset::kBackgrounds.height;

struct Theme {
    Rgb skyTop, skyHorizon;
    Rgb far, mid, near;       // landscape layers, back to front
    Rgb well;                 // tint of the well and plaques
    Rgb glow;                 // accent light
    double wellAlpha = 0.92;  // how much of the night the well's glass hides
};

// Each stage has a palette of its own, and the well (half the screen) takes
// its tint from it: royal blue, sea green, moss, rose, ice blue under a green
// aurora over a snowfield, and amber, each a step apart from every other. The
// tints stay dark enough for every gem kind to stand out against them, the bomb
// included.
const Theme kThemes[6] = {
    {hex(0x040a3a), hex(0x3050b8), hex(0x27357e), hex(0x18225a), hex(0x0b1030), hex(0x0c1274),
     hex(0xb8d4ff)},
    {hex(0x011c20), hex(0x2aa8a4), hex(0x0e5a58), hex(0x0a4440), hex(0x04262a), hex(0x00482c),
     hex(0xc6f8ff)},
    {hex(0x021808), hex(0x3a8a3a), hex(0x1a5a26), hex(0x0e3c18), hex(0x05200c), hex(0x121606),
     hex(0xd0ffc0), 0.85},
    {hex(0x1a0410), hex(0xe05088), hex(0x7a2440), hex(0x5a1830), hex(0x300a18), hex(0x4a0420),
     hex(0xffd0d0)},
    {hex(0x010408), hex(0x0c2a24), hex(0x34465a), hex(0xa8b8c8), hex(0xe4ecf4), hex(0x004462),
     hex(0xb0ffd8)},
    {hex(0x1c0802), hex(0xc0601a), hex(0x6a3010), hex(0x40200a), hex(0x200e04), hex(0x0a0a2a),
     hex(0xffe0a0), 0.88},
};

// --- scenes ---

void mountains(cairo_t* cr, const Theme& t, Rng& rng) {
    moon(cr, 748, 360, 30, hex(0xf4f0d8), 0);
    ridge(cr, rng, 0, kW, 400, 90, 0.9, kH, t.far, 7);
    // Snow caps catch the moonlight on the far range.
    ridge(cr, rng, 0, kW, 470, 60, 0.8, kH, t.mid, 9);
    ridge(cr, rng, 0, kW, 540, 30, 0.6, kH, t.near, 12);
}

void sea(cairo_t* cr, const Theme& t, Rng& rng) {
    const double horizon = 450;
    moon(cr, 745, 355, 28, hex(0xfff6d8), 0.55);
    ridge(cr, rng, 0, kW, horizon - 10, 25, 0.7, horizon + 1, t.far, 6);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, horizon, 0, kH);
    addStop(g, 0, t.mid);
    addStop(g, 1, darker(t.near, 0.3));
    cairo_rectangle(cr, 0, horizon, kW, kH - horizon);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Moonlight on the waves.
    for (int i = 0; i < 70; ++i) {
        const double y = horizon + 4 + std::pow(rng.uniform(), 1.5) * (kH - horizon - 4);
        const double spread = 10 + (y - horizon) * 0.5;
        const double x = 745 + rng.uniform(-spread, spread);
        const double w = rng.uniform(6, 18) * (0.5 + (y - horizon) / 150);
        setColor(cr, t.glow, rng.uniform(0.2, 0.6));
        cairo_rectangle(cr, x - w / 2, y, w, 1.2);
        cairo_fill(cr);
    }
}

void pineTree(cairo_t* cr, double x, double base, double h, Rgb c) {
    const double w = h * 0.38;
    cairo_new_path(cr);
    for (int tier = 0; tier < 4; ++tier) {
        const double top = base - h + tier * h * 0.2;
        const double bottom = top + h * 0.42;
        const double half = w * (0.45 + tier * 0.18);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + half, bottom);
        cairo_line_to(cr, x - half, bottom);
        cairo_close_path(cr);
    }
    cairo_rectangle(cr, x - h * 0.03, base - h * 0.2, h * 0.06, h * 0.2);
    setColor(cr, c);
    cairo_fill(cr);
}

void forest(cairo_t* cr, const Theme& t, Rng& rng) {
    moon(cr, 752, 352, 24, hex(0xe8ffe8), 0.35);
    ridge(cr, rng, 0, kW, 430, 50, 0.7, kH, t.far, 6);
    const Rgb layers[3] = {t.far, t.mid, t.near};
    for (int layer = 0; layer < 3; ++layer) {
        const double base = 480 + layer * 45;
        const int count = 26 + layer * 6;
        for (int i = 0; i < count; ++i) {
            const double x = rng.uniform(-20, kW + 20);
            pineTree(cr, x, base + rng.uniform(0, 25), rng.uniform(70, 130) * (0.8 + layer * 0.25),
                     layer == 0 ? lighter(t.far, 0.05) : layers[layer]);
        }
        cairo_rectangle(cr, 0, base + 20, kW, kH);
        setColor(cr, layers[layer]);
        cairo_fill(cr);
    }
    // The forest's edge where the panels leave the night open: a hill of tall pines between
    // the SCORE and level panels, standing against the moon, and pines along the bottom edge.
    ridge(cr, rng, 600, kW, 404, 14, 0.5, kH, t.mid, 5);
    for (int i = 0; i < 16; ++i) {
        const double x = 606 + i * 16 + rng.uniform(-5, 5);
        pineTree(cr, x, 420 + rng.uniform(0, 6), rng.uniform(48, 96), i % 2 ? t.near : t.mid);
    }
    for (int i = 0; i < 40; ++i) {
        const double x = rng.uniform(-10, 640);
        pineTree(cr, x, kH + 4, rng.uniform(50, 80), darker(t.near, 0.2));
    }
}

void dunes(cairo_t* cr, const Theme& t, Rng& rng) {
    // A ringed planet low in the sky.
    const double px = 742, py = 355, pr = 34;
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 1, 0.28);
    cairo_arc(cr, 0, 0, pr * 1.9, M_PI, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 0.85, 0.6, 0.55);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(px - 10, py - 12, 4, px, py, pr);
    addStop(g, 0, hex(0xffe2b0));
    addStop(g, 1, hex(0xb0506a));
    cairo_arc(cr, px, py, pr, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 1, 0.28);
    cairo_arc(cr, 0, 0, pr * 1.9, 0, M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 0.88, 0.65, 0.85);
    cairo_stroke(cr);
    // Smooth dunes.
    const Rgb layers[3] = {t.far, t.mid, t.near};
    for (int layer = 0; layer < 3; ++layer) {
        const double base = 440 + layer * 50;
        const double phase = rng.uniform(0, 6), freq = rng.uniform(0.006, 0.012);
        cairo_new_path(cr);
        cairo_move_to(cr, 0, kH);
        for (int x = 0; x <= kW; x += 5)
            cairo_line_to(cr, x,
                          base - 22 * std::sin(x * freq + phase) - 10 * std::sin(x * freq * 2.7));
        cairo_line_to(cr, kW, kH);
        cairo_close_path(cr);
        setColor(cr, layers[layer]);
        cairo_fill(cr);
    }
}

void aurora(cairo_t* cr, const Theme& t, Rng& rng) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    for (int band = 0; band < 3; ++band) {
        const double y0 = 110 + band * 70, amp = rng.uniform(25, 45),
                     freq = rng.uniform(0.008, 0.015);
        const double phase = rng.uniform(0, 6);
        const Rgb c = band == 1 ? hex(0x20a0b0) : hex(0x30e080);
        for (int x = 0; x < kW; x += 2) {
            const double top = y0 + amp * std::sin(x * freq + phase);
            const double len = 60 + 30 * std::sin(x * 0.03 + band);
            cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, top + len);
            addStop(g, 0, c, 0);
            addStop(g, 0.7, c, 0.3);
            addStop(g, 1, c, 0);
            cairo_rectangle(cr, x, top, 2, len);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
    }
    cairo_restore(cr);
    moon(cr, 750, 352, 18, hex(0xffffff), 0);
    ridge(cr, rng, 0, kW, 450, 60, 0.8, kH, t.far, 7);
    ridge(cr, rng, 0, kW, 500, 35, 0.6, kH, t.mid, 9);
    ridge(cr, rng, 0, kW, 550, 18, 0.5, kH, t.near, 11);
}

void castle(cairo_t* cr, const Theme& t, Rng& rng) {
    moon(cr, 792, 176, 20, hex(0xffe4d0), 0.2);
    ridge(cr, rng, 0, kW, 470, 50, 0.8, kH, t.far, 7);
    // A cliff on the right carrying the castle.
    cairo_new_path(cr);
    cairo_move_to(cr, 600, kH);
    cairo_line_to(cr, 615, 470);
    cairo_line_to(cr, 645, 412);
    cairo_line_to(cr, 850, 404);
    cairo_line_to(cr, 850, kH);
    cairo_close_path(cr);
    setColor(cr, t.mid);
    cairo_fill(cr);
    struct Tower {
        double x, w, h;
    };
    const Tower towers[] = {
        {660, 16, 44}, {698, 22, 70}, {742, 14, 36}, {776, 20, 60}, {814, 16, 42}};
    const double base = 410;
    setColor(cr, t.near);
    cairo_rectangle(cr, 652, base - 34, 176, 34);
    cairo_fill(cr);
    for (int m = 0; m < 22; ++m) {  // battlements
        cairo_rectangle(cr, 652 + m * 8, base - 40, 5, 6);
        cairo_fill(cr);
    }
    for (const auto& tw : towers) {
        const double top = base - tw.h;
        setColor(cr, t.near);
        cairo_rectangle(cr, tw.x - tw.w / 2, top, tw.w, tw.h);
        cairo_fill(cr);
        cairo_move_to(cr, tw.x - tw.w / 2 - 4, top);
        cairo_line_to(cr, tw.x, top - tw.w * 1.1);
        cairo_line_to(cr, tw.x + tw.w / 2 + 4, top);
        cairo_close_path(cr);
        cairo_fill(cr);
        for (int wdw = 0; wdw < 3; ++wdw) {
            if (!rng.chance(0.7)) continue;
            cairo_set_source_rgba(cr, 1, 0.8, 0.35, 0.9);
            cairo_rectangle(cr, tw.x - 2, top + 10 + wdw * 15, 4, 7);
            cairo_fill(cr);
        }
    }
    ridge(cr, rng, 0, 620, 560, 25, 0.5, kH, t.near, 8);
}

// A band of faint star clouds across the sky, tinted by the scene, with its
// own crowd of small stars.
void milkyWay(cairo_t* cr, const Theme& t, Rng& rng, double angle) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    const double cx = kW / 2.0, cy = 200, dx = std::cos(angle), dy = std::sin(angle);
    for (int i = 0; i < 26; ++i) {
        const double along = rng.uniform(-520, 520), across = rng.uniform(-40, 40);
        const double x = cx + along * dx - across * dy, y = cy + along * dy + across * dx;
        const double r = rng.uniform(40, 110);
        const Rgb c = mix(t.glow, t.skyHorizon, rng.uniform(0, 0.7));
        cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, r);
        addStop(g, 0, c, 0.07);
        addStop(g, 1, c, 0);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    cairo_restore(cr);
    for (int i = 0; i < 260; ++i) {
        const double along = rng.uniform(-520, 520),
                     across = rng.uniform(-1, 1) * rng.uniform(0, 60);
        const double x = cx + along * dx - across * dy, y = cy + along * dy + across * dx;
        cairo_set_source_rgba(cr, 1, 1, 1, rng.uniform(0.15, 0.6));
        cairo_arc(cr, x, y, rng.uniform(0.3, 0.8), 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// Glowing crystals growing out of the ground, in the colours of the gems.
void crystals(cairo_t* cr, Rng& rng, double x0, double x1, double ground, int count) {
    for (int i = 0; i < count; ++i) {
        const double x = rng.uniform(x0, x1), h = rng.uniform(14, 38),
                     w = h * rng.uniform(0.22, 0.32);
        const double lean = rng.uniform(-0.35, 0.35);
        const Rgb c = gemColor(1 + rng.below(9));
        cairo_save(cr);
        cairo_translate(cr, x, ground + rng.uniform(0, 8));
        cairo_rotate(cr, lean);
        cairo_pattern_t* halo = cairo_pattern_create_radial(0, -h * 0.5, 0, 0, -h * 0.5, h);
        addStop(halo, 0, c, 0.35);
        addStop(halo, 1, c, 0);
        cairo_arc(cr, 0, -h * 0.5, h, 0, 2 * M_PI);
        cairo_set_source(cr, halo);
        cairo_fill(cr);
        cairo_pattern_destroy(halo);
        cairo_move_to(cr, -w / 2, 0);
        cairo_line_to(cr, -w / 2, -h * 0.75);
        cairo_line_to(cr, 0, -h);
        cairo_line_to(cr, w / 2, -h * 0.75);
        cairo_line_to(cr, w / 2, 0);
        cairo_close_path(cr);
        cairo_pattern_t* face = cairo_pattern_create_linear(-w / 2, 0, w / 2, 0);
        addStop(face, 0, lighter(c, 0.55));
        addStop(face, 0.5, c);
        addStop(face, 1, darker(c, 0.45));
        cairo_set_source(cr, face);
        cairo_fill(cr);
        cairo_pattern_destroy(face);
        cairo_move_to(cr, 0, -h);
        cairo_line_to(cr, 0, 0);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

void scene(cairo_t* cr, int b, Rng& rng) {
    const Theme& t = kThemes[b];
    skyGradient(cr, kW, kH, t.skyTop, t.skyHorizon, 470);
    milkyWay(cr, t, rng, -0.5 + 0.22 * b);
    starField(cr, rng, 0, 0, kW, 470, 320);
    switch (b) {
        case 0: mountains(cr, t, rng); break;
        case 1: sea(cr, t, rng); break;
        case 2: forest(cr, t, rng); break;
        case 3: dunes(cr, t, rng); break;
        case 4: aurora(cr, t, rng); break;
        default: castle(cr, t, rng); break;
    }
    // Crystals at the feet of the well and beside the MENU plinth.
    if (b != 1) {
        crystals(cr, rng, 4, 92, 580, 7);
        crystals(cr, rng, 606, 630, 585, 3);
    }
}

// --- the playing furniture ---

void well(cairo_t* cr, const Theme& t) {
    cairo_save(cr);
    roundedRect(cr, 92, 30, 512, 508, 16);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill(cr);
    // Dark glass: the night scene still shows faintly through the well.
    roundedRect(cr, 98, 30, 500, 500, 12);
    setColor(cr, t.well, t.wellAlpha);
    cairo_fill(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 40, 0, 520);
    addStop(g, 0, t.glow, 0.0);
    addStop(g, 1, t.glow, 0.07);
    cairo_rectangle(cr, 108, 40, 480, 480);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // One round socket per cell, sunk into the glass: darker in the middle,
    // lit on its lower lip, so the grid reads even when the well is empty; soft,
    // so that a hundred of them make no busy pattern round the gems.
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r) {
            const double x = 60 + 48 * c + 24, y = 520 - 48 * r + 24;
            cairo_pattern_t* cell = cairo_pattern_create_radial(x, y - 4, 2, x, y, 20);
            addStop(cell, 0, darker(t.well, 0.75), 1.0);
            addStop(cell, 0.75, darker(t.well, 0.45), 1.0);
            addStop(cell, 1, lighter(t.well, 0.1), 1.0);
            cairo_arc(cr, x, y, 19.5, 0, 2 * M_PI);
            cairo_set_source(cr, cell);
            cairo_fill(cr);
            cairo_pattern_destroy(cell);
            cairo_arc(cr, x, y, 19.5, 0.15 * M_PI, 0.85 * M_PI);
            setColor(cr, t.glow, 0.18);
            cairo_set_line_width(cr, 1.4);
            cairo_stroke(cr);
            cairo_arc(cr, x, y, 19.5, 1.15 * M_PI, 1.85 * M_PI);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
            cairo_set_line_width(cr, 1.4);
            cairo_stroke(cr);
            // A faint star in each socket's heart.
            cairo_arc(cr, x, y, 1.3, 0, 2 * M_PI);
            setColor(cr, t.glow, 0.15);
            cairo_fill(cr);
        }
    goldFrame(cr, 98, 30, 500, 500, 12, 4);
    cairo_rectangle(cr, 106.5, 38.5, 483, 483);
    setColor(cr, hex(0xc9a048), 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Corner studs on the frame.
    for (const auto& [sx, sy] :
         {std::pair{101.0, 33.0}, {595.0, 33.0}, {101.0, 527.0}, {595.0, 527.0}}) {
        cairo_pattern_t* stud = cairo_pattern_create_radial(sx - 1.5, sy - 1.5, 0.5, sx, sy, 6);
        addStop(stud, 0, hex(0xfffbe0));
        addStop(stud, 0.5, hex(0xe0a840));
        addStop(stud, 1, hex(0x6a4410));
        cairo_arc(cr, sx, sy, 6, 0, 2 * M_PI);
        cairo_set_source(cr, stud);
        cairo_fill(cr);
        cairo_pattern_destroy(stud);
    }
    cairo_restore(cr);
}

// The tube's centre line; the jar stands on its top.
constexpr double kTubeX = 53.5;

void tube(cairo_t* cr, const Theme& t) {
    cairo_save(cr);
    // A warm glow round the glass, the light of the jar above it.
    for (int i = 4; i >= 1; --i) {
        roundedRect(cr, 40 - i * 1.5, 92 - i * 1.5, 28 + i * 3, 384 + i * 3, 12 + i * 1.5);
        cairo_set_source_rgba(cr, 1, 0.78, 0.35, 0.045);
        cairo_fill(cr);
    }
    // Glass body.
    roundedRect(cr, 40, 92, 28, 384, 12);
    cairo_pattern_t* glass = cairo_pattern_create_linear(40, 0, 68, 0);
    addStop(glass, 0, t.glow, 0.35);
    addStop(glass, 0.3, t.glow, 0.1);
    addStop(glass, 0.8, t.glow, 0.05);
    addStop(glass, 1, t.glow, 0.3);
    cairo_set_source(cr, glass);
    cairo_fill(cr);
    cairo_pattern_destroy(glass);
    // The channel the fill bar rises in.
    cairo_rectangle(cr, 47, 98, 14, 368);
    cairo_set_source_rgb(cr, 0.02, 0.025, 0.06);
    cairo_fill(cr);
    for (int i = 1; i < 10; ++i) {
        const double y = 465 - i * 36.7;
        cairo_move_to(cr, 62, y);
        cairo_line_to(cr, 66, y);
    }
    setColor(cr, hex(0xe0c070), 0.7);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    roundedRect(cr, 40, 92, 28, 384, 12);
    setColor(cr, hex(0xe8c070), 0.65);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // The glass's bright edge on the right, as on the jar.
    cairo_move_to(cr, 64.5, 106);
    cairo_line_to(cr, 64.5, 458);
    cairo_set_source_rgba(cr, 1, 0.95, 0.8, 0.22);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_move_to(cr, 43.5, 104);
    cairo_line_to(cr, 43.5, 460);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Gold foot.
    roundedRect(cr, 34, 470, 40, 13, 4);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 470, 0, 483);
    addStop(g, 0, hex(0xfff0a0));
    addStop(g, 0.5, hex(0xc08a28));
    addStop(g, 1, hex(0x6a4410));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

// The jar's stand crowns the tube: what fills the tube pours into the jar.
void jarStand(cairo_t* cr, const Theme& t) {
    cairo_save(cr);
    cairo_pattern_t* halo = cairo_pattern_create_radial(kTubeX, 58, 5, kTubeX, 58, 46);
    addStop(halo, 0, t.glow, 0.28);
    addStop(halo, 1, t.glow, 0);
    cairo_arc(cr, kTubeX, 58, 46, 0, 2 * M_PI);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    // Collar joining the stand to the glass.
    cairo_move_to(cr, kTubeX - 22, 90);
    cairo_line_to(cr, kTubeX + 22, 90);
    cairo_line_to(cr, kTubeX + 15, 98);
    cairo_line_to(cr, kTubeX - 15, 98);
    cairo_close_path(cr);
    cairo_pattern_t* collar = cairo_pattern_create_linear(kTubeX - 22, 0, kTubeX + 22, 0);
    addStop(collar, 0, hex(0x6a4410));
    addStop(collar, 0.35, hex(0xffe890));
    addStop(collar, 1, hex(0x6a4410));
    cairo_set_source(cr, collar);
    cairo_fill(cr);
    cairo_pattern_destroy(collar);
    // The round top the jar stands on.
    cairo_save(cr);
    cairo_translate(cr, kTubeX, 89);
    cairo_scale(cr, 32, 5.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* top = cairo_pattern_create_linear(kTubeX - 32, 0, kTubeX + 32, 0);
    addStop(top, 0, hex(0x8a6018));
    addStop(top, 0.35, hex(0xfff0a0));
    addStop(top, 1, hex(0x8a6018));
    cairo_set_source(cr, top);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(top);
    cairo_set_source_rgba(cr, 0.25, 0.13, 0.02, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A slot for a white caption: smooth dark glass, no edges where the text goes.
void captionSlot(cairo_t* cr, double x, double y, double w, double h) {
    roundedRect(cr, x, y, w, h, 8);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(g, 0, 0, 0, 0.02, 0.7);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.02, 0.02, 0.08, 0.5);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// The right-hand panels stand in one column of one width, each around the
// things the game draws or writes at fixed places: the preview gems at
// x 657..801, the score at 680, the level words at 680 and 760, the MENU
// button at 664..799.
constexpr double kColumnX = 640, kColumnW = 196;

void rightPanel(cairo_t* cr, const Theme& t) {
    const Font label{17, true, false};
    // Next gems.
    plaque(cr, kColumnX, 40, kColumnW, 102, 12, t.well);
    goldText(cr, label, "NEXT", kColumnX + kColumnW / 2, 65, Align::Center);
    roundedRect(cr, 651, 75, 156, 58, 8);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_fill(cr);
    // Score: the title sits above the caption's place, never behind it.
    plaque(cr, kColumnX, 204, kColumnW, 102, 12, t.well);
    goldText(cr, label, "SCORE", kColumnX + kColumnW / 2, 232, Align::Center);
    captionSlot(cr, kColumnX + 8, 246, kColumnW - 16, 50);
    // Level: the game writes both the word and the number.
    plaque(cr, kColumnX, 418, kColumnW, 62, 12, t.well);
    captionSlot(cr, kColumnX + 5, 426, kColumnW - 10, 46);
}

// The MENU button is drawn over this corner: a plinth of smooth stone holds it,
// in the panels' column, ending well above the window's bottom edge.
void menuPlinth(cairo_t* cr, const Theme& t) {
    cairo_save(cr);
    cairo_pattern_t* shadow = cairo_pattern_create_radial(736, 560, 20, 736, 560, 110);
    cairo_pattern_add_color_stop_rgba(shadow, 0, 0, 0, 0, 0.5);
    cairo_pattern_add_color_stop_rgba(shadow, 1, 0, 0, 0, 0);
    cairo_rectangle(cr, 620, 480, 230, 109);
    cairo_set_source(cr, shadow);
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);
    // The stone ends 8 px above the window's edge; only under the button,
    // which hides it, does it reach down, smooth, so no edge shows there.
    constexpr double top = 521, bottom = 580;
    cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, kH);
    addStop(g, 0, lighter(t.well, 0.1));
    addStop(g, 1, darker(t.well, 0.6));
    roundedRect(cr, kColumnX, top, kColumnW, bottom - top, 12);
    cairo_rectangle(cr, 662, 560, 139, kH - 560);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, kW, kH);
    cairo_rectangle(cr, 662, 560, 139, kH - 560);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    goldFrame(cr, kColumnX, top, kColumnW, bottom - top, 12, 2.5);
    cairo_restore(cr);
    cairo_restore(cr);
}

void paintBackground(Canvas& c, int b) {
    cairo_t* cr = c.cr();
    Rng rng(500 + static_cast<std::uint64_t>(b));
    scene(cr, b, rng);
    const Theme& t = kThemes[b];
    well(cr, t);
    tube(cr, t);
    jarStand(cr, t);
    paintRestingJar(cr);
    rightPanel(cr, t);
    menuPlinth(cr, t);
}

}  // namespace

void forgeBackgrounds(const Output& out) {
    Strip jarbacks(asset::kJarGrounds);
    for (int b = 0; b < 6; ++b) {
        Canvas bg(kW, kH, true);
        paintBackground(bg, b);
        bg.writePng(out.of(asset::kBackgrounds, b));
        jarbacks.frame(b, [&](cairo_t* cr) {
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_set_source_surface(cr, bg.surface(), 0, 0);
            cairo_paint(cr);
        });
    }
    jarbacks.writePng(out.of(asset::kJarGrounds));
}

}  // namespace forge
