#include "toolkit/window.h"

#include <algorithm>
#include <exception>

#include "toolkit/application.h"

namespace tk {

Window::Window(Application& app, std::string name, int clientW, int clientH, Argb colour)
    : Control(nullptr, std::move(name)),
      app_(app),
      colour_(colour),
      surface_(clientW, clientH, colour) {
    setBounds(0, 0, clientW, clientH);
    app_.addWindow(this);
}

Window::~Window() {
    app_.removeWindow(this);
}

void Window::open() {
    if (open_) return;
    open_ = true;
    screenDirty_.add(Rect{0, 0, clientWidth(), clientHeight()});
    app_.backend().windowOpened(*this);
    invalidateSurface();
    updateTextInput();
}

void Window::close() {
    if (!open_) return;
    open_ = false;
    pressed_ = nullptr;
    updateTextInput();
    app_.backend().windowClosed(*this);
    app_.windowClosed(*this);
}

void Window::requestClose() {
    if (!open_) return;
    // The window closes even when the close handler fails: the player asked to quit, and sees
    // the error before it goes.
    try {
        if (onClose) onClose();
    } catch (const std::exception& e) {
        app_.backend().showFatalError(app_, e.what());
    }
    close();
}

void Window::setFocus(Control* control) {
    if (control && !control->canFocus()) return;
    if (control == focus_) return;
    if (focus_) focus_->invalidate();
    focus_ = control;
    if (focus_) focus_->invalidate();
    updateTextInput();
}

void Window::updateTextInput() {
    const bool want = open_ && focus_ && focus_->takesText();
    if (want == textInput_) return;
    textInput_ = want;
    app_.backend().setTextInput(want);
}

void Window::noteSource(InputSource source) {
    if (padHandlers_ == 0 && onInputSource) onInputSource(source);
}

void Window::keyDown(int vk) {
    if (!app_.acceptsInput(*this)) return;
    noteSource(InputSource::Keyboard);
    int key = vk;
    if (onKeyDown) onKeyDown(key);
    if (key != 0 && focus_ && focus_->showing()) focus_->keyDown(key);
}

void Window::keyUp(int vk) {
    if (!app_.acceptsInput(*this)) return;
    int key = vk;
    if (onKeyUp) onKeyUp(key);
}

void Window::textInput(const std::string& utf8) {
    if (!app_.acceptsInput(*this)) return;
    noteSource(InputSource::Keyboard);
    if (focus_ && focus_->showing()) focus_->textInput(utf8);
}

namespace {

// Children in painting order: pictures and labels first, windowed controls above them.
std::vector<Control*> paintOrder(const Control& c) {
    std::vector<Control*> out;
    for (Control* k : c.children())
        if (!k->windowed()) out.push_back(k);
    for (Control* k : c.children())
        if (k->windowed()) out.push_back(k);
    return out;
}

}  // namespace

Control* Window::hitTest(Control& c, int x, int y) {
    auto order = paintOrder(c);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Control* k = *it;
        if (!k->visible() || k->passesPointer()) continue;
        if (!k->windowRect().contains(x, y)) continue;
        // Children are clipped by their parent.
        if (Control* inner = hitTest(*k, x, y)) return inner;
        return k;
    }
    return nullptr;
}

Control* Window::controlAt(int x, int y) {
    if (!Rect{0, 0, clientWidth(), clientHeight()}.contains(x, y)) return this;
    Control* c = hitTest(*this, x, y);
    return c ? c : this;
}

Control* Window::findControl(const std::string& name) {
    if (name == this->name()) return this;
    std::vector<Control*> stack(children().begin(), children().end());
    while (!stack.empty()) {
        Control* c = stack.back();
        stack.pop_back();
        if (c->name() == name) return c;
        stack.insert(stack.end(), c->children().begin(), c->children().end());
    }
    return nullptr;
}

void Window::mouseDown(MouseButton button, int x, int y) {
    if (!app_.acceptsInput(*this)) return;
    noteSource(InputSource::Mouse);
    Control* target = controlAt(x, y);
    Rect r = target == this ? Rect{} : target->windowRect();
    if (button == MouseButton::Left) {
        pressed_ = target;
        if (target != this && target->canFocus()) setFocus(target);
        if (auto* b = dynamic_cast<PushButton*>(target)) b->setPressed(true);
    }
    if (target->onMouseDown) target->onMouseDown(button, x - r.x, y - r.y);
}

void Window::mouseUp(MouseButton button, int x, int y) {
    if (!app_.acceptsInput(*this)) return;
    Control* target = controlAt(x, y);
    Rect r = target == this ? Rect{} : target->windowRect();
    Control* wasPressed = nullptr;
    if (button == MouseButton::Left) {
        wasPressed = pressed_;
        pressed_ = nullptr;
        if (auto* b = dynamic_cast<PushButton*>(wasPressed)) b->setPressed(false);
    }
    if (target->onMouseUp) target->onMouseUp(button, x - r.x, y - r.y);
    if (button == MouseButton::Left && wasPressed == target && target->onClick) target->onClick();
}

void Window::mouseMove(int x, int y) {
    if (!app_.acceptsInput(*this)) return;
    noteSource(InputSource::Mouse);
    if (onPointerMoved) onPointerMoved(x, y);
    Control* target = controlAt(x, y);
    Rect r = target == this ? Rect{} : target->windowRect();
    if (target->onMouseMove) target->onMouseMove(x - r.x, y - r.y);
}

