// The effects over the field, drawn straight into the composed frame: light is added (a glow
// brightens what lies under it, as light does), cores, text and the plaque are laid over it.
// Everything is worked out from each effect's age, so a frame composed twice looks the same.
#include "view/field_effects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "game/board_geometry.h"
#include "toolkit/window.h"
#include "view/frame_sizes.h"

namespace lumcrest {

namespace {

// The well, which the ring and the stars stay inside.
constexpr tk::Rect kWell{cellLeft(1), cellTop(10), 10 * kCellSize, 10 * kCellSize};
constexpr int kRingMs = 640;
// The new sky washes down the window: each row fades over kRowFadeMs, the top row first and the
// bottom row last, kFadeMs in all. Only the rows on the move change at each tick.
constexpr int kFadeMs = 720;
constexpr int kRowFadeMs = 210;
// When row Y of the frame starts to fade, in ms after the sky changed.
constexpr int rowFadeStart(int y) {
    return (kFadeMs - kRowFadeMs) * y / kFrameHeight;
}
// The first row that starts to fade after MS.
constexpr int firstRowAfter(int ms) {
    return ms <= 0 ? 0
                   : std::min(kFrameHeight, (ms * kFrameHeight + (kFadeMs - kRowFadeMs) - 1) /
                                                (kFadeMs - kRowFadeMs));
}
constexpr int kRiseMs = 1000;
constexpr int kRiseLift = 44;  // how far a figure rises
constexpr int kJarFadeMs = 400;
constexpr int kJarInMs = 200;
constexpr double kJarScale = 2.8;
constexpr int kPlaqueInMs = 180;
// How far a mark's plate reaches beyond its words.
constexpr int kPlateX = 26, kPlateY = 8;

// Light falling off from the middle of a soft ball to its rim, by the squared distance in 1024ths
// of the squared radius: 255 in the middle, 0 at the rim.
const std::array<std::uint8_t, 1025>& falloff() {
    static const std::array<std::uint8_t, 1025> table = [] {
        std::array<std::uint8_t, 1025> t{};
        for (int i = 0; i <= 1024; ++i) {
            const double d = std::sqrt(i / 1024.0);
            t[std::size_t(i)] = std::uint8_t(std::lround(255 * std::pow(1 - d, 1.1)));
        }
        return t;
    }();
    return table;
}

// A steady random number in [0, 1) from a seed and a draw, the same at every frame.
double hash01(std::uint32_t seed, std::uint32_t n) {
    std::uint32_t h = seed * 0x9E3779B1u ^ (n + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / double(0x1000000);
}

int channel(tk::Argb c, int shift) {
    return int((c >> shift) & 0xff);
}

// Adds light (r, g, b, each 0..255 at full strength) times LEVEL/255 to one pixel.
inline void addLight(tk::Argb& p, int r, int g, int b, int level) {
    const int nr = std::min(255, channel(p, 16) + ((r * level) >> 8));
    const int ng = std::min(255, channel(p, 8) + ((g * level) >> 8));
    const int nb = std::min(255, channel(p, 0) + ((b * level) >> 8));
    p = 0xFF000000u | std::uint32_t(nr << 16 | ng << 8 | nb);
}

// Lays colour C over one pixel with opacity A (0..255).
inline void layOver(tk::Argb& p, tk::Argb c, int a) {
    if (a <= 0) return;
    a = std::min(a, 255);
    const int na = 255 - a;
    const int r = (channel(c, 16) * a + channel(p, 16) * na) / 255;
    const int g = (channel(c, 8) * a + channel(p, 8) * na) / 255;
    const int b = (channel(c, 0) * a + channel(p, 0) * na) / 255;
    p = 0xFF000000u | std::uint32_t(r << 16 | g << 8 | b);
}

// The part of box B (in the canvas's coordinates) that the canvas may draw, in the target's.
tk::Rect drawable(const tk::Canvas& cv, tk::Rect b) {
    return b.translated(cv.originX(), cv.originY()).intersect(cv.clip());
}

// A soft ball of light of radius R at (cx, cy), added in colour C at STRENGTH (0..256); or laid
// over in C when OVER.
void softBall(tk::Canvas& cv, double cx, double cy, double r, tk::Argb c, int strength,
              bool over = false) {
    if (r < 0.5 || strength <= 0) return;
    const int ir = int(std::ceil(r));
    const tk::Rect a = drawable(cv, tk::Rect{int(cx) - ir, int(cy) - ir, 2 * ir + 2, 2 * ir + 2});
    if (a.empty()) return;
    const auto& fall = falloff();
    const double r2 = r * r, toTable = 1024 / r2;
    const double ox = cx + cv.originX(), oy = cy + cv.originY();
    const int cr = channel(c, 16), cg = channel(c, 8), cb = channel(c, 0);
    tk::Image& img = cv.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        const double dy2 = (y - oy) * (y - oy);
        if (dy2 >= r2) continue;
        // Only the span of this row inside the circle.
        const double half = std::sqrt(r2 - dy2);
        const int x0 = std::max(a.x, int(std::floor(ox - half)));
        const int x1 = std::min(a.right(), int(std::ceil(ox + half)) + 1);
        tk::Argb* row = img.row(y);
        for (int x = x0; x < x1; ++x) {
            const double d2 = (x - ox) * (x - ox) + dy2;
            if (d2 >= r2) continue;
            const int level =
                fall[std::min<std::size_t>(1024, std::size_t(d2 * toTable))] * strength >> 8;
            if (over)
                layOver(row[x], c, level);
            else
                addLight(row[x], cr, cg, cb, level);
        }
    }
}

// The dark ground and warm halo behind the large jar at (cx, cy), at opacity ALPHA (0..255): a
// dark ball of radius 190 laid over the board and a warm light of radius 170 added, in one pass.
void jarHalo(tk::Canvas& cv, int cx, int cy, int alpha) {
    constexpr int kDark = 190, kWarm = 170;
    const tk::Rect a = drawable(cv, tk::Rect{cx - kDark, cy - kDark, 2 * kDark + 1, 2 * kDark + 1});
    if (a.empty() || alpha <= 0) return;
    const auto& fall = falloff();
    const int ox = cx + cv.originX(), oy = cy + cv.originY();
    const int over = alpha * 200 / 255, warm = alpha * 150 / 255;
    const tk::Argb dark = tk::rgb(12, 10, 30);
    tk::Image& img = cv.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        const int dy2 = (y - oy) * (y - oy);
        if (dy2 >= kDark * kDark) continue;
        const int half = int(std::sqrt(double(kDark * kDark - dy2))) + 1;
        tk::Argb* row = img.row(y);
        for (int x = std::max(a.x, ox - half); x < std::min(a.right(), ox + half + 1); ++x) {
            const int d2 = (x - ox) * (x - ox) + dy2;
            if (d2 >= kDark * kDark) continue;
            layOver(row[x], dark, fall[std::size_t(d2 * 1024 / (kDark * kDark))] * over >> 8);
            if (d2 < kWarm * kWarm)
                addLight(row[x], 255, 200, 110,
                         fall[std::size_t(d2 * 1024 / (kWarm * kWarm))] * warm >> 8);
        }
    }
}

// The stars flying out of the large jar: each flies for kStarMs along a line of its own, falling a
// little, then starts again from the jar.
constexpr int kJarStars = 22;
constexpr int kStarMs = 1100;
constexpr int kStarReach = 15;  // from a star's middle to the tips of its rays
struct Star {
    double x, y, life;  // life: 0..1 over its flight
};
Star jarStar(int jx, int jy, std::uint32_t seed, int i, int t) {
    const int start = int(hash01(seed, std::uint32_t(i)) * kStarMs);
    const int age = (t + start) % kStarMs;
    const int round = (t + start) / kStarMs;
    const double angle = hash01(seed, std::uint32_t(i * 7 + round)) * 2 * std::numbers::pi;
    const double speed = 180 + 200 * hash01(seed, std::uint32_t(i * 13 + round));
    const double v = double(age) / kStarMs;
    return Star{jx + std::cos(angle) * speed * v,
                jy - 40 + std::sin(angle) * speed * v + 120 * v * v, v};
}
tk::Rect starBox(const Star& s) {
    return tk::Rect{int(s.x) - kStarReach, int(s.y) - kStarReach, 2 * kStarReach + 2,
                    2 * kStarReach + 2};
}

tk::Argb brighter(tk::Argb c, double toWhite) {
    auto up = [&](int v) { return int(v + (255 - v) * toWhite); };
    return tk::rgb(up(channel(c, 16)), up(channel(c, 8)), up(channel(c, 0)));
}

// IMG scaled by SCALE (nearest pixel) with its middle at (cx, cy), at opacity ALPHA (0..255).
void drawScaled(tk::Canvas& cv, const tk::Image& img, double cx, double cy, double scale,
                int alpha) {
    if (img.width() == 0 || scale <= 0.01 || alpha <= 0) return;
    const double w = img.width() * scale, h = img.height() * scale;
    const int left = int(std::lround(cx - w / 2)), top = int(std::lround(cy - h / 2));
    const tk::Rect a = drawable(cv, tk::Rect{left, top, int(std::ceil(w)), int(std::ceil(h))});
    tk::Image& out = cv.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        const int sy = std::min(img.height() - 1, int((y - cv.originY() - top) / scale));
        const tk::Argb* from = img.row(sy);
        tk::Argb* row = out.row(y);
        for (int x = a.x; x < a.right(); ++x) {
            const int sx = std::min(img.width() - 1, int((x - cv.originX() - left) / scale));
            const tk::Argb p = from[sx];
            layOver(row[x], p, channel(p, 24) * alpha / 255);
        }
    }
}

