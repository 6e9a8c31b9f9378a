// Window timers: a millisecond interval and an enabled flag, delivered by the application's
// event loop one handler at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tk {

class Application;

class Timer {
  public:
    Timer(Application& app, std::string name, int intervalMs, bool enabled);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    // Setting the value the timer already has changes nothing; any other value restarts the
    // countdown (a full interval from now) while the timer is enabled.
    void setInterval(int ms);
    void setEnabled(bool on);

    std::function<void()> onTimer;  // the handler; runs on the event loop's thread

    // Scheduling, for the application: when the next tick falls due (microseconds of its clock).
    std::int64_t dueUs() const { return due_; }
    void advanceAfterTick(std::int64_t nowUs);

  private:
    void restart();
    Application& app_;
    std::string name_;
    int interval_;
    bool enabled_;
    std::int64_t due_ = 0;
};

}  // namespace tk
