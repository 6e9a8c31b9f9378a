// The desktop icon: the bar of three gems rising into a dark well, one gem already resting at
// the top. Drawn once as paths, so the PNGs of every size and the SVG are the same picture.
#include <cairo-svg.h>

#include <stdexcept>

#include "assets/forge/forge.h"
#include "assets/forge/gem_painter.h"

namespace forge {

namespace {

constexpr double kUnits = 256.0;  // the icon is drawn on a 256 x 256 grid

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -1.5708, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, 1.5708);
    cairo_arc(cr, x + r, y + h - r, r, 1.5708, 3.14159);
    cairo_arc(cr, x + r, y + r, r, 3.14159, 4.71239);
    cairo_close_path(cr);
}

void gemAt(cairo_t* cr, double x, double y, double size, int kind) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / kGemSize, size / kGemSize);
    paintGemBall(cr, kind);
    cairo_restore(cr);
}

void paintIcon(cairo_t* cr) {
    // The well: a deep blue tile with a lighter rim.
    roundedRect(cr, 8, 8, 240, 240, 36);
    cairo_pattern_t* well = cairo_pattern_create_linear(0, 8, 0, 248);
    addStop(well, 0, hex(0x1B2450));
    addStop(well, 1, hex(0x0A0D1F));
    cairo_set_source(cr, well);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(well);
    cairo_set_line_width(cr, 6);
    setColor(cr, hex(0x6C7BD0), 0.8);
    cairo_stroke(cr);
    // The trail of the rising bar.
    cairo_pattern_t* trail = cairo_pattern_create_linear(0, 60, 0, 170);
    addStop(trail, 0, hex(0xFFFFFF), 0.0);
    addStop(trail, 1, hex(0xBFD4FF), 0.35);
    cairo_set_source(cr, trail);
    cairo_rectangle(cr, 104, 70, 48, 100);
    cairo_fill(cr);
    cairo_pattern_destroy(trail);
    // One gem resting at the top, the bar of three at the bottom.
    gemAt(cr, 98, 28, 60, 4);
    gemAt(cr, 24, 166, 70, 1);
    gemAt(cr, 93, 166, 70, 2);
    gemAt(cr, 162, 166, 70, 3);
}

}  // namespace

void forgeIcons(const Output& out) {
    for (int size : asset::kDesktopIconSizes) {
        Canvas c(size, size);
        cairo_scale(c.cr(), size / kUnits, size / kUnits);
        paintIcon(c.cr());
        c.writePng(out.icon(asset::desktopIcon(size)));
    }
    const std::string svg = out.of(asset::kDesktopIconSvg);
    cairo_surface_t* s = cairo_svg_surface_create(svg.c_str(), kUnits, kUnits);
    cairo_t* cr = cairo_create(s);
    paintIcon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(s);
    cairo_status_t status = cairo_surface_status(s);
    cairo_surface_destroy(s);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + svg);
}

}  // namespace forge
