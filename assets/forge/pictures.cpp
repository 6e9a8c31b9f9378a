// The menu backdrop, the small logo and the dialog pictures (high scores,
// welcome, about).

#include <cmath>

#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/gem_painter.h"
#include "assets/forge/menu_style.h"
#include "assets/forge/words.h"

namespace forge {

void dialogBackdrop(cairo_t* cr, double w, double h, std::uint64_t seed,
                    const std::vector<Box>& words, bool square) {
    Rng rng(seed);
    skyGradient(cr, w, h, hex(0x0a0820), hex(0x2a2058), h);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, w, h);
    for (const Box& b : words) cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    starField(cr, rng, 0, 0, w, h, static_cast<int>(w * h / 900), 1.2);
    cairo_restore(cr);
    cairo_pattern_t* g =
        cairo_pattern_create_radial(w / 2, h / 2, 10, w / 2, h / 2, std::max(w, h) * 0.6);
    cairo_pattern_add_color_stop_rgba(g, 0, 0.03, 0.02, 0.1, 0.55);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.03, 0.02, 0.1, 0.0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    if (square) {
        goldFrame(cr, 2, 2, w - 4, h - 4, 0, 4);
        goldFrame(cr, 9, 9, w - 18, h - 18, 12, 1.5);
    } else {
        // Outside the rounded frame the picture shows the veil the game lays behind its
        // dialogs, not a lighter rectangle of sky.
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, w, h);
        roundedRect(cr, 5, 5, w - 10, h - 10, 14);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_set_source_rgb(cr, 0.012, 0.012, 0.04);
        cairo_fill(cr);
        cairo_restore(cr);
        goldFrame(cr, 5, 5, w - 10, h - 10, 14, 4);
    }
}

void controlSlot(cairo_t* cr, double x, double y, double w, double h) {
    // A soft shadow under the rounded button the game lays here, as the menu's buttons cast on
    // their panel; the card shows round the button's rounded ends.
    for (int i = 3; i >= 1; --i) {
        roundedRect(cr, x - i + 0.5, y - i + 2, w + 2 * i - 1, h + 2 * i - 1, (h + 2 * i) / 2.0);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.22);
        cairo_fill(cr);
    }
}

namespace {

void gemAt(cairo_t* cr, int kind, double x, double y, double size) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / kGemSize, size / kGemSize);
    paintGemBall(cr, kind);
    cairo_restore(cr);
}

// The logo Image5 lies over the menu backdrop at (25, 495), the crest over its greeting plate.
constexpr int kLogoX = 25, kLogoY = 495;
constexpr int kCrestX = 300, kCrestY = 42;

