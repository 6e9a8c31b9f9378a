#include "toolkit/sdl/frame_scaling.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tk::sdl {

namespace {

// Room left around a window on the desktop: its title bar and borders, and some desktop.
constexpr int kMarginW = 48, kMarginH = 96;

// Floor division that rounds toward minus infinity (pointer positions left of the frame).
int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
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
    Placement p;
    if (frameW <= 0 || frameH <= 0 || surfW <= 0 || surfH <= 0) return p;
    int k = std::min(surfW / frameW, surfH / frameH);
    if (k >= 1) {
        p.whole = k;
        p.width = frameW * k;
        p.height = frameH * k;
    } else {
        // Smaller than the frame: shrink to fit, keeping the frame's shape.
        p.whole = 0;
        double f = std::min(double(surfW) / frameW, double(surfH) / frameH);
        p.width = std::max(1, std::min(surfW, int(std::lround(frameW * f))));
        p.height = std::max(1, std::min(surfH, int(std::lround(frameH * f))));
    }
    p.x = (surfW - p.width) / 2;
    p.y = (surfH - p.height) / 2;
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
    if (p.whole > 0) {
        const int k = p.whole;
        for (int y = dst.y; y < dst.bottom(); ++y) {
            const Argb* src = frame + std::size_t((y - p.y) / k) * frameW;
            Argb* to = out + std::size_t(y - dst.y) * outStride;
            int x = dst.x;
            // Runs of K equal pixels; the first and last run may be cut by DST.
            while (x < dst.right()) {
                int fx = (x - p.x) / k;
                int runEnd = std::min(dst.right(), p.x + (fx + 1) * k);
                Argb c = src[fx];
                for (; x < runEnd; ++x) to[x - dst.x] = c;
            }
        }
        return;
    }
    // Bilinear, each surface pixel from the frame point under its centre, so that any area
    // gives the same pixels as the whole frame would.
    const double sxStep = double(frameW) / p.width, syStep = double(frameH) / p.height;
    for (int y = dst.y; y < dst.bottom(); ++y) {
        double fy = (y - p.y + 0.5) * syStep - 0.5;
        fy = std::clamp(fy, 0.0, double(frameH - 1));
        int y0 = int(fy), y1 = std::min(frameH - 1, y0 + 1);
        int wy = int((fy - y0) * 256);
        const Argb* r0 = frame + std::size_t(y0) * frameW;
        const Argb* r1 = frame + std::size_t(y1) * frameW;
        Argb* to = out + std::size_t(y - dst.y) * outStride;
        for (int x = dst.x; x < dst.right(); ++x) {
            double fx = (x - p.x + 0.5) * sxStep - 0.5;
            fx = std::clamp(fx, 0.0, double(frameW - 1));
            int x0 = int(fx), x1 = std::min(frameW - 1, x0 + 1);
            int wx = int((fx - x0) * 256);
            Argb c = 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                int a = int((r0[x0] >> shift) & 255), b = int((r0[x1] >> shift) & 255);
                int c0 = int((r1[x0] >> shift) & 255), d = int((r1[x1] >> shift) & 255);
                int top = a * (256 - wx) + b * wx, bottom = c0 * (256 - wx) + d * wx;
                int v = (top * (256 - wy) + bottom * wy + (1 << 15)) >> 16;
                c |= Argb(v) << shift;
            }
            to[x - dst.x] = c;
        }
    }
}

}  // namespace tk::sdl