// TEXT in the game's bold face at SIZE pixels: a fill from TOP to BOTTOM colour inside a dark
// outline, with a shadow below.
tk::Image styledText(const std::string& text, int size, tk::Argb top, tk::Argb bottom) {
    tk::FontSpec f;
    f.pixelSize = size;
    f.bold = true;
    f.colour = tk::rgb(255, 255, 255);
    const tk::Image mask = tk::renderText(text, f);
    const int o = std::max(2, size / 14), sh = std::max(2, size / 16);
    tk::Image out(mask.width() + 2 * o + sh, mask.height() + 2 * o + sh, 0);
    auto maskAt = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= mask.width() || y >= mask.height()) return 0;
        return channel(mask.pixel(x, y), 24);
    };
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            int edge = 0, shadow = 0;
            for (int dy = -o; dy <= o; ++dy)
                for (int dx = -o; dx <= o; ++dx)
                    if (dx * dx + dy * dy <= o * o) {
                        edge = std::max(edge, maskAt(x - o + dx, y - o + dy));
                        shadow = std::max(shadow, maskAt(x - o - sh + dx, y - o - sh + dy));
                    }
            const int fill = maskAt(x - o, y - o);
            const double t = double(y) / std::max(1, out.height() - 1);
            const tk::Argb c =
                tk::rgb(int(channel(top, 16) + (channel(bottom, 16) - channel(top, 16)) * t),
                        int(channel(top, 8) + (channel(bottom, 8) - channel(top, 8)) * t),
                        int(channel(top, 0) + (channel(bottom, 0) - channel(top, 0)) * t));
            tk::Argb p = (std::uint32_t(shadow * 150 / 255) << 24) | 0x000000;
            if (edge > 0) {
                tk::Argb e = tk::rgb(40, 20, 4) & 0x00FFFFFFu;
                p = (std::uint32_t(std::max(edge, channel(p, 24))) << 24) | e;
            }
            if (fill > 0) {
                tk::Argb q = p | 0xFF000000u;
                layOver(q, c, fill);
                p = (q & 0x00FFFFFFu) | (std::uint32_t(std::max(fill, channel(p, 24))) << 24);
            }
            out.setPixel(x, y, p);
        }
    return out;
}

