#include "toolkit/control.h"

#include <algorithm>

#include "toolkit/image_list.h"
#include "toolkit/keys.h"
#include "toolkit/text_runs.h"
#include "toolkit/window.h"

namespace tk {

int utf8Length(const std::string& s) {
    int n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

namespace {

// Byte offset of character INDEX in S (S.size() past the end).
std::size_t utf8Offset(const std::string& s, int index) {
    int n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == index) return i;
            ++n;
        }
    }
    return s.size();
}

// Splits valid UTF-8 text into characters, dropping control characters and broken sequences.
std::vector<std::string> utf8Characters(const std::string& s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80         ? 1
                          : (c >> 5) == 6  ? 2
                          : (c >> 4) == 14 ? 3
                          : (c >> 3) == 30 ? 4
                                           : 0;
        if (len == 0 || i + len > s.size()) {
            ++i;
            continue;
        }
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) ok = false;
        if (ok && !(len == 1 && (c < 0x20 || c == 0x7F))) out.push_back(s.substr(i, len));
        i += ok ? len : 1;
    }
    return out;
}

}  // namespace

// --- Control ------------------------------------------------------------------------------

Control::Control(Control* parent, std::string name) : parent_(parent), name_(std::move(name)) {
    if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
    if (parent_) {
        auto& sib = parent_->children_;
        sib.erase(std::remove(sib.begin(), sib.end(), this), sib.end());
        if (Window* w = parent_->window()) w->forget(*this);
    }
    for (Control* c : children_) c->parent_ = nullptr;
}

Window* Control::window() {
    return parent_ ? parent_->window() : nullptr;
}

Rect Control::windowRect() const {
    Rect r = bounds_;
    for (const Control* p = parent_; p && p->parent_; p = p->parent_)
        r = r.translated(p->bounds_.x, p->bounds_.y);
    return r;
}

bool Control::showing() const {
    if (!visible_) return false;
    return parent_ ? parent_->showing() : false;
}

void Control::setBounds(int left, int top, int width, int height) {
    Rect nb{left, top, width, height};
    if (nb == bounds_) return;
    Rect old = windowRect();
    bool was = showing();
    bounds_ = nb;
    if (Window* w = window()) w->controlGeometryChanged(*this, old, was);
}

void Control::setVisible(bool on) {
    if (on == visible_) return;
    Rect r = windowRect();
    bool was = showing();
    visible_ = on;
    if (Window* w = window()) {
        w->controlGeometryChanged(*this, r, was);
        if (!on && w->focus() && w->focus() != this) {
            for (Control* f = w->focus(); f; f = f->parent_)
                if (f == this) {
                    w->setFocus(nullptr);
                    break;
                }
        }
    }
}

void Control::invalidate() {
    changed();
}

void Control::changed() {
    if (!showing()) return;
    if (Window* w = window()) w->screenChanged(windowRect());
}

void Control::paint(Canvas&) {}
void Control::keyDown(int) {}
void Control::textInput(const std::string&) {}

// --- Panel --------------------------------------------------------------------------------

Panel::Panel(Control* parent, std::string name, Argb colour)
    : Control(parent, std::move(name)), colour_(colour) {}

void Panel::paint(Canvas& canvas) {
    canvas.fillRect(Rect{0, 0, width(), height()}, colour_);
}

void Panel::setColour(Argb c) {
    if (c == colour_) return;
    colour_ = c;
    changed();
}

// --- Label --------------------------------------------------------------------------------

Label::Label(Control* parent, std::string name, FontSpec font)
    : Control(parent, std::move(name)), font_(std::move(font)) {
    resize();
}

void Label::setCaption(const std::string& text) {
    if (text == caption_) return;
    changed();
    caption_ = text;
    renderedValid_ = false;
    resize();
    changed();
}

void Label::setFont(const FontSpec& font) {
    changed();
    font_ = font;
    renderedValid_ = false;
    resize();
    changed();
}

void Label::setColour(Argb c) {
    if (c == font_.colour) return;
    font_.colour = c;
    renderedValid_ = false;
    changed();
}

void Label::resize() {
    TextSize s = measureText(caption_, font_);
    setBounds(left(), top(), s.width, s.height);
}

void Label::paint(Canvas& canvas) {
    if (caption_.empty()) return;
    if (!renderedValid_) {
        rendered_ = renderText(caption_, font_);
        renderedValid_ = true;
    }
    canvas.drawImage(rendered_, 0, 0);
}

// --- Picture ------------------------------------------------------------------------------

