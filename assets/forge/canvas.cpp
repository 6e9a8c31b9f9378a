#include "assets/forge/canvas.h"

#include <cairo-ft.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "assets/forge/image_writers.h"
#include "assets/forge/words.h"

namespace forge {

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb lighter(Rgb c, double t) {
    return mix(c, {1, 1, 1}, t);
}
Rgb darker(Rgb c, double t) {
    return mix(c, {0, 0, 0}, t);
}

void setColor(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}
void addStop(cairo_pattern_t* p, double offset, Rgb c, double alpha) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, alpha);
}

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
double Rng::uniform() {
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}
double Rng::uniform(double lo, double hi) {
    return lo + (hi - lo) * uniform();
}
int Rng::below(int n) {
    return static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

Canvas::Canvas(int width, int height, bool opaque)
    : width_(width),
      height_(height),
      opaque_(opaque),
      surface_(cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width,
                                          height)),
      cr_(cairo_create(surface_)) {
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot create a cairo image");
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr_, fo);
    cairo_font_options_destroy(fo);
    if (opaque) {
        cairo_set_source_rgb(cr_, 0, 0, 0);
        cairo_paint(cr_);
    }
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

std::uint32_t Canvas::pixel(int x, int y) const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    std::uint32_t p = reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
    return opaque_ ? (p | 0xff000000u) : p;
}

// Straight (non-premultiplied) RGBA rows out of the cairo image.
static std::vector<unsigned char> straightPixels(cairo_surface_t* s, bool opaque, int channels) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s);
    const int h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    std::vector<unsigned char> out(static_cast<std::size_t>(w) * h * channels);
    unsigned char* o = out.data();
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            unsigned a = opaque ? 255u : (p >> 24);
            unsigned r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            if (a == 0) {
                r = g = b = 0;
            } else if (a < 255) {
                r = std::min(255u, (r * 255 + a / 2) / a);
                g = std::min(255u, (g * 255 + a / 2) / a);
                b = std::min(255u, (b * 255 + a / 2) / a);
            }
            *o++ = static_cast<unsigned char>(r);
            *o++ = static_cast<unsigned char>(g);
            *o++ = static_cast<unsigned char>(b);
            if (channels == 4) *o++ = static_cast<unsigned char>(a);
        }
    }
    return out;
}

void Canvas::writePng(const std::string& path) const {
    const int channels = opaque_ ? 3 : 4;
    writePngFile(path, width_, height_, channels, straightPixels(surface_, opaque_, channels));
}

void Canvas::writeJpeg(const std::string& path, int quality) const {
    writeJpegFile(path, width_, height_, straightPixels(surface_, true, 3), quality);
}

void Canvas::writeBmp(const std::string& path) const {
    writeBmpFile(path, width_, height_, straightPixels(surface_, true, 3));
}

Strip::Strip(int frameWidth, int frameHeight, int frames)
    : fw_(frameWidth),
      fh_(frameHeight),
      frames_(frames),
      canvas_(frameWidth * 4, frameHeight * ((frames + 3) / 4)) {}