// Dark bronze inside a bevelled gold rim, with rounded corners and a shadow, at opacity ALPHA:
// light words stand out on it over any gems.
void plate(tk::Canvas& cv, tk::Rect p, int alpha) {
    const tk::Rect a = drawable(cv, tk::Rect{p.x - 6, p.y - 6, p.w + 12, p.h + 14});
    tk::Image& img = cv.target();
    constexpr double kRound = 14;
    for (int y = a.y; y < a.bottom(); ++y) {
        tk::Argb* row = img.row(y);
        const double ly = y - cv.originY();
        for (int x = a.x; x < a.right(); ++x) {
            const double lx = x - cv.originX();
            // Distance inside the rounded rectangle (negative outside).
            auto inside = [&](double ox, double oy) {
                const double qx =
                    std::max(std::abs(lx - ox - p.x - p.w / 2.0) - (p.w / 2.0 - kRound), 0.0);
                const double qy =
                    std::max(std::abs(ly - oy - p.y - p.h / 2.0) - (p.h / 2.0 - kRound), 0.0);
                return kRound - std::hypot(qx, qy);
            };
            const double d = inside(0, 0);
            const double shadow = inside(3, 6);
            if (d < 0) {
                if (shadow > -6)
                    layOver(row[x], 0, int(alpha * 0.45 * std::clamp(1 + shadow / 6, 0.0, 1.0)));
                continue;
            }
            const double v = (ly - p.y) / p.h;
            tk::Argb c;
            if (d < 2.5)
                c = tk::rgb(110, 70, 16);  // the rim's dark outer line
            else if (d < 8)
                c = v < 0.5 ? tk::rgb(255, 226, 120) : tk::rgb(214, 150, 40);  // the gold rim
            else if (d < 9.5)
                c = tk::rgb(90, 52, 10);
            else
                c = tk::rgb(int(104 - 50 * v), int(60 - 32 * v), int(22 - 12 * v));
            layOver(row[x], c, std::min(255, int(alpha * std::min(1.0, d))));
        }
    }
}

// IMG at half its size, each pixel the mean of four: enough for a picture that is fading out, in
// a quarter of the memory.
std::unique_ptr<tk::Image> halfSize(const tk::Image& img) {
    const int w = (img.width() + 1) / 2, h = (img.height() + 1) / 2;
    auto half = std::make_unique<tk::Image>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const int sx = 2 * x + dx, sy = 2 * y + dy;
                    if (sx >= img.width() || sy >= img.height()) continue;
                    const tk::Argb p = img.pixel(sx, sy);
                    r += channel(p, 16), g += channel(p, 8), b += channel(p, 0), ++n;
                }
            half->setPixel(x, y, tk::rgb(r / n, g / n, b / n));
        }
    return half;
}

// Lays the half-size picture HALF over the canvas's part of box B (whose size is twice HALF's),
// at opacity ALPHA.
void layHalfOver(tk::Canvas& cv, const tk::Image& half, tk::Rect b, int alpha) {
    const tk::Rect a = drawable(cv, b);
    tk::Image& img = cv.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        const tk::Argb* from = half.row(std::min(half.height() - 1, (y - cv.originY() - b.y) / 2));
        tk::Argb* row = img.row(y);
        for (int x = a.x; x < a.right(); ++x)
            layOver(row[x], from[std::min(half.width() - 1, (x - cv.originX() - b.x) / 2)], alpha);
    }
}

