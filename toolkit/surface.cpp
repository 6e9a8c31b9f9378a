#include "toolkit/surface.h"

#include "toolkit/error.h"

namespace tk {

void DirtyRegion::add(Rect r) {
    if (r.empty()) return;
    for (Rect& have : rects_) {
        Rect both = have.unite(r);
        // Merge when the union wastes little area: keeps the list short for runs of cells.
        long waste = long(both.w) * both.h - long(have.w) * have.h - long(r.w) * r.h;
        if (have.intersect(r).w > 0 || waste <= 48L * 48L) {
            have = both;
            return;
        }
    }
    rects_.push_back(r);
    if (rects_.size() > 24) {
        Rect all;
        for (const Rect& x : rects_) all = all.unite(x);
        rects_.assign(1, all);
    }
}

Surface::Surface(int width, int height, Argb colour)
    : w_(width > 0 ? width : 0), h_(height > 0 ? height : 0), colour_(colour) {}

const Image& Surface::pixels() const {
    if (pixels_.empty() && w_ > 0 && h_ > 0) pixels_ = Image(w_, h_, colour_);
    return pixels_;
}

Canvas Surface::canvas() {
    pixels();
    return Canvas(pixels_, Rect{0, 0, width(), height()});
}

void Surface::setBrush(Image pattern) {
    brush_ = std::make_shared<const Image>(std::move(pattern));
    brushSource_ = {};
}

void Surface::setBrush(Image pattern, std::span<const std::uint8_t> encoded) {
    brush_ =
        pattern.empty() || covered_ ? nullptr : std::make_shared<const Image>(std::move(pattern));
    brushSource_ = encoded;
}

void Surface::setCovered(bool covered) {
    covered_ = covered;
    // The background of a whole stage is 2 MiB decoded: while the menu hides it, it may go.
    if (covered_ && !brushSource_.empty()) brush_.reset();
}

void Surface::fillWithBrush(Rect r) {
    if (!brush_ && !brushSource_.empty()) {
        if (covered_) return;
        try {
            brush_ = std::make_shared<const Image>(decodePicture(brushSource_, "brush"));
        } catch (const Error&) {
            brushSource_ = {};  // it decoded once; should it not again, the colour fills
        } catch (const std::exception& e) {
            pictureLeftOut("brush", e);  // the colour fills this time; the next fill tries again
        }
    }
    Canvas c = canvas();
    if (brush_)
        c.fillPattern(r, *brush_);
    else
        c.fillRect(r, colour_);
    dirty_.add(r.intersect(Rect{0, 0, width(), height()}));
}

void Surface::drawFrame(const ImageList& list, int index, int x, int y) {
    Rect src = list.frameRect(index);
    if (src.empty()) return;
    Canvas c = canvas();
    list.draw(c, x, y, index);
    dirty_.add(Rect{x, y, src.w, src.h}.intersect(Rect{0, 0, width(), height()}));
}

void Surface::setPixel(int x, int y, Argb colour) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return;
    pixels();
    pixels_.setPixel(x, y, colour | 0xFF000000u);
    dirty_.add(Rect{x, y, 1, 1});
}

}  // namespace tk
