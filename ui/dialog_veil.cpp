#include "ui/dialog_veil.h"

#include <algorithm>
#include <cmath>

namespace lumcrest {

DialogVeil::DialogVeil(tk::Control* parent, std::string name)
    : tk::Control(parent, std::move(name)) {
    setVisible(false);
}

void DialogVeil::sync() {
    if (parent() && (width() != parent()->width() || height() != parent()->height()))
        setBounds(0, 0, parent()->width(), parent()->height());
    const bool any = held_ || std::any_of(panels_.begin(), panels_.end(),
                                          [](const tk::Control* p) { return p && p->visible(); });
    if (any != visible()) setVisible(any);
}

void DialogVeil::paint(tk::Canvas& canvas) {
    const int w = width(), h = height();
    if (w <= 0 || h <= 0) return;
    if (keepW_ != w || keepH_ != h) {
        // Dark over the middle and the menu's edges; from there out to the far corners the veil
        // thins away, by the distance from the middle with the window's shape taken out.
        keep_.assign(std::size_t(w) * std::size_t(h), 0);
        const double cx = w / 2.0, cy = h / 2.0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double d = std::hypot((x + 0.5 - cx) / cx, (y + 0.5 - cy) / cy);
                const double thin = std::clamp((d - 1.22) / 0.1, 0.0, 1.0);
                const double dark = kDark / 255.0 * (1 - thin * thin * (3 - 2 * thin));
                keep_[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                    std::uint8_t(std::lround(255 * (1 - dark)));
            }
        keepW_ = w, keepH_ = h;
    }
    const tk::Rect a = canvas.clip();
    tk::Image& img = canvas.target();
    for (int y = a.y; y < a.bottom(); ++y) {
        const int ly = y - canvas.originY();
        if (ly < 0 || ly >= h) continue;
        tk::Argb* row = img.row(y);
        const std::uint8_t* keep = &keep_[std::size_t(ly) * std::size_t(w)];
        for (int x = a.x; x < a.right(); ++x) {
            const int lx = x - canvas.originX();
            if (lx < 0 || lx >= w) continue;
            const int k = keep[lx] + 1;
            const tk::Argb p = row[x];
            row[x] = 0xFF000000u | ((((p >> 16) & 0xff) * k >> 8) << 16) |
                     ((((p >> 8) & 0xff) * k >> 8) << 8) | ((p & 0xff) * k >> 8);
        }
    }
}

}  // namespace lumcrest