// Takes the light of every pixel of the canvas's part of box B down to LEVEL/256 of itself.
void darken(tk::Canvas& cv, tk::Rect b, int level) {
    const tk::Rect a = drawable(cv, b);
    tk::Image& img = cv.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        tk::Argb* row = img.row(y);
        for (int x = a.x; x < a.right(); ++x) {
            const tk::Argb p = row[x];
            row[x] = 0xFF000000u | std::uint32_t(((channel(p, 16) * level) >> 8) << 16 |
                                                 ((channel(p, 8) * level) >> 8) << 8 |
                                                 ((channel(p, 0) * level) >> 8));
        }
    }
}

}  // namespace

FieldEffects::FieldEffects(tk::Control* parent) : tk::Control(parent, "fieldEffects") {
    setBounds(0, 0, kFrameWidth, kFrameHeight);
}

void FieldEffects::changed(tk::Rect r) {
    if (tk::Window* w = window()) w->screenChanged(r.intersect(windowRect()));
}

void FieldEffects::burst(int x, int y, tk::Argb colour, int delayMs, bool calm, bool small) {
    Item it;
    it.kind = Kind::Burst;
    it.x = x;
    it.y = y;
    it.colour = colour;
    it.age = -std::max(0, delayMs);
    it.life = kBurstMs;
    it.calm = calm;
    it.small = small;
    it.seed = seed_++;
    const int reach = small ? 90 : 2 * kCellSize + 16;
    it.extent = tk::Rect{x - reach, y - reach, 2 * reach + 1, 2 * reach + 1};
    items_.push_back(std::move(it));
    changed(items_.back().extent);
    started();
}

void FieldEffects::ring(int x, int y, bool calm) {
    Item it;
    it.kind = Kind::Ring;
    it.x = x;
    it.y = y;
    it.life = kRingMs;
    it.calm = calm;
    it.extent = kWell;
    items_.push_back(std::move(it));
    if (!calm) {
        shakeMs_ = 1;
        changed(kWell);
    }
    started();
}

std::pair<int, int> FieldEffects::shakeOffset() const {
    // A few sharp jolts, dying down.
    static constexpr std::array<std::pair<int, int>, 8> kJolts{
        {{3, -2}, {-3, 2}, {2, 3}, {-2, -3}, {3, 1}, {-2, 2}, {1, -1}, {0, 0}}};
    if (shakeMs_ <= 0 || shakeMs_ > kShakeMs) return {0, 0};
    return kJolts[std::min<std::size_t>(kJolts.size() - 1, std::size_t((shakeMs_ - 1) / kTickMs))];
}

void FieldEffects::risingFigure(int x, int y, const std::string& text, int size) {
    Item it;
    it.kind = Kind::Rise;
    it.picture = std::make_shared<tk::Image>(
        styledText(text, size, tk::rgb(255, 255, 236), tk::rgb(255, 206, 72)));
    const int w = it.picture->width(), h = it.picture->height();
    // The figure and its whole rise stay inside the well's rim.
    const int lowX = kWell.x + w / 2 + 4;
    it.x = std::clamp(x, lowX, std::max(lowX, kWell.right() - w / 2 - 4));
    const int top = kWell.y + h / 2 + kRiseLift + 6, bottom = kWell.bottom() - h / 2 - 4;
    it.y = std::clamp(y, top, bottom);
    // The whole path from where it starts to where it ends its rise.
    auto path = [&](int cy) {
        return tk::Rect{it.x - w / 2 - 2, cy - h / 2 - kRiseLift - 2, w + 4, h + kRiseLift + 6};
    };
    // A figure still rising from an earlier step of the chain: this one stands above all of its
    // path, so the two never meet; with no room above, below it; with none there either, the
    // older figures give way.
    const auto clearOfOthers = [&](int dir) {
        int cy = it.y;
        for (bool moved = true; moved;) {
            moved = false;
            for (const Item& old : items_)
                if (old.kind == Kind::Rise && !old.extent.intersect(path(cy)).empty()) {
                    cy = dir < 0 ? std::min(cy - 1, old.extent.y - (h - h / 2) - 4)
                                 : std::max(cy + 1, old.extent.bottom() + h / 2 + kRiseLift + 2);
                    moved = true;
                }
        }
        return cy;
    };
    if (const int up = clearOfOthers(-1); up >= top) {
        it.y = up;
    } else if (const int down = clearOfOthers(1); down <= bottom) {
        it.y = down;
    } else {
        for (Item& old : items_)
            if (old.kind == Kind::Rise && !old.extent.intersect(path(it.y)).empty()) {
                changed(old.extent);
                old.life = 0;
            }
        std::erase_if(items_, [](const Item& o) { return o.kind == Kind::Rise && o.life == 0; });
    }
    it.life = kRiseMs;
    it.extent = path(it.y);
    items_.push_back(std::move(it));
    changed(items_.back().extent);
    started();
}

