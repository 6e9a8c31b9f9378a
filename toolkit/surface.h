// The persistent drawing surface of a window: what is drawn stays until drawn over.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
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
    // The same for a picture decoded from ENCODED (bytes that live as long as the program, such
    // as an embedded picture): its pixels may be let go while the surface is covered and are
    // decoded again from ENCODED when a fill needs them. An empty PATTERN is decoded so when
    // first needed.
    void setBrush(Image pattern, std::span<const std::uint8_t> encoded);
    bool hasBrush() const { return brush_ != nullptr || !brushSource_.empty(); }
    // Fills R with the brush (with the surface colour while there is none). While the surface is
    // covered and the brush's pixels are let go, nothing can be seen of the fill: it is left out.
    void fillWithBrush(Rect r);
    // Whether an opaque control covers the whole surface. The window tells the surface; it
    // repaints the surface whole when it is uncovered, as a window system asks a window to.
    void setCovered(bool covered);
    // Lets the brush's pixels go when they can be decoded again (before another brush is
    // decoded, so that the two are never held together).
    void releaseBrushPixels() {
        if (!brushSource_.empty()) brush_.reset();
    }
    bool covered() const { return covered_; }
    bool brushDecoded() const { return brush_ != nullptr; }
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
    std::span<const std::uint8_t> brushSource_;  // the brush's encoded picture, when kept
    bool covered_ = false;
    DirtyRegion dirty_;
};

}  // namespace tk
