// The persistent drawing surface of a window: what is drawn stays until drawn over.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/canvas.h"
#include "toolkit/image.h"
#include "toolkit/image_list.h"

namespace tk {

// Areas that changed since the backend last showed them. Keeps a few rectangles and falls back
// to their bounding box when they get many.
class DirtyRegion {
  public:
    void add(Rect r);
    void clear() { rects_.clear(); }
    bool empty() const { return rects_.empty(); }
    const std::vector<Rect>& rects() const { return rects_; }

  private:
    std::vector<Rect> rects_;
};

class Surface {
  public:
    Surface(int width, int height, Argb colour);

    int width() const { return w_; }
    int height() const { return h_; }
    // The pixels; a surface nothing was drawn on gets them here, all of its colour.
    const Image& pixels() const;
    // Whether anything was drawn on the surface: until then it is its colour alone and holds no
    // pixels (a window such as the About box, made of controls only, never needs them).
    bool drawnOn() const { return !pixels_.empty(); }
    Argb colour() const { return colour_; }

    // Installs PATTERN as the fill brush, anchored at the surface's top-left corner.
    void setBrush(Image pattern);
    bool hasBrush() const { return brush_ != nullptr; }
    // Fills R with the brush (with the surface colour while there is none).
    void fillWithBrush(Rect r);
    // Draws frame INDEX of LIST at (x, y) with its transparency; outside indices draw nothing.
    void drawFrame(const ImageList& list, int index, int x, int y);
    void setPixel(int x, int y, Argb colour);
    Argb pixel(int x, int y) const { return pixels().pixel(x, y); }

    // Areas changed since the last takeDirty; the backend calls this when it presents.
    DirtyRegion& dirty() { return dirty_; }

  private:
    Canvas canvas();
    int w_, h_;
    mutable Image pixels_;
    Argb colour_;
    std::shared_ptr<const Image> brush_;
    DirtyRegion dirty_;
};

}  // namespace tk
