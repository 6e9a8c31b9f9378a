#include "toolkit/sdl/frame_scaling.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tk::sdl {

namespace {

// Room left around a window on the desktop: its title bar and borders, and some desktop.
constexpr int kMarginW = 48, kMarginH = 96;

// Floor division that rounds toward minus infinity (pointer positions left of the frame).
int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The frame at the largest size that fits SURFW x SURFH keeping its shape, centred.
Placement fitSmoothly(int frameW, int frameH, int surfW, int surfH) {
    Placement p;
    p.whole = 0;
    if (std::int64_t(surfW) * frameH >= std::int64_t(surfH) * frameW) {
        // The height decides (a wide screen): as tall as the surface.
        p.height = surfH;
        p.width = int((std::int64_t(frameW) * surfH * 2 + frameH) / (2 * frameH));
    } else {
        p.width = surfW;
        p.height = int((std::int64_t(frameH) * surfW * 2 + frameW) / (2 * frameW));
    }
    p.width = std::clamp(p.width, 1, surfW);
    p.height = std::clamp(p.height, 1, surfH);
    p.x = (surfW - p.width) / 2;
    p.y = (surfH - p.height) / 2;
    return p;
}

// Whole scale K: runs of K equal pixels per frame pixel, and K equal rows per frame row: a row
// is worked out once and copied for the others (at scale 2 that halves the work of every change
// sent during play).
void drawNearest(const Argb* frame, int frameW, const Placement& p, Rect dst, Argb* out,
                 int outStride) {
    const int k = p.whole;
    const Argb* lastSrc = nullptr;
    const Argb* lastRow = nullptr;
    for (int y = dst.y; y < dst.bottom(); ++y) {
        const Argb* src = frame + std::size_t((y - p.y) / k) * frameW;
        Argb* to = out + std::size_t(y - dst.y) * outStride;
        if (src == lastSrc) {
            std::memcpy(to, lastRow, std::size_t(dst.w) * sizeof(Argb));
            continue;
        }
        // The first run may be cut by DST, the ones after it are whole but for the last.
        int fx = (dst.x - p.x) / k;
        const int firstEnd = std::min(dst.right(), p.x + (fx + 1) * k);
        Argb* at = to;
        for (int x = dst.x; x < firstEnd; ++x) *at++ = src[fx];
        Argb* const end = to + dst.w;
        while (end - at >= k) {
            const Argb c = src[++fx];
            for (int i = 0; i < k; ++i) *at++ = c;
        }
        if (at < end) {
            const Argb c = src[++fx];
            while (at < end) *at++ = c;
        }
        lastSrc = src;
        lastRow = to;
    }
}

// Where surface pixel V (counted from the frame's place) reads along one axis of a smooth
// scale: the frame pixel before the point under its centre, the one after it, and the weight
// (0..256) of the one after. Only V decides, so any area gives the pixels the whole frame would.
struct Tap {
    int before, after, weight;
};
Tap tapAt(int v, double step, int frameSize) {
    double f = std::clamp((v + 0.5) * step - 0.5, 0.0, double(frameSize - 1));
    int before = int(f);
    return Tap{before, std::min(frameSize - 1, before + 1), int((f - before) * 256)};
}

// A mix of A and B with B's WEIGHT (0..256), red and blue in one step, green in another.
inline Argb mix(Argb a, Argb b, unsigned weight) {
    const unsigned keep = 256 - weight;
    Argb rb = ((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight + 0x800080u) >> 8;
    Argb g = ((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight + 0x008000u) >> 8;
    return (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

// Bilinear, each surface pixel from the frame point under its centre: the two frame rows are
// blended once per row of the area (only the columns it reads), then each surface pixel blends
// two of those. The columns' taps are worked out once per area.
void drawSmooth(const Argb* frame, int frameW, int frameH, const Placement& p, Rect dst, Argb* out,
                int outStride) {
    const double xStep = double(frameW) / p.width, yStep = double(frameH) / p.height;
    std::vector<Tap> columns(std::size_t(dst.w));
    for (int i = 0; i < dst.w; ++i) columns[std::size_t(i)] = tapAt(dst.x - p.x + i, xStep, frameW);
    const int first = columns.front().before, count = columns.back().after - first + 1;
    std::vector<Argb> rowMix(static_cast<std::size_t>(count));
    for (int y = dst.y; y < dst.bottom(); ++y) {
        const Tap row = tapAt(y - p.y, yStep, frameH);
        const Argb* r0 = frame + std::size_t(row.before) * frameW + first;
        const Argb* r1 = frame + std::size_t(row.after) * frameW + first;
        const Argb* mixed = r0;
        if (row.weight > 0) {
            for (int c = 0; c < count; ++c)
                rowMix[std::size_t(c)] = mix(r0[c], r1[c], unsigned(row.weight));
            mixed = rowMix.data();
        }
        Argb* to = out + std::size_t(y - dst.y) * outStride;
        for (int i = 0; i < dst.w; ++i) {
            const Tap& c = columns[std::size_t(i)];
            to[i] = 0xFF000000u |
                    mix(mixed[c.before - first], mixed[c.after - first], unsigned(c.weight));
        }
    }
}

}  // namespace

int autoScale(int frameW, int frameH, int usableW, int usableH) {
    int best = 1;
    for (int k = 2; k <= kMaxScale; ++k)
        if (frameW * k + kMarginW <= usableW && frameH * k + kMarginH <= usableH) best = k;
    return best;
}

int largestFittingScale(int frameW, int frameH, int usableW, int usableH) {
    int best = 1;
    for (int k = 2; k <= kMaxScale; ++k)
        if (frameW * k <= usableW && frameH * k <= usableH) best = k;
    return best;
}

Rect placeWindow(int frameW, int frameH, int scale, Rect around, Rect usable) {
    Rect r{0, 0, frameW * scale, frameH * scale};
    if (!usable.empty() && (r.w > usable.w || r.h > usable.h)) {
        // Not even the frame's own size fits (a very small screen): as large as fits.
        Placement p = fitFrame(frameW, frameH, usable.w, usable.h);
        r.w = p.width;
        r.h = p.height;
    }
    r.x = around.x + (around.w - r.w) / 2;
    r.y = around.y + (around.h - r.h) / 2;
    if (usable.empty()) return r;
    r.x = std::clamp(r.x, usable.x, usable.right() - r.w);
    r.y = std::clamp(r.y, usable.y, usable.bottom() - r.h);
    return r;
}

Placement fitFrame(int frameW, int frameH, int surfW, int surfH) {
    if (frameW <= 0 || frameH <= 0 || surfW <= 0 || surfH <= 0) return Placement{};
    int k = std::min(surfW / frameW, surfH / frameH);
    // Smaller than the frame: shrunk to fit, keeping the frame's shape.
    if (k < 1) return fitSmoothly(frameW, frameH, surfW, surfH);
    Placement p;
    p.whole = k;
    p.width = frameW * k;
    p.height = frameH * k;
    p.x = (surfW - p.width) / 2;
    p.y = (surfH - p.height) / 2;
    return p;
}

Placement fitFullscreen(int frameW, int frameH, int screenW, int screenH) {
    Placement p = fitFrame(frameW, frameH, screenW, screenH);
    if (p.whole > 0 && p.height * 100 < kWholeFillPercent * screenH)
        return fitSmoothly(frameW, frameH, screenW, screenH);
    return p;
}

Rect surfaceArea(const Placement& p, int frameW, int frameH, Rect r) {
    if (p.whole > 0)
        return Rect{p.x + r.x * p.whole, p.y + r.y * p.whole, r.w * p.whole, r.h * p.whole};
    // Bilinear: a surface pixel reads the two frame pixels around its centre.
    auto lo = [](int v, int size, int out) { return int(std::floor(double(v - 1) * out / size)); };
    auto hi = [](int v, int size, int out) { return int(std::ceil(double(v + 1) * out / size)); };
    int l = std::max(0, lo(r.x, frameW, p.width)), t = std::max(0, lo(r.y, frameH, p.height));
    int rr = std::min(p.width, hi(r.right(), frameW, p.width));
    int b = std::min(p.height, hi(r.bottom(), frameH, p.height));
    if (rr <= l || b <= t) return Rect{p.x + l, p.y + t, 0, 0};
    return Rect{p.x + l, p.y + t, rr - l, b - t};
}

bool toFrame(const Placement& p, int frameW, int frameH, int sx, int sy, int& fx, int& fy) {
    int dx = sx - p.x, dy = sy - p.y;
    if (p.whole > 0) {
        fx = floorDiv(dx, p.whole);
        fy = floorDiv(dy, p.whole);
    } else {
        // The frame pixel under the centre of the surface pixel.
        fx = int(std::floor((dx + 0.5) * frameW / std::max(1, p.width)));
        fy = int(std::floor((dy + 0.5) * frameH / std::max(1, p.height)));
    }
    return fx >= 0 && fy >= 0 && fx < frameW && fy < frameH;
}

void drawScaled(const Argb* frame, int frameW, int frameH, const Placement& p, Rect dst, Argb* out,
                int outStride) {
    const Rect asked = dst;
    dst = dst.intersect(Rect{p.x, p.y, p.width, p.height});
    if (dst.empty()) return;
    // OUT is the place of the area asked for; what lies outside the frame is left alone.
    out += std::ptrdiff_t(dst.y - asked.y) * outStride + (dst.x - asked.x);
    if (p.whole > 0)
        drawNearest(frame, frameW, p, dst, out, outStride);
    else
        drawSmooth(frame, frameW, frameH, p, dst, out, outStride);
}

}  // namespace tk::sdl