void Strip::frame(int i, const std::function<void(cairo_t*)>& draw) {
    if (i < 0 || i >= frames_) throw std::out_of_range("image list frame");
    cairo_t* cr = canvas_.cr();
    cairo_save(cr);
    cairo_translate(cr, (i % 4) * fw_, (i / 4) * fh_);
    cairo_rectangle(cr, 0, 0, fw_, fh_);
    cairo_clip(cr);
    cairo_new_path(cr);
    draw(cr);
    cairo_restore(cr);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void squircle(cairo_t* cr, double cx, double cy, double a, double b, double power) {
    const int steps = 128;
    cairo_new_sub_path(cr);
    for (int i = 0; i < steps; ++i) {
        const double t = 2 * M_PI * i / steps;
        const double c = std::cos(t), s = std::sin(t);
        const double x = cx + a * std::copysign(std::pow(std::fabs(c), 2.0 / power), c);
        const double y = cy + b * std::copysign(std::pow(std::fabs(s), 2.0 / power), s);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

void starPath(cairo_t* cr, double cx, double cy, int points, double outer, double inner,
              double rotation) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double t = rotation - M_PI / 2 + M_PI * i / points;
        const double x = cx + r * std::cos(t), y = cy + r * std::sin(t);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

void glint(cairo_t* cr, double cx, double cy, double size, double alpha) {
    if (size <= 0 || alpha <= 0) return;
    cairo_save(cr);
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, 0, cx, cy, size * 0.7);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1, 1, 1, 0.8 * alpha);
    cairo_pattern_add_color_stop_rgba(halo, 1, 1, 1, 1, 0);
    cairo_set_source(cr, halo);
    cairo_arc(cr, cx, cy, size * 0.7, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    cairo_set_source_rgba(cr, 1, 1, 0.92, alpha);
    starPath(cr, cx, cy, 4, size, size * 0.14);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, alpha * 0.8);
    starPath(cr, cx, cy, 4, size * 0.5, size * 0.1, M_PI / 4);
    cairo_fill(cr);
    cairo_restore(cr);
}

// The face of one style, checked once: fontconfig quietly substitutes another
// family for a missing one, and a picture must never be lettered in it.
static cairo_font_face_t* textFace(const std::string& family, bool bold, bool italic) {
    static std::mutex mutex;
    static std::map<std::string, std::array<cairo_font_face_t*, 4>> faces;
    std::lock_guard lock(mutex);
    cairo_font_face_t*& face = faces[family][(bold ? 1 : 0) + (italic ? 2 : 0)];
    if (face) return face;
    cairo_font_face_t* toy = cairo_toy_font_face_create(
        family.c_str(), italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
        bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, 20, 20);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(toy, &size, &identity, options);
    cairo_font_options_destroy(options);
    std::string found;
    if (cairo_scaled_font_get_type(scaled) == CAIRO_FONT_TYPE_FT) {
        if (FT_Face ft = cairo_ft_scaled_font_lock_face(scaled)) {
            if (ft->family_name) found = ft->family_name;
            cairo_ft_scaled_font_unlock_face(scaled);
        }
    }
    cairo_scaled_font_destroy(scaled);
    if (found != family) {
        cairo_font_face_destroy(toy);
        throw std::runtime_error("the lettering font " + family + " is not installed (found \"" +
                                 found + "\")");
    }
    face = toy;
    return face;
}

static void selectFont(cairo_t* cr, const Font& f) {
    // A language whose letters the lettering font lacks is set in a serif that has them.
    cairo_set_font_face(cr, textFace(faceFor(kTextFamily), f.bold, f.italic));
    cairo_set_font_size(cr, f.size);
}

double textWidth(cairo_t* cr, const Font& f, std::string_view s) {
    selectFont(cr, f);
    std::string str(s);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, str.c_str(), &ext);
    return ext.x_advance;
}

void textPath(cairo_t* cr, const Font& f, std::string_view s, double x, double y, Align a) {
    const double w = textWidth(cr, f, s);
    if (a == Align::Center) x -= w / 2;
    if (a == Align::Right) x -= w;
    std::string str(s);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, str.c_str());
}

void drawText(cairo_t* cr, const Font& f, std::string_view s, double x, double y, Align a, Rgb fill,
              double outline, Rgb outlineColor, double shadow) {
    cairo_save(cr);
    if (shadow > 0) {
        cairo_new_path(cr);
        textPath(cr, f, s, x + shadow, y + shadow, a);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    textPath(cr, f, s, x, y, a);
    if (outline > 0) {
        setColor(cr, outlineColor);
        cairo_set_line_width(cr, outline);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    setColor(cr, fill);
    cairo_fill(cr);
    cairo_restore(cr);
}

void goldText(cairo_t* cr, const Font& f, std::string_view s, double x, double y, Align a) {
    cairo_save(cr);
    cairo_new_path(cr);
    textPath(cr, f, s, x + f.size * 0.05, y + f.size * 0.06, a);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_fill(cr);
    textPath(cr, f, s, x, y, a);
    cairo_set_source_rgb(cr, 0.25, 0.13, 0.02);
    cairo_set_line_width(cr, std::max(1.5, f.size * 0.08));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y - f.size * 0.8, 0, y + f.size * 0.1);
    addStop(g, 0.0, hex(0xfff8c8));
    addStop(g, 0.45, hex(0xffd35a));
    addStop(g, 0.55, hex(0xd99a1e));
    addStop(g, 1.0, hex(0xffe08a));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

double paragraph(cairo_t* cr, const Font& f, std::string_view s, double x, double y, double width,
                 double lineHeight, Rgb color) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const std::size_t end = s.find(' ', pos);
        const std::size_t stop = end == std::string_view::npos ? s.size() : end;
        if (stop > pos) words.emplace_back(s.substr(pos, stop - pos));
        pos = stop + 1;
    }
    std::string line;
    auto flush = [&] {
        if (line.empty()) return;
        drawText(cr, f, line, x, y, Align::Left, color, 0, {}, 1.0);
        y += lineHeight;
        line.clear();
    };
    for (const auto& word : words) {
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && textWidth(cr, f, candidate) > width) {
            flush();
            line = word;
        } else {
            line = candidate;
        }
    }
    flush();
    return y;
}

