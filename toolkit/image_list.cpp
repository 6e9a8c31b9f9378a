#include "toolkit/image_list.h"

#include "toolkit/error.h"

namespace tk {

ImageList::ImageList(Image strip, int frameW, int frameH, int count)
    : strip_(std::make_shared<const Image>(std::move(strip))),
      fw_(frameW),
      fh_(frameH),
      count_(count > 0 ? count : 0) {}

ImageList ImageList::fromEmbedded(const std::string& name, int frameW, int frameH, int count) {
    ImageList list;
    list.source_ = embeddedBytes(name);
    list.name_ = name;
    list.fw_ = frameW;
    list.fh_ = frameH;
    list.count_ = count > 0 ? count : 0;
    return list;
}

const Image& ImageList::strip() const {
    static const Image none;
    if (!strip_ && !source_.empty()) {
        try {
            strip_ = std::make_shared<const Image>(decodePicture(source_, name_));
        } catch (const std::exception& e) {
            // No frame of it is drawn until a later draw decodes it.
            pictureLeftOut(name_, e);
        }
    }
    return strip_ ? *strip_ : none;
}

Rect ImageList::frameRect(int index) const {
    if (index < 0 || index >= count_ || fw_ <= 0 || fh_ <= 0) return Rect{};
    Rect r{(index % 4) * fw_, (index / 4) * fh_, fw_, fh_};
    const Image& s = strip();
    if (r.right() > s.width() || r.bottom() > s.height()) return Rect{};
    return r;
}

void ImageList::draw(Canvas& canvas, int x, int y, int index) const {
    Rect src = frameRect(index);
    if (src.empty()) return;
    canvas.drawImage(strip(), src, x, y);
}

}  // namespace tk