void FieldEffects::mark(const std::string& text, int y, int size, int lifeMs, bool plate) {
    for (Item& old : items_)
        if (old.kind == Kind::Mark && old.y == y) {
            changed(old.extent);
            old.age = old.life;
        }
    Item it;
    it.kind = Kind::Mark;
    it.picture = std::make_shared<tk::Image>(
        styledText(text, size, tk::rgb(255, 250, 210), tk::rgb(232, 150, 24)));
    it.x = kWell.x + kWell.w / 2;
    it.y = y;
    it.life = lifeMs;
    it.plate = plate;
    const int w = int(it.picture->width() * 1.2), h = int(it.picture->height() * 1.2);
    it.extent = tk::Rect{it.x - w / 2 - 2, y - h / 2 - 2, w + 4, h + 4};
    if (plate)
        it.extent = tk::Rect{it.x - w / 2 - kPlateX - 8, y - h / 2 - kPlateY - 8,
                             w + 2 * kPlateX + 16, h + 2 * kPlateY + 18};
    items_.push_back(std::move(it));
    changed(items_.back().extent);
    started();
}

void FieldEffects::jar(const tk::Image& frame, bool end) {
    Item* j = nullptr;
    for (Item& it : items_)
        if (it.kind == Kind::Jar && !it.ending) j = &it;
    if (!j) {
        Item it;
        it.kind = Kind::Jar;
        it.x = kWell.x + kWell.w / 2;
        it.y = kWell.y + kWell.h / 2 + 10;
        it.life = 1 << 30;
        it.seed = seed_++;
        it.extent = kWell;
        items_.push_back(std::move(it));
        j = &items_.back();
    }
    // The picture's box, as drawn large; and the whole ground while it fades in or out.
    const auto box = [&](const tk::Image& p) {
        const int w = int(std::ceil(p.width() * kJarScale)) + 4,
                  h = int(std::ceil(p.height() * kJarScale)) + 4;
        return tk::Rect{j->x - w / 2, j->y - h / 2, w, h};
    };
    if (j->picture) changed(box(*j->picture));
    j->picture = std::make_shared<tk::Image>(frame);
    changed(box(*j->picture));
    if (end) {
        j->ending = true;
        j->endAge = j->age;
        j->life = j->age + kJarFadeMs;
    }
    if (end || j->age < kJarInMs) changed(j->extent);
    started();
}

void FieldEffects::plaque(tk::Rect words, bool on) {
    if (on && !plaqueOn_) plaqueMs_ = 0;
    const tk::Rect old = plaqueRect_;
    plaqueRect_ = tk::Rect{words.x - 30, words.y - 10, words.w + 60, words.h + 20};
    plaqueOn_ = on;
    changed(tk::Rect{old.x - 6, old.y - 6, old.w + 12, old.h + 12});
    changed(tk::Rect{plaqueRect_.x - 6, plaqueRect_.y - 6, plaqueRect_.w + 12, plaqueRect_.h + 12});
    if (on) started();
}

void FieldEffects::fadeFrom(const tk::Image& surface) {
    fade_ = halfSize(surface);
    fadeMs_ = 0;
    changed(tk::Rect{0, 0, kFrameWidth, kFrameHeight});
    started();
}

void FieldEffects::dimWell() {
    if (dimMs_ > 0) return;
    dimMs_ = 1;
    changed(kWell);
    started();
}

void FieldEffects::curtainFrom(const tk::Image& frame) {
    if (!top_) return;
    top_->start(frame);
    started();
}

bool FieldEffects::curtainOn() const {
    return top_ && top_->running();
}

bool FieldEffects::tick() {
    for (Item& it : items_) {
        if (it.kind == Kind::Jar && !it.ending && it.age >= kJarInMs) {
            // A jar in full light changes only where its stars fly (its picture marks itself
            // when it changes).
            for (int i = 0; i < kJarStars; ++i) {
                changed(starBox(jarStar(it.x, it.y, it.seed, i, it.age)).intersect(kWell));
                changed(
                    starBox(jarStar(it.x, it.y, it.seed, i, it.age + kTickMs)).intersect(kWell));
            }
        } else if (it.age >= 0 || it.age + kTickMs > 0) {
            changed(it.extent);
        }
        it.age += kTickMs;
    }
    std::erase_if(items_, [](const Item& it) { return it.age >= it.life; });
    if (fade_) {
        // The rows whose fade overlaps this tick.
        const int from = firstRowAfter(fadeMs_ - kRowFadeMs);
        fadeMs_ += kTickMs;
        const int to = firstRowAfter(fadeMs_ + 1);
        changed(tk::Rect{0, std::max(0, from - 1), kFrameWidth, to - from + 2});
        if (fadeMs_ >= kFadeMs) fade_.reset();
    }
    if (plaqueOn_ && plaqueMs_ < kPlaqueInMs) {
        plaqueMs_ += kTickMs;
        changed(plaqueRect_);
    }
    if (dimMs_ > 0 && dimMs_ < kDimMs) {
        dimMs_ = std::min(kDimMs, dimMs_ + kTickMs);
        changed(kWell);
    }
    if (shakeMs_ > 0) {
        // The well is drawn again at each jolt, and once more where it rests.
        shakeMs_ += kTickMs;
        changed(kWell);
        if (shakeMs_ > kShakeMs) shakeMs_ = 0;
    }
    const bool curtain = top_ && top_->running() && top_->tick(kTickMs);
    return !items_.empty() || fade_ != nullptr || (plaqueOn_ && plaqueMs_ < kPlaqueInMs) ||
           (dimMs_ > 0 && dimMs_ < kDimMs) || shakeMs_ > 0 || curtain;
}

