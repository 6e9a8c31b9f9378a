// Every image list built from the gems: the gem set itself, the glints and
// sheens that play over idle gems, the highlight pulse and the crack stages.

#include <cmath>
#include <vector>

#include "assets/forge/forge.h"
#include "assets/forge/gem_painter.h"

namespace forge {

namespace {

constexpr double kC = kGemSize / 2.0;

void glintFrame(cairo_t* cr, int kind, int step) {
    paintGem(cr, kind);
    const double t = (step + 0.5) / 6.0;
    const double x = 9 + 30 * t, y = 11 + 24 * t - 6 * std::sin(M_PI * t);
    const double size = 5 + 10 * std::sin(M_PI * t);
    // A halo in the gem's own colour, so the star reads on pale gems as well.
    cairo_pattern_t* halo = cairo_pattern_create_radial(x, y, 0, x, y, size * 1.1);
    addStop(halo, 0, lighter(gemColor(kind), 0.35), 0.8);
    addStop(halo, 1, gemColor(kind), 0);
    cairo_arc(cr, x, y, size * 1.1, 0, 2 * M_PI);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    glint(cr, x, y, size, 0.95);
}

void sheenFrame(cairo_t* cr, int kind, int step) {
    paintGem(cr, kind);
    cairo_save(cr);
    gemBallPath(cr);
    cairo_clip(cr);
    const double c = -8 + 64.0 * step / 8.0;  // band centre along the diagonal
    cairo_pattern_t* g = cairo_pattern_create_linear(c - 11, c - 11, c + 11, c + 11);
    cairo_pattern_add_color_stop_rgba(g, 0.0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(g, 0.45, 1, 1, 1, 0.72);
    cairo_pattern_add_color_stop_rgba(g, 0.55, 1, 1, 1, 0.72);
    cairo_pattern_add_color_stop_rgba(g, 1.0, 1, 1, 1, 0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

void litFrame(cairo_t* cr, int kind, int step) {
    paintGem(cr, kind);
    const double k = step == 0 ? 0.22 : 0.42;
    cairo_save(cr);
    gemBallPath(cr);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_set_source_rgb(cr, k, k, k * 0.8);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_pattern_t* g = cairo_pattern_create_radial(kC, kC, 0, kC, kC, 22);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.9, k * 1.2);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 0.9, 0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    gemRimPath(cr);
    cairo_set_source_rgba(cr, 1, 1, 0.75, step == 0 ? 0.45 : 0.85);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
}

struct CrackPoint {
    double x, y;
};
struct Crack {
    std::vector<CrackPoint> trunk;
    std::vector<std::vector<CrackPoint>> twigs;
};

// One crack network per kind, six cracks from near the middle, each with a few twigs.
std::vector<Crack> crackNetwork(int kind, CrackPoint& start) {
    using Point = CrackPoint;
    Rng rng(1000 + static_cast<std::uint64_t>(kind));
    start = Point{kC + rng.uniform(-4, 4), kC + rng.uniform(-4, 4)};
    std::vector<Crack> cracks(6);
    for (std::size_t m = 0; m < cracks.size(); ++m) {
        double a = m * 2 * M_PI / cracks.size() + rng.uniform(-0.35, 0.35);
        Point p = start;
        cracks[m].trunk.push_back(p);
        for (int s = 0; s < 8; ++s) {
            a += rng.uniform(-0.5, 0.5);
            const double len = rng.uniform(3.5, 6.5);
            p = {p.x + len * std::cos(a), p.y + len * std::sin(a)};
            cracks[m].trunk.push_back(p);
            if (s > 0 && rng.chance(0.3)) {
                double ta = a + (rng.chance(0.5) ? 0.9 : -0.9);
                std::vector<Point> twig{p};
                for (int t = 0; t < 4; ++t) {
                    ta += rng.uniform(-0.4, 0.4);
                    twig.push_back(
                        {twig.back().x + 4 * std::cos(ta), twig.back().y + 4 * std::sin(ta)});
                }
                cracks[m].twigs.push_back(std::move(twig));
            }
        }
    }
    return cracks;
}

// The gem with its crack network at STAGE (0..2): later stages show more of it.
void crackFrame(cairo_t* cr, int kind, int stage) {
    paintGem(cr, kind);
    using Point = CrackPoint;
    Point start{};
    const std::vector<Crack> cracks = crackNetwork(kind, start);
    const std::size_t shown = stage == 0 ? 3 : (stage == 1 ? 5 : 6);
    const std::size_t twigLength = stage == 0 ? 0 : static_cast<std::size_t>(stage + 2);
    // Hairlines, a little bolder as the gem gives way: glass splits thin.
    const double width = 0.75 + 0.25 * stage;
    cairo_save(cr);
    gemBallPath(cr);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    auto polyline = [cr](const std::vector<Point>& pts, std::size_t count) {
        for (std::size_t i = 0; i < count && i < pts.size(); ++i)
            (i == 0 ? cairo_move_to : cairo_line_to)(cr, pts[i].x, pts[i].y);
    };
    auto trace = [&](double dx, double dy) {
        cairo_save(cr);
        cairo_translate(cr, dx, dy);
        cairo_new_path(cr);
        for (std::size_t m = 0; m < shown; ++m) {
            polyline(cracks[m].trunk, cracks[m].trunk.size());
            for (const auto& twig : cracks[m].twigs) polyline(twig, twigLength);
        }
        cairo_restore(cr);
    };
    // Light catches the broken edge on the lit side of each split: a bright line beside the
    // dark one, and a faint glow around both, so the crack reads as broken glass on any gem.
    trace(0, 0);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
    cairo_set_line_width(cr, width + 2.6);
    cairo_stroke(cr);
    trace(-1.0, -0.9);
    cairo_set_source_rgba(cr, 1, 1, 0.96, 0.85);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    trace(0, 0);
    cairo_set_source_rgba(cr, 0.06, 0.03, 0.10, 0.78);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    if (stage == 2) {  // a chip of light where the cracks meet
        cairo_arc(cr, start.x, start.y, 2.6, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 0.95, 0.7);
        cairo_fill(cr);
        cairo_arc(cr, start.x + 0.5, start.y + 0.5, 1.2, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.06, 0.03, 0.10, 0.8);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

}  // namespace

static_assert(asset::kGemKinds <= kGemLastOrdinary, "the joker and the bomb follow the kinds");

void forgeGems(const Output& out) {
    Strip gems(asset::kGems);
    for (int v = 0; v < 16; ++v) gems.frame(v, [v](cairo_t* cr) { paintGem(cr, v); });
    gems.writePng(out.of(asset::kGems));

    Strip glints(asset::kGlints);
    for (int k = 1; k <= asset::kGemKinds; ++k)
        for (int i = 0; i < asset::kGlintSteps; ++i)
            glints.frame(asset::kGlintSteps * (k - 1) + i,
                         [=](cairo_t* cr) { glintFrame(cr, k, i); });
    glints.writePng(out.of(asset::kGlints));

    Strip sheens(asset::kSheens);
    for (int k = 1; k <= asset::kGemKinds; ++k)
        for (int i = 0; i < asset::kSheenSteps; ++i)
            sheens.frame(asset::kSheenSteps * (k - 1) + i,
                         [=](cairo_t* cr) { sheenFrame(cr, k, i); });
    sheens.writePng(out.of(asset::kSheens));

    Strip lit(asset::kWaveLights);
    for (int k = 1; k <= 12; ++k)
        for (int i = 0; i < 2; ++i)
            lit.frame(2 * (k - 1) + i, [=](cairo_t* cr) { litFrame(cr, k, i); });
    lit.writePng(out.of(asset::kWaveLights));

    Strip cracks(asset::kCracks);
    for (int k = 1; k <= 12; ++k)
        for (int s = 0; s < 3; ++s)
            cracks.frame(3 * (k - 1) + s, [=](cairo_t* cr) { crackFrame(cr, k, s); });
    cracks.writePng(out.of(asset::kCracks));

    Canvas icon(asset::kWindowIcon.width, asset::kWindowIcon.height);
    cairo_scale(icon.cr(), double(asset::kWindowIcon.width) / kGemSize,
                double(asset::kWindowIcon.height) / kGemSize);
    paintGemBall(icon.cr(), 1);
    glint(icon.cr(), 33, 15, 9, 0.9);
    icon.writePng(out.of(asset::kWindowIcon));
}

}  // namespace forge