void menuImage(Canvas& c, const Output& out) {
    const int w = asset::kMenuBackdrop.width, h = asset::kMenuBackdrop.height;
    cairo_t* cr = c.cr();
    Rng rng(77);
    skyGradient(cr, w, h, hex(0x040618), hex(0x2c2a6a), 450);
    starField(cr, rng, 0, 0, w, 460, 380);
    moon(cr, 720, 150, 34, hex(0xfff4dc), 0);
    ridge(cr, rng, 0, w, 430, 80, 0.9, h, hex(0x242a58), 7);
    ridge(cr, rng, 0, w, 480, 45, 0.7, h, hex(0x161a3c), 9);
    // A lake catching the moon.
    cairo_pattern_t* lake = cairo_pattern_create_linear(0, 500, 0, h);
    addStop(lake, 0, hex(0x1a2458));
    addStop(lake, 1, hex(0x060818));
    cairo_rectangle(cr, 0, 500, w, h - 500);
    cairo_set_source(cr, lake);
    cairo_fill(cr);
    cairo_pattern_destroy(lake);
    for (int i = 0; i < 40; ++i) {
        const double y = 505 + rng.uniform() * 80, x = 720 + rng.uniform(-40, 40);
        cairo_set_source_rgba(cr, 1, 0.95, 0.8, rng.uniform(0.2, 0.5));
        cairo_rectangle(cr, x, y, rng.uniform(8, 22), 1.2);
        cairo_fill(cr);
    }
    ridge(cr, rng, 0, w, 560, 20, 0.5, h, hex(0x05060f), 12);
    // Gems drifting in the sky on both sides.
    const struct {
        int kind;
        double x, y, s;
    } floating[] = {{1, 60, 160, 56},  {4, 120, 300, 44}, {9, 40, 400, 38}, {2, 700, 260, 50},
                    {6, 760, 380, 40}, {5, 660, 430, 34}, {8, 150, 410, 30}};
    for (const auto& g : floating) gemAt(cr, g.kind, g.x, g.y, g.s);

    // A soft light behind the title.
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, 22);
    cairo_scale(cr, 3.2, 1);
    cairo_pattern_t* halo = cairo_pattern_create_radial(0, 0, 0, 0, 0, 40);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1, 0.85, 0.45, 0.35);
    cairo_pattern_add_color_stop_rgba(halo, 1, 1, 0.85, 0.45, 0);
    cairo_arc(cr, 0, 0, 40, 0, 2 * M_PI);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    cairo_restore(cr);
    goldText(cr, {38, true, true}, "Lumcrest", w / 2.0, 36, Align::Center);
    glint(cr, w / 2.0 + 98, 10, 9, 0.9);
    // Dark band for the greeting and the link under it.
    roundedRect(cr, 300, 42, 260, 60, 12);
    cairo_set_source_rgba(cr, 0.02, 0.02, 0.06, 0.82);
    cairo_fill(cr);
    roundedRect(cr, 300.5, 42.5, 259, 59, 12);
    setColor(cr, hex(0xd7a23a), 0.6);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // The round frame behind the buttons: one flat colour inside.
    roundedRect(cr, 203, 120, 412, 402, 46);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
    cairo_set_line_width(cr, 10);
    cairo_stroke(cr);
    roundedRect(cr, 203, 120, 412, 402, 46);
    setColor(cr, kMenuPanel);
    cairo_fill(cr);
    goldFrame(cr, 203, 120, 412, 402, 46, 4);
    c.writeJpeg(out.of(asset::kMenuBackdrop));
}

// The link to the game's web page at the menu's foot: the title above already names the game, so
// no second badge: a gem in a gold ring with a glint, on the very pixels of the menu backdrop.
void logo(const Canvas& menu, const Output& out) {
    Canvas c(asset::kLogo.width, asset::kLogo.height, true);
    cairo_t* cr = c.cr();
    cairo_set_source_surface(cr, menu.surface(), -kLogoX, -kLogoY);
    cairo_paint(cr);
    const double cx = 34, cy = 40;
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, 4, cx, cy, 34);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1, 0.8, 0.4, 0.3);
    cairo_pattern_add_color_stop_rgba(halo, 1, 1, 0.8, 0.4, 0);
    cairo_arc(cr, cx, cy, 34, 0, 2 * M_PI);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    goldFrame(cr, cx - 21, cy - 21, 42, 42, 21, 2.5);
    gemAt(cr, 3, cx - 18, cy - 18, 36);  // cyan, bright on the night backdrop
    glint(cr, cx + 13, cy - 15, 7, 0.9);
    c.writeJpeg(out.of(asset::kLogo));
}

// One laurel branch of the crest, from its stem at (X, Y) outward in direction DIR (+1 right).
void laurel(cairo_t* cr, double x, double y, double dir) {
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, y - 14, 0, y + 14);
    addStop(gold, 0, hex(0xfff0b0));
    addStop(gold, 0.5, hex(0xe2b04a));
    addStop(gold, 1, hex(0x9a6518));
    cairo_set_source(cr, gold);
    cairo_move_to(cr, x, y + 6);
    cairo_curve_to(cr, x + dir * 30, y + 14, x + dir * 62, y + 6, x + dir * 86, y - 8);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int i = 0; i < 6; ++i) {
        const double t = (i + 0.6) / 6.5;
        const double lx = x + dir * 86 * t, ly = y + 6 + 8 * std::sin(t * M_PI) - 14 * t * t;
        for (int side = -1; side <= 1; side += 2) {
            cairo_save(cr);
            cairo_translate(cr, lx, ly);
            cairo_rotate(cr, dir * (-0.5 - 0.25 * t) + side * 0.75);
            cairo_scale(cr, 6.5 - 2.5 * t, 2.4 - 0.6 * t);
            cairo_arc(cr, dir * 0.9, 0, 1, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_fill(cr);
        }
    }
    cairo_pattern_destroy(gold);
}