void FieldEffects::clear() {
    for (const Item& it : items_) changed(it.extent);
    items_.clear();
    if (fade_) changed(tk::Rect{0, 0, kFrameWidth, kFrameHeight});
    fade_.reset();
    if (plaqueOn_) plaque(plaqueRect_, false);
    if (dimMs_ > 0 || shakeMs_ > 0) changed(kWell);
    dimMs_ = 0;
    shakeMs_ = 0;
}

void FieldEffects::paint(tk::Canvas& canvas) {
    if (fade_) drawFade(canvas);
    if (dimMs_ > 0) drawDim(canvas);
    if (plaqueOn_) drawPlaque(canvas);
    for (const Item& it : items_) {
        if (it.age < 0) continue;
        if (drawable(canvas, it.extent).empty()) continue;
        drawItem(canvas, it);
    }
    if (shakeMs_ > 0) drawShake(canvas);
}

void FieldEffects::drawItem(tk::Canvas& canvas, const Item& it) const {
    switch (it.kind) {
        case Kind::Burst: drawBurst(canvas, it, it.age); break;
        case Kind::Ring: drawRing(canvas, it, it.age); break;
        case Kind::Rise:
        case Kind::Mark: drawText(canvas, it, it.age); break;
        case Kind::Jar: drawJar(canvas, it, it.age); break;
    }
}

void FieldEffects::drawBurst(tk::Canvas& cv, const Item& it, int t) const {
    const double u = double(t) / it.life;  // 0..1 over the burst
    const tk::Argb c = it.colour;
    // The glow swells fast to its full width, then fades as the shards fly.
    const double span = it.small ? 0.62 * kBurstSpan : kBurstSpan;
    const double grow = 1 - std::pow(1 - std::min(1.0, u / 0.45), 3);
    const double radius = span / 2 * (0.35 + 0.65 * grow);
    const double fade = std::pow(1 - u, 1.3);
    if (it.small) {
        // One of a whole board's: a single glow, a little hotter, and a core; the wave of light
        // over the board is their flash.
        softBall(cv, it.x, it.y, radius, brighter(c, it.calm ? 0.1 : 0.2),
                 int(it.calm ? 190 * fade : 520 * fade));
        if (!it.calm && t < 160)
            softBall(cv, it.x, it.y, 12 + 8 * t / 160.0, tk::rgb(255, 255, 255),
                     int(255 * (1 - t / 160.0)), true);
        drawShards(cv, it, u);
        return;
    }
    // The glow: the gem's colour laid over what is behind it, thick in the middle and thinning
    // out, so that over a blue or violet well a red gem's glow still reads red (light only added
    // would turn it violet); then hotter light added in its middle.
    softBall(cv, it.x, it.y, radius, c, int(it.calm ? 200 * fade : 520 * fade), true);
    softBall(cv, it.x, it.y, radius * 0.55, brighter(c, it.calm ? 0.15 : 0.3),
             int(it.calm ? 60 * fade : 240 * fade));
    // A thin shock ring runs out ahead of the glow.
    if (!it.small && t < 240) {
        const double k = t / 240.0;
        const double rr = 18 + (span / 2 - 26) * (1 - (1 - k) * (1 - k));
        shockRing(cv, it.x, it.y, rr, 5, brighter(c, 0.5), int(200 * (1 - k)));
    }
    if (!it.calm) {
        // The flash: the cell and its neighbours light up white for an instant.
        if (t < 100)
            softBall(cv, it.x, it.y, 54, tk::rgb(255, 250, 235), int(230 * (1 - t / 100.0)));
        // The white-hot core where the gem was.
        if (t < 160) {
            const double k = 1 - t / 160.0;
            softBall(cv, it.x, it.y, 16 + 14 * (1 - k), tk::rgb(255, 255, 255), int(255 * k), true);
        }
    }
    drawShards(cv, it, u);
}