void Window::mouseWheel(int x, int y, int steps) {
    if (!app_.acceptsInput(*this) || steps == 0) return;
    for (Control* c = controlAt(x, y); c; c = c->parent())
        if (c->onMouseWheel) {
            c->onMouseWheel(steps);
            return;
        }
}

void Window::padButton(PadButton button, bool down) {
    if (!app_.acceptsInput(*this)) return;
    if (down) noteSource(InputSource::Pad);
    // The key presses the handler passes on are the pad's, not the keyboard's.
    struct Running {
        int& count;
        explicit Running(int& c) : count(c) { ++count; }
        ~Running() { --count; }
    } running(padHandlers_);
    if (onPad) onPad(button, down);
}

void Window::invalidateSurface() {
    paintPending_ = true;
}

void Window::paintIfPending() {
    if (!paintPending_ || !open_) return;
    paintPending_ = false;
    if (onPaint) onPaint();
}

void Window::releaseHiddenPictures() {
    visibilityChanged_ = false;
    std::vector<Control*> stack(children().begin(), children().end());
    while (!stack.empty()) {
        Control* c = stack.back();
        stack.pop_back();
        if (auto* p = dynamic_cast<Picture*>(c); p && !p->showing()) p->releasePixels();
        stack.insert(stack.end(), c->children().begin(), c->children().end());
    }
}

DirtyRegion Window::takeScreenDirty() {
    if (visibilityChanged_) releaseHiddenPictures();
    // Drawing under a panel that covers it (the menu over the field) changes nothing on screen.
    for (const Rect& r : surface_.dirty().rects()) {
        bool hidden = false;
        for (Control* c : children())
            if (c->opaque() && c->showing() && c->windowRect().intersect(r) == r) hidden = true;
        if (!hidden) screenDirty_.add(r);
    }
    surface_.dirty().clear();
    DirtyRegion out = screenDirty_;
    screenDirty_.clear();
    return out;
}

void Window::paintTree(Control& c, Canvas& canvas) {
    for (Control* k : paintOrder(c)) {
        if (!k->visible()) continue;
        Canvas kc = canvas.child(k->bounds());
        if (kc.clip().empty()) continue;
        try {
            k->paint(kc);
        } catch (const std::exception& e) {
            // A picture that cannot be had now (memory ran out) is left out of this frame.
            pictureLeftOut(k->name(), e);
        }
        paintTree(*k, kc);
    }
}

void Window::composeAt(Image& target, Rect region, int dx, int dy) {
    // The surface (or its colour, when nothing was drawn on it), then the controls over it.
    for (int y = region.y; y < region.bottom(); ++y) {
        Argb* to = target.row(y - dy) + (region.x - dx);
        if (surface_.drawnOn())
            std::copy_n(surface_.pixels().row(y) + region.x, region.w, to);
        else
            std::fill_n(to, region.w, surface_.colour());
    }
    // The controls paint in client coordinates: the origin moves them by (-DX, -DY).
    Canvas canvas(target, region.translated(-dx, -dy), -dx, -dy);
    paintTree(*this, canvas);
}

void Window::compose(Image& frame, Rect region) {
    region = region.intersect(Rect{0, 0, clientWidth(), clientHeight()});
    if (!region.empty()) composeAt(frame, region, 0, 0);
}

void Window::composeArea(Image& out, Rect region) {
    region = region.intersect(Rect{0, 0, clientWidth(), clientHeight()});
    out.reshape(region.w, region.h);
    if (!region.empty()) composeAt(out, region, region.x, region.y);
}

Argb Window::composedPixel(int x, int y) {
    Image one;
    composeArea(one, Rect{x, y, 1, 1});
    return one.pixel(0, 0);
}

// Whether a control of the window hides all of its surface, shown or not yet: a window built with
// its menu up has nothing of the surface to decode for its first frame.
bool Window::surfaceCovered() const {
    const Rect client{0, 0, clientWidth(), clientHeight()};
    for (Control* c : children())
        if (c->visible() && c->opaque() && c->windowRect().intersect(client) == client) return true;
    return false;
}

void Window::controlGeometryChanged(Control& control, Rect oldRect, bool wasShowing) {
    if (&control == this) return;
    bool now = control.showing();
    if (control.parent() == this) surface_.setCovered(surfaceCovered());
    if (wasShowing) screenDirty_.add(oldRect);
    if (now) screenDirty_.add(control.windowRect());
    if (now != wasShowing) {
        visibilityChanged_ = true;
        if (onShowingChanged) onShowingChanged(control);
    }
    // Uncovering part of the window's own surface asks the window to repaint it, as the window
    // system does; labels are drawn over the surface and uncover nothing.
    if (wasShowing && !oldRect.empty() && control.parent() == this && control.opaque() &&
        (!now || control.windowRect() != oldRect))
        invalidateSurface();
    if (!now && pressed_) {
        for (Control* p = pressed_; p; p = p->parent())
            if (p == &control) {
                pressed_ = nullptr;
                break;
            }
    }
}

void Window::forget(Control& control) {
    if (focus_ == &control) {
        focus_ = nullptr;
        updateTextInput();
    }
    if (pressed_ == &control) pressed_ = nullptr;
}

}  // namespace tk