namespace {

// The last picture file decoded: the two help panels load the same file one after the other and
// may share its pixels. The file is still read each time.
struct LastDecoded {
    std::vector<std::uint8_t> bytes;
    std::weak_ptr<const Image> image;
};
LastDecoded& lastDecoded() {
    static LastDecoded last;
    return last;
}

}  // namespace

Picture::Picture(Control* parent, std::string name) : Control(parent, std::move(name)) {}

void Picture::loadFromFile(const std::string& path) {
    // The language's own picture when there is one; the control still names the bare file.
    const std::string local = localizedPicturePath(path);
    auto bytes = std::make_shared<std::vector<std::uint8_t>>(local == path ? readFileBytes(path)
                                                                           : readFileBytes(local));
    std::shared_ptr<const Image> img;
    LastDecoded& last = lastDecoded();
    if (last.bytes == *bytes) img = last.image.lock();
    if (!img) {
        img = std::make_shared<const Image>(decodePicture(*bytes, path));
        last.bytes = *bytes;
        last.image = img;
    }
    pictureW_ = img->width();
    pictureH_ = img->height();
    image_ = std::move(img);
    bytes_ = std::move(bytes);
    embedded_ = nullptr;
    file_ = path;
    changed();
}

void Picture::setEmbedded(const std::string& name) {
    auto found = embeddedBytes(name);
    embedded_ = found.data();
    embeddedSize_ = found.size();
    bytes_.reset();
    image_.reset();
    // Its size from its header: whether it hides what lies under it is known without decoding
    // it (the About box's picture is not decoded until the box shows).
    const Rect bounds = pictureBounds(found);
    pictureW_ = bounds.w;
    pictureH_ = bounds.h;
    file_.clear();
    changed();
}

void Picture::setImage(Image image) {
    pictureW_ = image.width();
    pictureH_ = image.height();
    image_ = std::make_shared<const Image>(std::move(image));
    bytes_.reset();
    embedded_ = nullptr;
    file_.clear();
    changed();
}

const Image& Picture::image() const {
    static const Image none;
    if (!image_) {
        if (bytes_)
            image_ = std::make_shared<const Image>(decodePicture(*bytes_, file_));
        else if (embedded_)
            image_ = std::make_shared<const Image>(
                decodePicture(std::span<const std::uint8_t>(embedded_, embeddedSize_), name()));
        if (image_) {
            auto* self = const_cast<Picture*>(this);
            self->pictureW_ = image_->width();
            self->pictureH_ = image_->height();
        }
    }
    return image_ ? *image_ : none;
}

bool Picture::releasePixels() {
    if (keepDecoded || !image_ || (!bytes_ && !embedded_)) return false;
    image_.reset();
    return true;
}

bool Picture::opaque() const {
    if (transparent) return false;
    try {
        if (pictureW_ == 0 && (bytes_ || embedded_)) image();
    } catch (const std::exception& e) {
        pictureLeftOut(file_.empty() ? name() : file_, e);
        return false;
    }
    return pictureW_ >= width() && pictureH_ >= height();
}

void Picture::paint(Canvas& canvas) {
    const Image* decoded = nullptr;
    try {
        decoded = &image();
    } catch (const std::exception& e) {
        // Left out for now; a later paint tries again.
        pictureLeftOut(file_.empty() ? name() : file_, e);
        return;
    }
    const Image& img = *decoded;
    if (img.empty()) return;
    if (transparent)
        canvas.drawImageKeyed(img, 0, 0, img.pixel(0, img.height() - 1));
    else
        canvas.drawImage(img, 0, 0);
}

// --- PushButton ---------------------------------------------------------------------------

PushButton::PushButton(Control* parent, std::string name, std::string caption, FontSpec font)
    : Control(parent, std::move(name)), caption_(std::move(caption)), font_(std::move(font)) {}

void PushButton::setCaption(const std::string& text) {
    caption_ = text;
    changed();
}

void PushButton::setPressed(bool on) {
    if (on == pressed_) return;
    pressed_ = on;
    changed();
}

void PushButton::setFace(const ImageList* face, Argb text) {
    face_ = face;
    faceText_ = text;
    changed();
}

