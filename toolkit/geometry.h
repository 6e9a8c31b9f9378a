// Rectangles and colours shared by every part of the toolkit.
#pragma once

#include <algorithm>
#include <cstdint>

namespace tk {

// A colour as 0xAARRGGBB with straight (not premultiplied) alpha.
using Argb = std::uint32_t;

constexpr Argb rgb(int r, int g, int b) {
    return 0xFF000000u | (std::uint32_t(r & 255) << 16) | (std::uint32_t(g & 255) << 8) |
           std::uint32_t(b & 255);
}
constexpr int redOf(Argb c) {
    return int((c >> 16) & 255);
}
constexpr int greenOf(Argb c) {
    return int((c >> 8) & 255);
}
constexpr int blueOf(Argb c) {
    return int(c & 255);
}
constexpr int alphaOf(Argb c) {
    return int(c >> 24);
}

// A rectangle with its left/top corner included and right/bottom edges excluded.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;

    constexpr int right() const { return x + w; }
    constexpr int bottom() const { return y + h; }
    constexpr bool empty() const { return w <= 0 || h <= 0; }
    constexpr bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + w && py < y + h;
    }
    // The overlap of both rectangles; empty when they do not meet.
    constexpr Rect intersect(const Rect& o) const {
        int l = std::max(x, o.x), t = std::max(y, o.y);
        int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
        if (r <= l || b <= t) return Rect{l, t, 0, 0};
        return Rect{l, t, r - l, b - t};
    }
    // The smallest rectangle holding both; an empty side is ignored.
    constexpr Rect unite(const Rect& o) const {
        if (empty()) return o;
        if (o.empty()) return *this;
        int l = std::min(x, o.x), t = std::min(y, o.y);
        int r = std::max(right(), o.right()), b = std::max(bottom(), o.bottom());
        return Rect{l, t, r - l, b - t};
    }
    constexpr Rect translated(int dx, int dy) const { return Rect{x + dx, y + dy, w, h}; }
    constexpr bool operator==(const Rect&) const = default;
};

}  // namespace tk
