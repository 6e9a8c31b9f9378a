#include "toolkit/timer.h"

#include "toolkit/application.h"

namespace tk {

Timer::Timer(Application& app, std::string name, int intervalMs, bool enabled)
    : app_(app), name_(std::move(name)), interval_(intervalMs), enabled_(enabled) {
    app_.addTimer(this);
    if (enabled_) restart();
}

Timer::~Timer() {
    app_.removeTimer(this);
}

void Timer::restart() {
    int ms = interval_ > 0 ? interval_ : 1;
    due_ = app_.nowUs() + std::int64_t(ms) * 1000;
}

void Timer::setInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) restart();
}

void Timer::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (enabled_) restart();
}

void Timer::advanceAfterTick(std::int64_t nowUs) {
    std::int64_t step = std::int64_t(interval_ > 0 ? interval_ : 1) * 1000;
    due_ += step;
    // Ticks never queue up: when the loop fell behind by more than one interval, one tick is
    // delivered at once and the schedule starts again from now.
    if (due_ <= nowUs - step) due_ = nowUs;
}

}  // namespace tk