void FieldEffects::drawShards(tk::Canvas& cv, const Item& it, double u) const {
    // Each flies out along its own line, slowing, and fades on the way: a bright head with a
    // trail in the gem's colour.
    const int shards = it.small ? 5 : 8 + int(hash01(it.seed, 99) * 5);
    // A whole board's bursts trail in fewer, longer steps.
    const int steps = it.small ? 2 : 5;
    const double ease = 1 - std::pow(1 - u, 2.4);
    const tk::Argb head = brighter(it.colour, it.calm ? 0.3 : 0.7);
    for (int i = 0; i < shards; ++i) {
        const double angle = (i + 0.7 * hash01(it.seed, i)) * 2 * std::numbers::pi / shards;
        const double reach = kCellSize * (it.small ? 0.8 + 0.6 * hash01(it.seed, i + 40)
                                                   : 1.0 + 1.0 * hash01(it.seed, i + 40));
        const double dx = std::cos(angle), dy = std::sin(angle);
        const double d = 10 + reach * ease;
        const double trail = 30 * (1 - u) + 6;
        const double size = (it.small ? 3.4 : 4.4 + 2.0 * hash01(it.seed, i + 80)) * (1 - 0.3 * u);
        const int level = int((it.calm ? 150 : 360) * std::pow(1 - u, 1.1));
        for (int k = steps; k >= 0; --k) {
            const double back = std::min(trail * k / steps, d - 6);
            const double kk = 5.0 * k / steps;
            // The trail is laid over in the gem's colour, the head's light added.
            softBall(cv, it.x + dx * (d - back), it.y + dy * (d - back), size * (1 - kk * 0.12) + 1,
                     k == 0 ? head : it.colour, int(level * (6 - kk) / 6), k != 0);
        }
        softBall(cv, it.x + dx * d, it.y + dy * d, size * 0.6, tk::rgb(255, 255, 255),
                 it.calm ? 0 : level, true);
    }
}

void FieldEffects::shockRing(tk::Canvas& cv, double cx, double cy, double r, double w, tk::Argb c,
                             int strength) const {
    const int ir = int(r + w + 1);
    const tk::Rect a = drawable(cv, tk::Rect{int(cx) - ir, int(cy) - ir, 2 * ir + 2, 2 * ir + 2});
    const double ox = cx + cv.originX(), oy = cy + cv.originY();
    tk::Image& img = cv.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        tk::Argb* row = img.row(y);
        for (int x = a.x; x < a.right(); ++x) {
            const double d = std::abs(std::hypot(x - ox, y - oy) - r) / w;
            if (d >= 1) continue;
            addLight(row[x], channel(c, 16), channel(c, 8), channel(c, 0),
                     int(strength * (1 - d) * (1 - d)));
        }
    }
}

void FieldEffects::drawRing(tk::Canvas& cv, const Item& it, int t) const {
    const double u = double(t) / it.life;
    const double r = 20 + 700 * (1 - std::pow(1 - u, 1.6));
    const double w = 16 + 20 * u;
    const int strength = int((it.calm ? 140 : 230) * (1 - u));
    const tk::Rect a =
        drawable(cv, kWell.intersect(tk::Rect{it.x - int(r + w), it.y - int(r + w),
                                              2 * int(r + w) + 1, 2 * int(r + w) + 1}));
    const double ox = it.x + cv.originX(), oy = it.y + cv.originY();
    tk::Image& img = cv.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        tk::Argb* row = img.row(y);
        const double dy = y - oy;
        const double outer2 = (r + w) * (r + w) - dy * dy;
        if (outer2 <= 0) continue;
        const double inner2 = (r - w) * (r - w) - dy * dy;
        const double xo = std::sqrt(outer2), xi = inner2 > 0 && r > w ? std::sqrt(inner2) : 0;
        for (int side : {-1, 1}) {
            const int from = int(ox + side * xi), to = int(ox + side * xo);
            const int x0 = std::max(a.x, std::min(from, to)),
                      x1 = std::min(a.right() - 1, std::max(from, to));
            for (int x = x0; x <= x1; ++x) {
                const double d = std::abs(std::hypot(x - ox, dy) - r) / w;
                if (d >= 1) continue;
                const int level = int(strength * (1 - d) * (1 - d));
                addLight(row[x], 255, 214, 140, level);
                if (d < 0.3 && !it.calm) addLight(row[x], 255, 255, 255, level / 2);
            }
        }
    }
    if (t < 200) softBall(cv, it.x, it.y, 60 + 160 * u, tk::rgb(255, 190, 90), int(strength * 0.8));
}

void FieldEffects::drawText(tk::Canvas& cv, const Item& it, int t) const {
    const double u = double(t) / it.life;
    if (it.kind == Kind::Rise) {
        // Up from the group, slowing; it fades over its last half.
        const double lift = kRiseLift * (1 - std::pow(1 - u, 2));
        const int alpha = u < 0.5 ? 255 : int(255 * (1 - (u - 0.5) / 0.5));
        const double pop = t < 120 ? 0.6 + 0.4 * t / 120.0 + 0.12 * std::sin(t / 120.0 * 3.14) : 1;
        drawScaled(cv, *it.picture, it.x, it.y - lift, pop, alpha);
        return;
    }
    // A mark pops in from 0.6 of its size past 1.1, settles, stays and fades out over its last
    // quarter.
    constexpr int kOver = kPopMs * 3 / 5;
    double scale = 1;
    if (t < kOver)
        scale = 0.6 + 0.5 * (1 - std::pow(1 - double(t) / kOver, 2));
    else if (t < kPopMs)
        scale = 1.1 - 0.1 * (t - kOver) / double(kPopMs - kOver);
    const int alpha = u < 0.75 ? 255 : int(255 * (1 - (u - 0.75) / 0.25));
    if (it.plate) {
        const int w = int(it.picture->width() * scale), h = int(it.picture->height() * scale);
        plate(cv,
              tk::Rect{it.x - w / 2 - kPlateX, it.y - h / 2 - kPlateY, w + 2 * kPlateX,
                       h + 2 * kPlateY},
              alpha * 235 / 255);
    }
    drawScaled(cv, *it.picture, it.x, it.y, scale, alpha);
}

