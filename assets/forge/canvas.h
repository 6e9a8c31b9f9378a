#pragma once
// Drawing helpers shared by every picture of the forge.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "assets/catalogue.h"

namespace forge {

struct Rgb {
    double r, g, b;
};

// Colour from 0xRRGGBB.
constexpr Rgb hex(std::uint32_t v) {
    return {((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0};
}
Rgb mix(Rgb a, Rgb b, double t);
Rgb lighter(Rgb c, double t);  // towards white
Rgb darker(Rgb c, double t);   // towards black

void setColor(cairo_t* cr, Rgb c, double alpha = 1.0);
void addStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0);

// Small deterministic generator: every picture and tune is seeded, so the
// forge writes the same bytes on every run and every machine.
class Rng {
  public:
    explicit Rng(std::uint64_t seed)
        : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    std::uint64_t next();
    double uniform();                      // [0, 1)
    double uniform(double lo, double hi);  // [lo, hi)
    int below(int n);                      // [0, n)
    bool chance(double p) { return uniform() < p; }

  private:
    std::uint64_t state_;
};

// An ARGB (or opaque RGB) cairo image with its context.
class Canvas {
  public:
    Canvas(int width, int height, bool opaque = false);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool opaque() const { return opaque_; }

    // Premultiplied 0xAARRGGBB pixel (flushes pending drawing).
    std::uint32_t pixel(int x, int y) const;

    void writePng(const std::string& path) const;  // RGBA, or RGB when opaque
    void writeJpeg(const std::string& path, int quality = 90) const;
    void writeBmp(const std::string& path) const;  // 24-bit

  private:
    int width_, height_;
    bool opaque_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// An image list: equal frames stored four per row.
class Strip {
  public:
    Strip(int frameWidth, int frameHeight, int frames);
    explicit Strip(const lumcrest::asset::FrameList& list)
        : Strip(list.frameWidth, list.frameHeight, list.frames) {}
    // Draws frame I with the origin at its top-left corner, clipped to it.
    void frame(int i, const std::function<void(cairo_t*)>& draw);
    Canvas& canvas() { return canvas_; }
    void writePng(const std::string& path) const { canvas_.writePng(path); }

  private:
    int fw_, fh_, frames_;
    Canvas canvas_;
};

// --- paths and shapes ---
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Superellipse |x/a|^4 + |y/b|^4 = 1: the rounded-square outline of every gem.
void squircle(cairo_t* cr, double cx, double cy, double a, double b, double power = 4.0);
void starPath(cairo_t* cr, double cx, double cy, int points, double outer, double inner,
              double rotation = 0.0);
// A four-point glint with thin rays.
void glint(cairo_t* cr, double cx, double cy, double size, double alpha);

// --- text ---
// Every word painted into a picture is set in the serif of the live captions,
// TeX Gyre Schola; all lettering goes through the helpers below.
inline constexpr const char* kTextFamily = "TeX Gyre Schola";
enum class Align { Left, Center, Right };
struct Font {
    double size = 20;
    bool bold = true;
    bool italic = false;
};
// Text whose baseline starts at (x, y).
void textPath(cairo_t* cr, const Font& f, std::string_view s, double x, double y, Align a);
double textWidth(cairo_t* cr, const Font& f, std::string_view s);
// Filled text with an optional dark outline and drop shadow.
void drawText(cairo_t* cr, const Font& f, std::string_view s, double x, double y, Align a, Rgb fill,
              double outline = 0.0, Rgb outlineColor = {0, 0, 0}, double shadow = 0.0);
// Gold lettering: vertical gradient with a dark rim, for titles.
void goldText(cairo_t* cr, const Font& f, std::string_view s, double x, double y, Align a);
// Wraps S into lines no wider than WIDTH, drawn from baseline Y; returns the next baseline.
double paragraph(cairo_t* cr, const Font& f, std::string_view s, double x, double y, double width,
                 double lineHeight, Rgb color);

// --- scenery ---
void starField(cairo_t* cr, Rng& rng, double x, double y, double w, double h, int count,
               double maxRadius = 1.4);
void moon(cairo_t* cr, double cx, double cy, double r, Rgb tint, double phase);
// A ridge of hills or mountains filled down to BOTTOM.
void ridge(cairo_t* cr, Rng& rng, double x0, double x1, double base, double amplitude,
           double roughness, double bottom, Rgb color, int seeds = 9);
// Night-sky gradient over the whole canvas area.
void skyGradient(cairo_t* cr, double w, double h, Rgb top, Rgb horizon, double horizonY);
// Gilded frame line around a rounded rectangle.
void goldFrame(cairo_t* cr, double x, double y, double w, double h, double r, double width);
// Dark translucent plaque with a gold rim.
void plaque(cairo_t* cr, double x, double y, double w, double h, double r, Rgb fill,
            double alpha = 0.85);

}  // namespace forge
