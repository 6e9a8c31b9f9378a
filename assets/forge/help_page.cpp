// help.jpg: the goal, the rules and the keys on one page.

#include "canvas.h"
#include "forge.h"
#include "gem_painter.h"
#include "menu_style.h"

namespace forge {

namespace {

void gemIcon(cairo_t* cr, int kind, double x, double y, double size) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / kGemSize, size / kGemSize);
    paintGem(cr, kind);
    cairo_restore(cr);
}

}  // namespace

void forgeHelpPage(const Output& out) {
    const int w = 651, h = 541;
    Canvas c(w, h, true);
    cairo_t* cr = c.cr();
    dialogBackdrop(cr, w, h, 21);
    goldText(cr, {"DejaVu Serif", 32, true, true}, "How to play Lumcrest", w / 2.0, 50,
             Align::Center);

    const Font head{"DejaVu Serif", 17, true, false};
    const Font body{"DejaVu Sans", 13, false, false};
    const Rgb text = hex(0xf2ecdc);
    const double left = 34, width = w - 2 * left, line = 17;

    goldText(cr, head, "The goal", left, 86, Align::Left);
    double y =
        paragraph(cr, body,
                  "Bars of three gems fall into the well. Move and rotate each bar so that gems "
                  "of one kind meet, make them explode, and keep the well from filling up.",
                  left, 106, width, line, text);

    goldText(cr, head, "The rules", left, y + 14, Align::Left);
    y += 34;
    const char* rules[] = {
        "Three or more gems of one kind in a row explode: across, up and down, or diagonally.",
        "A square of four gems of one kind (two by two) explodes as well.",
        "Gems above fall into the gaps. If they make new groups, those explode too: chains "
        "score more and more.",
        "Every explosion fills the progress tube left of the well. When it is full, the jar "
        "lights up and the next stage begins.",
        "The game is over when the gems pile up to the top of the well.",
    };
    for (const char* r : rules) {
        setColor(cr, hex(0xffd35a));
        cairo_arc(cr, left + 6, y - 4, 2.5, 0, 2 * 3.14159265358979);
        cairo_fill(cr);
        y = paragraph(cr, body, r, left + 16, y, width - 16, line, text) + 1;
    }
    // The two special gems, pictured.
    y += 4;
    gemIcon(cr, kGemJoker, left + 8, y - 2, 36);
    paragraph(
        cr, body,
        "The joker, a cluster of little balls, matches every kind of gem: it joins any group.",
        left + 56, y + 14, width - 56, line, text);
    y += 44;
    gemIcon(cr, kGemBomb, left + 8, y - 2, 36);
    paragraph(cr, body,
              "The bomb: when it is part of an exploding group, every gem of that kind in the well "
              "is cleared at once.",
              left + 56, y + 14, width - 56, line, text);
    y += 46;

    goldText(cr, head, "The keys", left, y, Align::Left);
    y += 22;
    const struct {
        const char* keys;
        const char* what;
    } keys[] = {{"Left Arrow or keypad 4", "move the bar left"},
                {"Right Arrow or keypad 6", "move the bar right"},
                {"Down Arrow or keypad 5", "rotate the gems of the bar"},
                {"Up Arrow or Space bar", "up"}};
    const Font keyFont{"DejaVu Sans", 13, true, false};
    for (const auto& k : keys) {
        drawText(cr, keyFont, k.keys, left + 16, y, Align::Left, hex(0xfff07a), 0, {}, 1);
        drawText(cr, body, k.what, left + 230, y, Align::Left, text, 0, {}, 1);
        y += 19;
    }
    controlSlot(cr, 287, 493, 78, 28);
    c.writeJpeg(out.data("help.jpg"));
}

}  // namespace forge
