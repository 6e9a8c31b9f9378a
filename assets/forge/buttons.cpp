// The menu's button bitmaps (opaque BMPs, one per state), the colour-keyed
// Back button and the in-game MENU button list.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/menu_style.h"
#include "assets/forge/words.h"

namespace forge {

void buttonFace(cairo_t* cr, double w, double h, ButtonState state, std::string_view label,
                double fontSize, double maxTextWidth, double textCentre) {
    struct Look {
        Rgb top, bottom, rim, text;
        double rimAlpha;
    };
    Look look{hex(0x3c3478), hex(0x17133c), hex(0xd7a23a), hex(0xf4ead0), 1};
    switch (state) {
        case ButtonState::Dimmed:
            // The same pill, its light lowered: at rest, with nothing to go back to.
            look = {hex(0x2c2758), hex(0x120f30), hex(0xa8823a), hex(0xb4acc8), 0.85};
            break;
        case ButtonState::Rest:
            look = {hex(0x3c3478), hex(0x17133c), hex(0xd7a23a), hex(0xf4ead0), 1};
            break;
        case ButtonState::Hover:
            look = {hex(0x6356c8), hex(0x2a2278), hex(0xffe080), hex(0xfff070), 1};
            break;
        case ButtonState::Pressed:
            look = {hex(0x120f34), hex(0x302a6a), hex(0xa87820), hex(0xe8d890), 1};
            break;
    }
    const double inset = 3, r = (h - 2 * inset) / 2;
    cairo_save(cr);
    if (state == ButtonState::Hover) {  // soft halo
        roundedRect(cr, 1, 1, w - 2, h - 2, r + 2);
        cairo_set_source_rgba(cr, 1, 0.85, 0.4, 0.25);
        cairo_fill(cr);
    }
    roundedRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, r);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, inset, 0, h - inset);
    addStop(g, 0, look.top);
    addStop(g, 1, look.bottom);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    setColor(cr, look.rim, look.rimAlpha);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    // Glassy upper half.
    if (state != ButtonState::Pressed) {
        roundedRect(cr, inset + r * 0.5, inset + 2.5, w - 2 * inset - r, (h - 2 * inset) * 0.42,
                    r * 0.8);
        cairo_set_source_rgba(cr, 1, 1, 1, state == ButtonState::Dimmed ? 0.05 : 0.12);
        cairo_fill(cr);
    }
    const double shift = state == ButtonState::Pressed ? 1.5 : 0;
    if (label.empty()) {  // a face the game writes on
        cairo_restore(cr);
        return;
    }
    if (maxTextWidth <= 0) maxTextWidth = w - 2 * inset - r;
    if (textCentre <= 0) textCentre = w / 2;
    const Font font = fitFont(cr, {fontSize, true, false}, label, maxTextWidth, "button");
    drawText(cr, font, label, textCentre + shift, h / 2 + fontSize * 0.36 + shift, Align::Center,
             look.text, 2.5, hex(0x0a0818));
    cairo_restore(cr);
}

namespace {

enum class Lamp { None, On, Off };

// The switches carry a lamp at the right end: a lit green gem when on, a dull
// steel one when off, so the state shows without reading the word.
void lamp(cairo_t* cr, double x, double y, double size, bool on, bool glow = true) {
    if (on && glow) {
        cairo_pattern_t* halo = cairo_pattern_create_radial(x, y, 0, x, y, size);
        cairo_pattern_add_color_stop_rgba(halo, 0, 0.5, 1, 0.6, 0.7);
        cairo_pattern_add_color_stop_rgba(halo, 1, 0.5, 1, 0.6, 0);
        cairo_arc(cr, x, y, size, 0, 2 * M_PI);
        cairo_set_source(cr, halo);
        cairo_fill(cr);
    }
    const double r = size * 0.42;
    cairo_pattern_t* g = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.4, 0.5, x, y, r);
    const Rgb c = on ? hex(0x3ee05a) : hex(0x4a4a58);
    addStop(g, 0, lighter(c, on ? 0.75 : 0.35));
    addStop(g, 0.55, c);
    addStop(g, 1, darker(c, 0.55));
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    setColor(cr, hex(0xd7a23a));
    cairo_set_line_width(cr, glow ? 1.6 : 1.0);
    cairo_stroke(cr);
}

// Where a switch's words go: between LEFT and its lamp, as a centre and a width.
struct TextZone {
    double centre, width;
};
TextZone switchWords(double w, double h, double left) {
    const double lampLeft = w - h * 0.75 - h * 0.55 * 0.42 - 6;
    return {(left + lampLeft) / 2, lampLeft - left};
}

// Look LOOK of BUTTON. The music and sound switches leave room at the left for the game's row
// of volume lights (asset::kVolumeLightsLeft).
void menuButton(const Output& out, const asset::Series& button, int look, ButtonState state,
                const std::string& label, Lamp withLamp = Lamp::None) {
    const int w = button.width, h = button.height;
    Canvas c(w, h, true);
    setColor(c.cr(), kMenuPanel);
    cairo_paint(c.cr());
    if (withLamp == Lamp::None) {
        buttonFace(c.cr(), w, h, state, label, 24);
    } else {
        const double lightsEnd = asset::kVolumeLightsLeft +
                                 asset::kVolumeLights.frameWidth * asset::kVolumeLightCount + 4;
        const TextZone zone = switchWords(w, h, lightsEnd);
        buttonFace(c.cr(), w, h, state, label, 24, zone.width, zone.centre);
        lamp(c.cr(), w - h * 0.75, h / 2.0, h * 0.55, withLamp == Lamp::On);
    }
    c.writeBmp(out.of(button, look));
}

