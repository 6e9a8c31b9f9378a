// Image lists: equal frames stored four to a row in one picture, drawn by index.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "toolkit/canvas.h"
#include "toolkit/image.h"

namespace tk {

class ImageList {
  public:
    ImageList() = default;
    // Frames of FRAMEW x FRAMEH, COUNT of them, frame i at column i % 4, row i / 4 of STRIP.
    ImageList(Image strip, int frameW, int frameH, int count);

    // The strip embedded under NAME, decoded when a frame is first drawn; throws tk::Error when
    // there is no such strip.
    static ImageList fromEmbedded(const std::string& name, int frameW, int frameH, int count);
    // The same from a description of the strip: anything with file, frameWidth, frameHeight and
    // frames, as the program's asset catalogue gives them.
    template <typename Description>
    static ImageList fromEmbedded(const Description& d) {
        return fromEmbedded(d.file, d.frameWidth, d.frameHeight, d.frames);
    }

    int count() const { return count_; }
    int frameWidth() const { return fw_; }
    int frameHeight() const { return fh_; }
    // Where frame INDEX lies in the strip; empty for an index outside 0..count-1 or past the strip.
    Rect frameRect(int index) const;
    // Draws frame INDEX with its transparency at (x, y). An index outside the list draws nothing.
    void draw(Canvas& canvas, int x, int y, int index) const;
    const Image& strip() const;
    // Whether the strip is decoded at the moment.
    bool decoded() const { return strip_ != nullptr; }

  private:
    std::span<const std::uint8_t> source_;  // embedded bytes not decoded yet
    std::string name_;
    mutable std::shared_ptr<const Image> strip_;
    int fw_ = 0, fh_ = 0, count_ = 0;
};

}  // namespace tk
