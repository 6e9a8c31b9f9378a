#include "toolkit/canvas.h"

#include <algorithm>

namespace tk {

namespace {

// Blends SRC over DST by SRC's alpha; the result is opaque where DST was.
inline Argb blend(Argb dst, Argb src) {
    unsigned a = src >> 24;
    if (a == 255) return src;
    if (a == 0) return dst;
    unsigned na = 255 - a;
    unsigned r = (((src >> 16) & 255) * a + ((dst >> 16) & 255) * na + 127) / 255;
    unsigned g = (((src >> 8) & 255) * a + ((dst >> 8) & 255) * na + 127) / 255;
    unsigned b = ((src & 255) * a + (dst & 255) * na + 127) / 255;
    unsigned da = dst >> 24;
    unsigned outA = a + (da * na + 127) / 255;
    return (outA << 24) | (r << 16) | (g << 8) | b;
}

// Copies N pixels made opaque, four at a time (which the compiler turns into one vector step).
void opaqueCopy(const Argb* __restrict from, Argb* __restrict to, int n) {
    constexpr Argb kOpaque = 0xFF000000u;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        to[i] = from[i] | kOpaque;
        to[i + 1] = from[i + 1] | kOpaque;
        to[i + 2] = from[i + 2] | kOpaque;
        to[i + 3] = from[i + 3] | kOpaque;
    }
    for (; i < n; ++i) to[i] = from[i] | kOpaque;
}

}  // namespace

Canvas::Canvas(Image& target, Rect clip, int originX, int originY)
    : target_(target),
      clip_(clip.intersect(Rect{0, 0, target.width(), target.height()})),
      ox_(originX),
      oy_(originY) {}

Canvas Canvas::child(Rect area) const {
    Rect abs = area.translated(ox_, oy_);
    Canvas c(target_, clip_.intersect(abs), abs.x, abs.y);
    return c;
}

void Canvas::fillRect(Rect r, Argb colour) {
    Rect a = r.translated(ox_, oy_).intersect(clip_);
    for (int y = a.y; y < a.bottom(); ++y) {
        Argb* row = target_.row(y);
        for (int x = a.x; x < a.right(); ++x) row[x] = blend(row[x], colour);
    }
}

void Canvas::setPixel(int x, int y, Argb colour) {
    int ax = x + ox_, ay = y + oy_;
    if (clip_.contains(ax, ay)) target_.setPixel(ax, ay, colour);
}

void Canvas::drawImage(const Image& image, Rect src, int x, int y) {
    src = src.intersect(Rect{0, 0, image.width(), image.height()});
    if (src.empty()) return;
    Rect dst = Rect{x + ox_, y + oy_, src.w, src.h}.intersect(clip_);
    int dx = src.x - (x + ox_), dy = src.y - (y + oy_);
    for (int ty = dst.y; ty < dst.bottom(); ++ty) {
        const Argb* s = image.row(ty + dy);
        Argb* d = target_.row(ty);
        for (int tx = dst.x; tx < dst.right(); ++tx) d[tx] = blend(d[tx], s[tx + dx]);
    }
}

void Canvas::drawImageKeyed(const Image& image, int x, int y, Argb key) {
    Rect dst = Rect{x + ox_, y + oy_, image.width(), image.height()}.intersect(clip_);
    int dx = -(x + ox_), dy = -(y + oy_);
    for (int ty = dst.y; ty < dst.bottom(); ++ty) {
        const Argb* s = image.row(ty + dy);
        Argb* d = target_.row(ty);
        for (int tx = dst.x; tx < dst.right(); ++tx) {
            Argb p = s[tx + dx];
            if (p != key) d[tx] = p | 0xFF000000u;
        }
    }
}

void Canvas::fillPattern(Rect r, const Image& pattern) {
    if (pattern.empty()) return;
    Rect a = r.translated(ox_, oy_).intersect(clip_);
    int pw = pattern.width(), ph = pattern.height();
    // Erasing a cell fills with the pattern on every tick of play: the row is copied in runs
    // that end where the pattern repeats, without a division per pixel.
    const int firstColumn = a.x % pw;
    for (int y = a.y; y < a.bottom(); ++y) {
        const Argb* s = pattern.row(y % ph);
        Argb* d = target_.row(y);
        for (int x = a.x, sx = firstColumn; x < a.right(); sx = 0) {
            const int run = std::min(a.right() - x, pw - sx);
            opaqueCopy(s + sx, d + x, run);
            x += run;
        }
    }
}

void Canvas::fillGradient(Rect r, Argb top, Argb bottom) {
    Rect whole = r.translated(ox_, oy_);
    Rect a = whole.intersect(clip_);
    int span = whole.h > 1 ? whole.h - 1 : 1;
    for (int y = a.y; y < a.bottom(); ++y) {
        int t = y - whole.y;
        auto mix = [&](int s, int e) { return (s * (span - t) + e * t) / span; };
        Argb c = rgb(mix(redOf(top), redOf(bottom)), mix(greenOf(top), greenOf(bottom)),
                     mix(blueOf(top), blueOf(bottom)));
        Argb* d = target_.row(y);
        for (int x = a.x; x < a.right(); ++x) d[x] = c;
    }
}

void Canvas::frameRect(Rect r, Argb colour) {
    fillRect(Rect{r.x, r.y, r.w, 1}, colour);
    fillRect(Rect{r.x, r.bottom() - 1, r.w, 1}, colour);
    fillRect(Rect{r.x, r.y + 1, 1, r.h - 2}, colour);
    fillRect(Rect{r.right() - 1, r.y + 1, 1, r.h - 2}, colour);
}

}  // namespace tk
