// Drawing onto a picture, clipped to a rectangle, with an origin for child coordinates.
#pragma once

#include "toolkit/geometry.h"
#include "toolkit/image.h"

namespace tk {

class Canvas {
  public:
    // Draws into TARGET; only pixels inside CLIP (target coordinates) change; drawing
    // coordinates are offset by (originX, originY).
    Canvas(Image& target, Rect clip, int originX = 0, int originY = 0);

    // A canvas for a child area: origin moved by (dx, dy), clip narrowed to AREA (in this
    // canvas's coordinates).
    Canvas child(Rect area) const;

    Rect clip() const { return clip_; }
    int originX() const { return ox_; }
    int originY() const { return oy_; }
    // The picture drawn into, for drawing that works on its rows directly (inside clip() only).
    Image& target() const { return target_; }

    void fillRect(Rect r, Argb colour);
    void setPixel(int x, int y, Argb colour);
    // Draws the part SRC of IMAGE with its top-left corner at (x, y), blending by alpha.
    void drawImage(const Image& image, Rect src, int x, int y);
    void drawImage(const Image& image, int x, int y) {
        drawImage(image, Rect{0, 0, image.width(), image.height()}, x, y);
    }
    // Draws IMAGE opaque except for pixels equal to KEY, which are left out.
    void drawImageKeyed(const Image& image, int x, int y, Argb key);
    // Fills R with PATTERN repeated from the target's own top-left corner, so that the pattern's
    // pixel (i, j) always lands on target pixel (i, j) modulo its size.
    void fillPattern(Rect r, const Image& pattern);
    // A vertical gradient from TOP to BOTTOM colour over R.
    void fillGradient(Rect r, Argb top, Argb bottom);
    // A one-pixel frame around R.
    void frameRect(Rect r, Argb colour);

  private:
    Image& target_;
    Rect clip_;
    int ox_, oy_;
};

}  // namespace tk