// The Back button and the calm switch lie on the night sky: they are shown with their
// bottom-left colour made transparent, the face laid over a dark ground and everything outside
// it pure magenta.
void keyedButton(const Output& out, const asset::Series& button, int look, ButtonState state,
                 const std::string& label, Lamp withLamp = Lamp::None) {
    const int w = button.width, h = button.height;
    Canvas face(w, h);
    if (withLamp == Lamp::None) {
        buttonFace(face.cr(), w, h, state, label, 22);
    } else {
        const TextZone zone = switchWords(w, h, h / 2.0);
        buttonFace(face.cr(), w, h, state, label, 22, zone.width, zone.centre);
        lamp(face.cr(), w - h * 0.75, h / 2.0, h * 0.55, withLamp == Lamp::On);
    }
    Canvas c(w, h, true);
    setColor(c.cr(), kMenuPanel);
    cairo_paint(c.cr());
    cairo_set_source_surface(c.cr(), face.surface(), 0, 0);
    cairo_paint(c.cr());
    cairo_surface_flush(c.surface());
    unsigned char* data = cairo_image_surface_get_data(c.surface());
    const int stride = cairo_image_surface_get_stride(c.surface());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((face.pixel(x, y) >> 24) == 0)
                reinterpret_cast<std::uint32_t*>(data + y * stride)[x] = 0xffff00ffu;
    cairo_surface_mark_dirty(c.surface());
    c.writeBmp(out.of(button, look));
}

}  // namespace

void forgeButtons(const Output& out) {
    const ButtonState three[] = {ButtonState::Rest, ButtonState::Hover, ButtonState::Pressed};
    struct Plain {
        const asset::Series& button;
        const char* label;
    };
    const Plain plain[] = {{asset::kNewButton, N_("New Game")},
                           {asset::kPlayButton, N_("Play")},
                           {asset::kHighScoresButton, N_("High Scores")},
                           {asset::kHelpButton, N_("Help")},
                           {asset::kAboutButton, N_("About")}};
    for (const auto& b : plain)
        for (int s = 0; s < b.button.count; ++s)
            menuButton(out, b.button, s, three[s], tr(b.label));

    // Switches: "on" at rest and lit, then "off" at rest and lit.
    struct Switch {
        const asset::Series& button;
        const char* on;
        const char* off;
    };
    for (const auto& sw : {Switch{asset::kMusicSwitch, N_("Music: On"), N_("Music: Off")},
                           Switch{asset::kSoundSwitch, N_("Sound: On"), N_("Sound: Off")}})
        for (int s = 0; s < sw.button.count; ++s)
            menuButton(out, sw.button, s, s % 2 ? ButtonState::Hover : ButtonState::Rest,
                       tr(s < 2 ? sw.on : sw.off), s < 2 ? Lamp::On : Lamp::Off);

    const ButtonState back[] = {ButtonState::Dimmed, ButtonState::Rest, ButtonState::Hover,
                                ButtonState::Pressed};
    for (int s = 0; s < asset::kBackButton.count; ++s)
        keyedButton(out, asset::kBackButton, s, back[s], tr("Back"));
    const asset::Series& calm = asset::kCalmSwitch;
    for (int s = 0; s < calm.count; ++s)
        keyedButton(out, calm, s, s % 2 ? ButtonState::Hover : ButtonState::Rest,
                    s < 2 ? tr("Calm: On") : tr("Calm: Off"), s < 2 ? Lamp::On : Lamp::Off);

    const asset::FrameList& list = asset::kMenuButton;
    Strip menu(list);
    for (int s = 0; s < list.frames; ++s)
        menu.frame(s, [&](cairo_t* cr) {
            buttonFace(cr, list.frameWidth, list.frameHeight, three[s], tr("MENU"), 22);
        });
    menu.writePng(out.of(list));
}

void forgeLights(const Output& out) {
    // One light of the row the game draws on the music and sound switches: off, then lit. Lit, a
    // green gem glowing in its gold ring; off, the empty socket, dark glass in a dull ring, so the
    // row reads as a level at a glance.
    const asset::FrameList& list = asset::kVolumeLights;
    Strip lights(list);
    for (int s = 0; s < list.frames; ++s)
        lights.frame(s, [&](cairo_t* cr) {
            const double c = list.frameWidth / 2.0, r = list.frameWidth / 2.0 - 0.1;
            if (s == 1) {
                lamp(cr, c, c, r / 0.42, true, false);
                return;
            }
            cairo_arc(cr, c, c, r, 0, 2 * M_PI);
            cairo_pattern_t* g = cairo_pattern_create_radial(c, c + r * 0.3, 0.5, c, c, r);
            addStop(g, 0, hex(0x2a2838));
            addStop(g, 1, hex(0x0a0912));
            cairo_set_source(cr, g);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(g);
            setColor(cr, hex(0x8a6a30));
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        });
    lights.writePng(out.of(list));

    // The panels' Ok buttons wear the menu buttons' face; the game writes their words over it.
    const ButtonState looks[] = {ButtonState::Rest, ButtonState::Hover, ButtonState::Pressed};
    for (const asset::FrameList* push : {&asset::kPushFace, &asset::kPushFaceLow}) {
        Strip faces(*push);
        for (int s = 0; s < push->frames; ++s)
            faces.frame(s, [&](cairo_t* cr) {
                buttonFace(cr, push->frameWidth, push->frameHeight, looks[s], "", 13);
            });
        faces.writePng(out.of(*push));
    }
}

}  // namespace forge