void PushButton::paintFace(Canvas& canvas) const {
    Window* w = const_cast<PushButton*>(this)->window();
    const int look = pressed_ ? 2 : (w && w->focus() == this ? 1 : 0);
    const Rect frame = face_->frameRect(look);
    if (frame.empty()) return;
    const int h = std::min(height(), frame.h), left = std::min(width() / 2, frame.w / 2);
    const int right = std::min(width() - left, frame.w - frame.w / 2);
    canvas.drawImage(face_->strip(), Rect{frame.x, frame.y, left, h}, 0, 0);
    canvas.drawImage(face_->strip(), Rect{frame.right() - right, frame.y, right, h},
                     width() - right, 0);
    // A button wider than the frames takes their middle column across the gap.
    for (int x = left; x < width() - right; ++x)
        canvas.drawImage(face_->strip(), Rect{frame.x + frame.w / 2, frame.y, 1, h}, x, 0);
    if (caption_.empty()) return;
    FontSpec shadow = font_;
    shadow.colour = rgb(10, 8, 24);
    FontSpec lit = font_;
    lit.colour = faceText_;
    const Image under = renderText(caption_, shadow), text = renderText(caption_, lit);
    const int off = pressed_ ? 1 : 0;
    const int x = (width() - text.width()) / 2 + off, y = (height() - text.height()) / 2 + off;
    canvas.drawImage(under, x + 1, y + 1);
    canvas.drawImage(text, x, y);
}

void PushButton::paint(Canvas& canvas) {
    if (face_) {
        paintFace(canvas);
        return;
    }
    Rect all{0, 0, width(), height()};
    Argb light = rgb(250, 246, 232), dark = rgb(196, 176, 128);
    if (pressed_) std::swap(light, dark);
    canvas.fillGradient(all, light, dark);
    canvas.frameRect(all, rgb(70, 52, 20));
    Window* w = const_cast<PushButton*>(this)->window();
    if (w && w->focus() == this) {
        Rect inner{3, 3, width() - 6, height() - 6};
        for (int x = inner.x; x < inner.right(); x += 2) {
            canvas.setPixel(x, inner.y, rgb(0, 0, 0));
            canvas.setPixel(x, inner.bottom() - 1, rgb(0, 0, 0));
        }
        for (int y = inner.y; y < inner.bottom(); y += 2) {
            canvas.setPixel(inner.x, y, rgb(0, 0, 0));
            canvas.setPixel(inner.right() - 1, y, rgb(0, 0, 0));
        }
    }
    if (!caption_.empty()) {
        Image text = renderText(caption_, font_);
        int off = pressed_ ? 1 : 0;
        canvas.drawImage(text, (width() - text.width()) / 2 + off,
                         (height() - text.height()) / 2 + off);
    }
}

void PushButton::keyDown(int vk) {
    if ((is(vk, Key::Space) || is(vk, Key::Enter)) && onClick) onClick();
}

// --- EditBox ------------------------------------------------------------------------------

EditBox::EditBox(Control* parent, std::string name, FontSpec font, Argb background)
    : Control(parent, std::move(name)), font_(std::move(font)), background_(background) {}

void EditBox::setText(const std::string& utf8) {
    std::string clean;
    for (const std::string& ch : utf8Characters(utf8)) clean += ch;
    text_ = clean;
    caret_ = utf8Length(text_);
    changed();
}

void EditBox::paint(Canvas& canvas) {
    canvas.fillRect(Rect{0, 0, width(), height()}, background_);
    TextSize size = measureText(text_, font_);
    int ty = (height() - size.height) / 2;
    if (!text_.empty()) canvas.drawImage(renderText(text_, font_), 2, ty);
    Window* w = const_cast<EditBox*>(this)->window();
    if (w && w->focus() == this) {
        int cx = 2 + measureText(text_.substr(0, utf8Offset(text_, caret_)), font_).width;
        // A name that reads right to left starts at the right: its caret counts from there.
        if (startsRightToLeft(decodeUtf8(text_))) cx = 4 + size.width - cx;
        canvas.fillRect(Rect{cx, std::max(ty, 1), 1, std::min(size.height, height() - 2)},
                        font_.colour);
    }
}

void EditBox::keyDown(int vk) {
    int len = utf8Length(text_);
    switch (Key(vk)) {
        case Key::Backspace:
            if (caret_ > 0) {
                std::size_t a = utf8Offset(text_, caret_ - 1), b = utf8Offset(text_, caret_);
                text_.erase(a, b - a);
                --caret_;
            }
            break;
        case Key::Delete:
            if (caret_ < len) {
                std::size_t a = utf8Offset(text_, caret_), b = utf8Offset(text_, caret_ + 1);
                text_.erase(a, b - a);
            }
            break;
        case Key::Left: caret_ = std::max(0, caret_ - 1); break;
        case Key::Right: caret_ = std::min(len, caret_ + 1); break;
        case Key::Home: caret_ = 0; break;
        case Key::End: caret_ = len; break;
        default: return;
    }
    changed();
}

void EditBox::textInput(const std::string& utf8) {
    for (const std::string& ch : utf8Characters(utf8)) {
        if (maxLength > 0 && utf8Length(text_) >= maxLength) break;
        text_.insert(utf8Offset(text_, caret_), ch);
        ++caret_;
    }
    changed();
}

}  // namespace tk
