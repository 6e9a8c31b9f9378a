#include "image_list.h"

#include "error.h"

namespace tk {

ImageList::ImageList(Image strip, int frameW, int frameH, int count)
    : strip_(std::move(strip)), fw_(frameW), fh_(frameH), count_(count > 0 ? count : 0) {}

ImageList ImageList::fromEmbedded(const std::string& name, int frameW, int frameH, int count) {
    return ImageList(loadEmbeddedPicture(name), frameW, frameH, count);
}

Rect ImageList::frameRect(int index) const {
    if (index < 0 || index >= count_ || fw_ <= 0 || fh_ <= 0) return Rect{};
    Rect r{(index % 4) * fw_, (index / 4) * fh_, fw_, fh_};
    if (r.right() > strip_.width() || r.bottom() > strip_.height()) return Rect{};
    return r;
}

void ImageList::draw(Canvas& canvas, int x, int y, int index) const {
    Rect src = frameRect(index);
    if (src.empty()) return;
    canvas.drawImage(strip_, src, x, y);
}

}  // namespace tk