// The crest stands on the very pixels of the greeting plate under it: a gem in a gold ring
// between two laurel branches, a smaller gem of the game at each end.
void crest(const Canvas& menu, const Output& out) {
    const int w = asset::kCrest.width, h = asset::kCrest.height;
    Canvas c(w, h, true);
    cairo_t* cr = c.cr();
    cairo_set_source_surface(cr, menu.surface(), -kCrestX, -kCrestY);
    cairo_paint(cr);
    const double cx = w / 2.0, cy = h / 2.0;
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, 4, cx, cy, 70);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1, 0.8, 0.4, 0.28);
    cairo_pattern_add_color_stop_rgba(halo, 1, 1, 0.8, 0.4, 0);
    roundedRect(cr, 2, 2, w - 4, h - 4, 11);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    laurel(cr, cx - 22, cy, -1);
    laurel(cr, cx + 22, cy, 1);
    gemAt(cr, 2, cx - 122, cy - 10, 20);
    gemAt(cr, 4, cx + 102, cy - 10, 20);
    goldFrame(cr, cx - 23, cy - 23, 46, 46, 23, 2.5);
    gemAt(cr, 1, cx - 20, cy - 20, 40);
    glint(cr, cx + 14, cy - 16, 7, 0.9);
    c.writePng(out.of(asset::kCrest));
}

void highScores(const Output& out) {
    const int w = asset::kScoresPanel.width, h = asset::kScoresPanel.height;
    Canvas c(w, h, true);
    cairo_t* cr = c.cr();
    dialogBackdrop(cr, w, h, 12, {{40, 24, 303, 46}, {60, 84, 282, 350}});
    // The title stays between the two gems.
    const std::string title = tr("High Scores");
    goldText(cr, fitFont(cr, {32, true, false}, title, w - 2 * 58.0, "Image2 title"), title,
             w / 2.0, 58, Align::Center);
    gemAt(cr, 5, 22, 30, 30);
    gemAt(cr, 5, w - 52, 30, 30);
    for (int i = 0; i < 10; ++i) {
        const double top = 89 + 35 * i;
        roundedRect(cr, 60, top - 5, 282, 28, 6);
        cairo_set_source_rgba(cr, 0, 0, 0, i % 2 ? 0.35 : 0.55);
        cairo_fill(cr);
        // The three best lines carry a gold, silver and bronze edge.
        static const Rgb medals[3] = {hex(0xffd35a), hex(0xd8dce8), hex(0xd08a4a)};
        if (i < 3) {
            roundedRect(cr, 60.5, top - 4.5, 281, 27, 6);
            setColor(cr, medals[i], 0.7);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        }
    }
    controlSlot(cr, 155, 457, 78, 28);
    c.writeJpeg(out.of(asset::kScoresPanel));
}

void welcome(const Output& out) {
    const int w = asset::kNamePanel.width, h = asset::kNamePanel.height;
    Canvas c(w, h, true);
    cairo_t* cr = c.cr();
    dialogBackdrop(cr, w, h, 13, {{30, 26, 392, 46}, {40, 160, 372, 34}, {40, 254, 372, 44}});
    const std::string title = tr("Welcome to Lumcrest");
    goldText(cr, fitFont(cr, {30, true, true}, title, w - 40.0, "Image3 title"), title, w / 2.0, 62,
             Align::Center);
    for (int i = 0; i < 5; ++i) gemAt(cr, 1 + i * 2, 126 + i * 42, 86, 34);
    const std::string ask = tr("Please enter your name");
    drawText(cr, fitFont(cr, {20, true, false}, ask, w - 40.0, "Image3 ask"), ask, w / 2.0, 186,
             Align::Center, hex(0xf4ecd8), 0, {}, 1.5);
    // The edit box: gold rim outside, pure black inside.
    goldFrame(cr, 142, 204, 185, 32, 4, 2.5);
    cairo_rectangle(cr, 146, 208, 177, 24);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
    for (const auto& [english, y] : {std::pair{N_("Your name goes beside your best scores."), 270},
                                     std::pair{N_("Type it, then press Enter or Ok."), 290}}) {
        const std::string line = tr(english);
        drawText(cr, fitFont(cr, {13, false, true}, line, w - 40.0, "Image3 hint"), line, w / 2.0,
                 y, Align::Center, hex(0xc8c0e8));
    }
    controlSlot(cr, 187, 319, 78, 25);
    c.writeJpeg(out.of(asset::kNamePanel));
}

