// What the page shows: the main window's composed frame, and any box open over it (the About box,
// an error) drawn in its middle, as the desktop places them. Only what changed goes to the canvas
// while the main window is alone.
#include <emscripten.h>

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/web/web_backend.h"
#include "toolkit/window.h"

namespace tk {

namespace {

EM_JS(void, jsDrawArea, (const std::uint32_t* pixels, int stride, int x, int y, int w, int h),
      { Module.lumcrest.screen.draw(pixels, stride, x, y, w, h); });
EM_JS(void, jsFrameSize, (int w, int h), { Module.lumcrest.screen.frameSize(w, h); });

void send(const Image& frame, Rect r) {
    r = r.intersect(Rect{0, 0, frame.width(), frame.height()});
    if (r.empty()) return;
    jsDrawArea(frame.row(r.y) + r.x, frame.width(), r.x, r.y, r.w, r.h);
}

// Draws BOX over SCREEN in its middle, with a thin rim where the desktop has a window's frame.
void overlay(Image& screen, const Image& box) {
    const int x0 = std::max(0, (screen.width() - box.width()) / 2);
    const int y0 = std::max(0, (screen.height() - box.height()) / 2);
    for (int y = -1; y <= box.height(); ++y)
        for (int x = -1; x <= box.width(); ++x) {
            const bool rim = x < 0 || y < 0 || x == box.width() || y == box.height();
            screen.setPixel(x0 + x, y0 + y, rim ? rgb(64, 64, 64) : box.pixel(x, y));
        }
}

}  // namespace

void WebBackend::present() {
    if (!app_) return;
    std::vector<Window*> open;
    Window* main = app_->mainWindow();
    if (!main || !main->isOpen()) return;
    open.push_back(main);
    for (Window* w : app_->windows())
        if (w != main && w->isOpen()) open.push_back(w);
    bool changed = open.size() != shown_.size();
    std::vector<Shown> next;
    for (Window* w : open) {
        auto it = std::find_if(shown_.begin(), shown_.end(),
                               [w](const Shown& s) { return s.window == w; });
        const bool fresh = it == shown_.end();
        Shown s = fresh ? Shown{w, Image(w->clientWidth(), w->clientHeight())} : std::move(*it);
        changed = changed || fresh;
        next.push_back(std::move(s));
    }
    shown_ = std::move(next);
    if (screen_.width() != main->clientWidth() || screen_.height() != main->clientHeight()) {
        screen_ = Image(main->clientWidth(), main->clientHeight());
        jsFrameSize(screen_.width(), screen_.height());
        changed = true;
    }
    bool anyDirty = false;
    for (Shown& s : shown_) {
        DirtyRegion dirty = s.window->takeScreenDirty();
        const Rect whole{0, 0, s.frame.width(), s.frame.height()};
        if (changed) {
            s.window->compose(s.frame, whole);
            continue;
        }
        for (const Rect& area : dirty.rects()) {
            Rect r = area.intersect(whole);
            if (r.empty()) continue;
            s.window->compose(s.frame, r);
            anyDirty = true;
            if (shown_.size() == 1) send(s.frame, r);
        }
    }
    if (changed || (anyDirty && shown_.size() > 1)) sendWhole();
}

void WebBackend::sendWhole() {
    screen_ = shown_.front().frame;
    for (std::size_t i = 1; i < shown_.size(); ++i) overlay(screen_, shown_[i].frame);
    send(screen_, Rect{0, 0, screen_.width(), screen_.height()});
}

}  // namespace tk