void starField(cairo_t* cr, Rng& rng, double x, double y, double w, double h, int count,
               double maxRadius) {
    cairo_save(cr);
    for (int i = 0; i < count; ++i) {
        const double sx = x + rng.uniform() * w, sy = y + rng.uniform() * h;
        const double r = 0.35 + std::pow(rng.uniform(), 3.0) * maxRadius;
        const double a = rng.uniform(0.35, 1.0);
        const double tint = rng.uniform();
        cairo_set_source_rgba(cr, 0.85 + 0.15 * tint, 0.88, 1.0 - 0.15 * tint, a);
        cairo_arc(cr, sx, sy, r, 0, 2 * M_PI);
        cairo_fill(cr);
        if (r > maxRadius * 0.7) glint(cr, sx, sy, r * 4.0, a * 0.5);
    }
    cairo_restore(cr);
}

void moon(cairo_t* cr, double cx, double cy, double r, Rgb tint, double phase) {
    cairo_save(cr);
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, r * 0.8, cx, cy, r * 3.2);
    addStop(halo, 0, tint, 0.35);
    addStop(halo, 1, tint, 0.0);
    cairo_set_source(cr, halo);
    cairo_arc(cr, cx, cy, r * 3.2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);

    cairo_push_group(cr);
    cairo_pattern_t* disc =
        cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, r * 0.1, cx, cy, r);
    addStop(disc, 0, lighter(tint, 0.7));
    addStop(disc, 1, tint);
    cairo_set_source(cr, disc);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(disc);
    // Craters.
    Rng rng(static_cast<std::uint64_t>(cx * 7 + cy * 13));
    for (int i = 0; i < 7; ++i) {
        const double a = rng.uniform(0, 2 * M_PI), d = rng.uniform(0, r * 0.7);
        setColor(cr, darker(tint, 0.25), 0.35);
        cairo_arc(cr, cx + d * std::cos(a), cy + d * std::sin(a), rng.uniform(r * 0.06, r * 0.18),
                  0, 2 * M_PI);
        cairo_fill(cr);
    }
    if (phase > 0) {  // crescent: cut out a shifted disc
        cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
        cairo_arc(cr, cx + r * phase, cy - r * 0.25 * phase, r * 0.95, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        cairo_fill(cr);
    }
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    cairo_restore(cr);
}

void ridge(cairo_t* cr, Rng& rng, double x0, double x1, double base, double amplitude,
           double roughness, double bottom, Rgb color, int seeds) {
    // Midpoint displacement between a few random peaks.
    std::vector<double> h(static_cast<std::size_t>(seeds));
    for (auto& v : h) v = rng.uniform(-1, 1) * amplitude;
    std::vector<double> pts = h;
    double disp = amplitude * roughness;
    for (int pass = 0; pass < 5; ++pass) {
        std::vector<double> next;
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            next.push_back(pts[i]);
            next.push_back((pts[i] + pts[i + 1]) / 2 + rng.uniform(-1, 1) * disp);
        }
        next.push_back(pts.back());
        pts = std::move(next);
        disp *= 0.55;
    }
    cairo_new_path(cr);
    cairo_move_to(cr, x0, bottom);
    for (std::size_t i = 0; i < pts.size(); ++i)
        cairo_line_to(cr, x0 + (x1 - x0) * i / (pts.size() - 1), base - pts[i]);
    cairo_line_to(cr, x1, bottom);
    cairo_close_path(cr);
    setColor(cr, color);
    cairo_fill(cr);
}

void skyGradient(cairo_t* cr, double w, double h, Rgb top, Rgb horizon, double horizonY) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, horizonY);
    addStop(g, 0, top);
    addStop(g, 1, horizon);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void goldFrame(cairo_t* cr, double x, double y, double w, double h, double r, double width) {
    cairo_save(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(x, y, x + w * 0.3, y + h);
    addStop(g, 0.0, hex(0xfff0a8));
    addStop(g, 0.35, hex(0xd7a23a));
    addStop(g, 0.6, hex(0x8a5a14));
    addStop(g, 1.0, hex(0xe9c060));
    roundedRect(cr, x, y, w, h, r);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_set_line_width(cr, width + 2);
    cairo_stroke_preserve(cr);
    cairo_set_source(cr, g);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

void plaque(cairo_t* cr, double x, double y, double w, double h, double r, Rgb fill, double alpha) {
    cairo_save(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    addStop(g, 0, lighter(fill, 0.12), alpha);
    addStop(g, 1, darker(fill, 0.3), alpha);
    roundedRect(cr, x, y, w, h, r);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    goldFrame(cr, x, y, w, h, r, 2.5);
    cairo_restore(cr);
}

}  // namespace forge