void about(const Output& out) {
    const int w = asset::kAboutPicture.width, h = asset::kAboutPicture.height;
    Canvas c(w, h, true);
    cairo_t* cr = c.cr();
    dialogBackdrop(cr, w, h, 14, {{60, 18, 427, 82}, {60, 112, 460, 236}, {190, 348, 167, 40}});
    goldText(cr, {40, true, true}, "Lumcrest", w / 2.0, 64, Align::Center);
    gemAt(cr, 4, 110, 28, 44);
    gemAt(cr, 2, w - 154, 28, 44);
    const std::string tagline = tr("A night-sky puzzle of glowing gems");
    drawText(cr, fitFont(cr, {15, false, true}, tagline, w - 40.0, "About tagline"), tagline,
             w / 2.0, 92, Align::Center, hex(0xd8d0ff));

    const Font head{19, true, false};
    const Font body{15, false, false};
    const Font key{15, true, false};
    const double right = w - 10.0;  // inside the gilded frame
    const std::string controlsHead = tr("Controls");
    goldText(cr, fitFont(cr, head, controlsHead, right - 70, "About head"), controlsHead, 70, 136,
             Align::Left);
    const struct {
        const char* what;
        const char* keys;
    } controls[] = {{N_("Left"), N_("Left Arrow or keypad 4")},
                    {N_("Right"), N_("Right Arrow or keypad 6")},
                    {N_("Rotate"), N_("Down Arrow or keypad 5")},
                    {N_("Launch"), N_("Up Arrow or Space bar: the bar flies upward")}};
    double y = 164;
    for (const auto& ctl : controls) {
        const std::string what = tr(ctl.what), keys = tr(ctl.keys);
        drawText(cr, fitFont(cr, key, what, 96, "About key"), what, 90, y, Align::Left,
                 hex(0xfff07a), 0, {}, 1);
        drawText(cr, fitFont(cr, body, keys, right - 190, "About keys"), keys, 190, y, Align::Left,
                 hex(0xf4ecd8), 0, {}, 1);
        y += 24;
    }
    const std::string creditsHead = tr("Credits");
    goldText(cr, fitFont(cr, head, creditsHead, right - 70, "About head"), creditsHead, 70, 286,
             Align::Left);
    const std::string credits = tr("Design, code, art, sounds and music: the Lumcrest team");
    drawText(cr, fitFont(cr, body, credits, right - 90, "About credits"), credits, 90, 312,
             Align::Left, hex(0xf4ecd8), 0, {}, 1);
    const std::string instruments = tr("Music played on the Fluid R3 General MIDI instruments");
    drawText(cr, fitFont(cr, body, instruments, right - 90, "About credits"), instruments, 90, 334,
             Align::Left, hex(0xc8c0e8), 0, {}, 1);
    const std::string version = tr("Version 1.0");
    drawText(cr, fitFont(cr, {13, false, false}, version, w - 40.0, "About version"), version,
             w / 2.0, 360, Align::Center, hex(0xa8a0c8));
    for (int i = 0; i < 9; ++i) gemAt(cr, 1 + i, 146 + i * 28, 400, 24);
    controlSlot(cr, 240, 448, 81, 28);
    c.writeJpeg(out.of(asset::kAboutPicture));
}

}  // namespace

void forgePictures(const Output& out) {
    // The backdrop and the logo carry only the game's name, which no language changes.
    if (out.lang.empty()) {
        Canvas menu(asset::kMenuBackdrop.width, asset::kMenuBackdrop.height, true);
        menuImage(menu, out);
        logo(menu, out);
        crest(menu, out);
    }
    highScores(out);
    welcome(out);
    about(out);
}

}  // namespace forge
