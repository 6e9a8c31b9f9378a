#include "toolkit/sdl/loop_timing.h"

namespace tk::sdl {

int waitTimeoutMs(bool hasTimer, std::int64_t dueUs, std::int64_t nowUs) {
    if (!hasTimer) return kIdleWaitMs;
    std::int64_t left = dueUs - nowUs;
    if (left <= 0) return 0;
    std::int64_t ms = (left + 999) / 1000;
    return ms > kIdleWaitMs ? kIdleWaitMs : int(ms);
}

}  // namespace tk::sdl
