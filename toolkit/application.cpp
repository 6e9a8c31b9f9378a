#include "toolkit/application.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <new>

#include "toolkit/error.h"
#include "toolkit/image.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

namespace tk {

Application::Application(Backend& backend) : backend_(backend) {}

Application::~Application() = default;

void Application::reportError(const std::string& message) {
    try {
        backend_.showError(*this, message);
    } catch (const std::exception& e) {
        // No box can be had (memory ran out, say): the terminal is told instead.
        std::fprintf(stderr, "lumcrest: %s\n", message.c_str());
        std::fprintf(stderr, "lumcrest: cannot show the error box: %s\n",
                     dynamic_cast<const std::bad_alloc*>(&e) ? "not enough memory" : e.what());
    }
}

void Application::sayPicturesLeftOut() {
    if (depth_ > 0) return;  // after the event, once its own drawing is done
    for (const std::string& message : takePicturesLeftOut()) {
        std::fprintf(stderr, "lumcrest: %s\n", message.c_str());
        reportError(message);
    }
}

void Application::dispatch(const std::function<void()>& handler) {
    ++depth_;
    try {
        handler();
    } catch (const std::exception& e) {
        reportError(e.what());
    }
    --depth_;
    if (depth_ == 0 && !flushing_) {
        flushPaints();
        runLater();
        if (afterEvent) afterEvent();
        sayPicturesLeftOut();
    }
}

void Application::later(std::function<void()> action) {
    later_.push_back(std::move(action));
    if (depth_ == 0) runLater();
}

void Application::runLater() {
    while (!later_.empty()) {
        auto actions = std::move(later_);
        later_.clear();
        for (auto& a : actions) a();
    }
}

void Application::inputKeyDown(Window& w, int vk, bool shift) {
    if (inputObserver) inputObserver->keyDown(w, vk);
    shift_ = shift;
    dispatch([&w, vk] { w.keyDown(vk); });
    shift_ = false;
}

void Application::inputKeyUp(Window& w, int vk) {
    if (inputObserver) inputObserver->keyUp(w, vk);
    dispatch([&w, vk] { w.keyUp(vk); });
}

void Application::inputText(Window& w, const std::string& utf8) {
    if (inputObserver) inputObserver->text(w, utf8);
    dispatch([&w, &utf8] { w.textInput(utf8); });
}

void Application::inputMouseMove(Window& w, int x, int y) {
    if (inputObserver) inputObserver->mouseMove(w, x, y);
    dispatch([&w, x, y] { w.mouseMove(x, y); });
}

void Application::inputMouseWheel(Window& w, int x, int y, int steps) {
    if (inputObserver) inputObserver->mouseWheel(w, x, y, steps);
    dispatch([&w, x, y, steps] { w.mouseWheel(x, y, steps); });
}

void Application::inputMouseDown(Window& w, MouseButton b, int x, int y) {
    if (inputObserver) inputObserver->mouseDown(w, b, x, y);
    dispatch([&w, b, x, y] { w.mouseDown(b, x, y); });
}

void Application::inputMouseUp(Window& w, MouseButton b, int x, int y) {
    if (inputObserver) inputObserver->mouseUp(w, b, x, y);
    dispatch([&w, b, x, y] { w.mouseUp(b, x, y); });
}

void Application::inputCloseRequest(Window& w) {
    if (inputObserver) inputObserver->closeRequest(w);
    dispatch([&w] { w.requestClose(); });
}

void Application::padInput(PadButton button, bool down) {
    Window* w = activeWindow();
    if (!w || !w->isOpen()) return;
    if (inputObserver) inputObserver->padButton(button, down);
    dispatch([w, button, down] { w->padButton(button, down); });
}

void Application::addWindow(Window* w) {
    windows_.push_back(w);
}

void Application::removeWindow(Window* w) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), w), windows_.end());
    modal_.erase(
        std::remove_if(modal_.begin(), modal_.end(), [w](const Modal& m) { return m.window == w; }),
        modal_.end());
    if (main_ == w) main_ = nullptr;
}

void Application::showModal(Window& w, std::function<void()> onClosed) {
    modal_.push_back(Modal{&w, std::move(onClosed)});
    w.open();
}

Window* Application::activeWindow() const {
    for (auto it = modal_.rbegin(); it != modal_.rend(); ++it)
        if (it->window->isOpen()) return it->window;
    return main_;
}

void Application::windowClosed(Window& w) {
    for (auto it = modal_.begin(); it != modal_.end(); ++it) {
        if (it->window == &w) {
            auto done = std::move(it->onClosed);
            modal_.erase(it);
            if (done) dispatch(done);
            break;
        }
    }
    if (&w == main_) quit();
}

void Application::flushPaints() {
    flushing_ = true;
    // A paint handler may ask for another paint; a few rounds settle every real case.
    for (int round = 0; round < 3; ++round) {
        if (std::none_of(windows_.begin(), windows_.end(),
                         [](const Window* w) { return w->paintPending(); }))
            break;
        for (Window* w : std::vector<Window*>(windows_))
            if (w->paintPending()) dispatch([w] { w->paintIfPending(); });
    }
    flushing_ = false;
}

void Application::addTimer(Timer* t) {
    timers_.push_back(t);
}

void Application::removeTimer(Timer* t) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

Timer* Application::nextDueTimer() const {
    Timer* best = nullptr;
    for (Timer* t : timers_)
        if (t->enabled() && (!best || t->dueUs() < best->dueUs())) best = t;
    return best;
}

void Application::deliverTick(Timer& t) {
    if (tickLog) std::fprintf(tickLog, "%s %lld\n", t.name().c_str(), (long long)nowUs());
    if (inputObserver) inputObserver->tick(t);
    t.advanceAfterTick(nowUs());
    dispatch([&t] {
        if (t.onTimer) t.onTimer();
    });
}

void Application::runTimersUntil(std::int64_t untilUs,
                                 const std::function<void(std::int64_t)>& setClock) {
    for (;;) {
        Timer* t = nextDueTimer();
        if (!t || t->dueUs() > untilUs || quitting_) break;
        setClock(t->dueUs());
        deliverTick(*t);
    }
    setClock(untilUs);
}

}  // namespace tk