void FieldEffects::drawJar(tk::Canvas& cv, const Item& it, int t) const {
    const int fadeOut = it.ending ? std::max(0, 255 - 255 * (t - it.endAge) / kJarFadeMs) : 255;
    const int in = std::min(255, t * 255 / kJarInMs);
    const int alpha = std::min(fadeOut, in);
    // The well dims by two fifths, a warm halo stands behind the jar, the jar large over it,
    // stars flying out over the board.
    darken(cv, kWell, 256 - 102 * alpha / 255);
    jarHalo(cv, it.x, it.y, alpha);
    if (it.picture) drawScaled(cv, *it.picture, it.x, it.y, kJarScale, alpha);
    for (int i = 0; i < kJarStars; ++i) {
        const Star star = jarStar(it.x, it.y, it.seed, i, t);
        const double sx = star.x, sy = star.y, v = star.life;
        const int level = int(alpha * (1 - v));
        const tk::Argb gold = tk::rgb(255, 222, 120);
        softBall(cv, sx, sy, 9, gold, level * 3 / 4);
        softBall(cv, sx, sy, 3.5, tk::rgb(255, 255, 255), level, true);
        for (int k = 1; k <= 6; ++k) {
            const int l = level * (7 - k) / 8;
            softBall(cv, sx + k * 1.8, sy, 1.8, gold, l);
            softBall(cv, sx - k * 1.8, sy, 1.8, gold, l);
            softBall(cv, sx, sy + k * 1.8, 1.8, gold, l);
            softBall(cv, sx, sy - k * 1.8, 1.8, gold, l);
        }
    }
}

void FieldEffects::drawFade(tk::Canvas& cv) const {
    const tk::Rect a = drawable(cv, tk::Rect{0, 0, kFrameWidth, kFrameHeight});
    tk::Image& img = cv.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        const int alpha =
            std::clamp(255 - 255 * (fadeMs_ - rowFadeStart(y - cv.originY())) / kRowFadeMs, 0, 255);
        if (alpha == 0) continue;
        const tk::Argb* from = fade_->row(std::min(fade_->height() - 1, (y - cv.originY()) / 2));
        tk::Argb* row = img.row(y);
        for (int x = a.x; x < a.right(); ++x)
            layOver(row[x], from[std::min(fade_->width() - 1, (x - cv.originX()) / 2)], alpha);
    }
}

void FieldEffects::drawDim(tk::Canvas& cv) const {
    // Half the light at the end, eased in.
    const double k = double(std::min(dimMs_, kDimMs)) / kDimMs;
    darken(cv, kWell, 256 - int(128 * k * (2 - k)));
}

void FieldEffects::drawShake(tk::Canvas& cv) const {
    const auto [dx, dy] = shakeOffset();
    if (dx == 0 && dy == 0) return;
    // The well as composed so far, moved by (dx, dy); its edge is drawn out into the gap the
    // move leaves. Only what this frame drew is read.
    const tk::Rect a = drawable(cv, kWell);
    if (a.empty()) return;
    tk::Image& img = cv.target();
    std::vector<tk::Argb> before(std::size_t(a.w) * std::size_t(a.h));
    for (int y = 0; y < a.h; ++y) {
        const tk::Argb* row = img.row(a.y + y) + a.x;
        std::copy(row, row + a.w, before.begin() + std::ptrdiff_t(y) * a.w);
    }
    for (int y = 0; y < a.h; ++y) {
        const int sy = std::clamp(y - dy, 0, a.h - 1);
        const tk::Argb* from = before.data() + std::ptrdiff_t(sy) * a.w;
        tk::Argb* row = img.row(a.y + y) + a.x;
        for (int x = 0; x < a.w; ++x) row[x] = from[std::clamp(x - dx, 0, a.w - 1)];
    }
}

void FieldEffects::drawPlaque(tk::Canvas& cv) const {
    plate(cv, plaqueRect_, std::min(255, 255 * std::max(plaqueMs_, 1) / kPlaqueInMs));
}

TopLayer::TopLayer(tk::Control* parent) : tk::Control(parent, "topLayer") {
    setBounds(0, 0, kFrameWidth, kFrameHeight);
}

void TopLayer::start(const tk::Image& frame) {
    picture_ = halfSize(frame);
    ms_ = 0;
    invalidate();
}

bool TopLayer::tick(int ms) {
    if (!picture_) return false;
    ms_ += ms;
    invalidate();
    if (ms_ >= FieldEffects::kCurtainMs) picture_.reset();
    return picture_ != nullptr;
}

void TopLayer::paint(tk::Canvas& canvas) {
    if (!picture_) return;
    // Eased out: most of the old scene goes in the first half.
    const double u = std::min(1.0, double(ms_) / FieldEffects::kCurtainMs);
    const int alpha = int(255 * (1 - u) * (1 - u));
    layHalfOver(canvas, *picture_, tk::Rect{0, 0, 2 * picture_->width(), 2 * picture_->height()},
                alpha);
}

}  // namespace lumcrest
