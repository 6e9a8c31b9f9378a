// How long the event loop may sleep: until the next timer tick, never past it, never spinning.
#pragma once

#include <cstdint>

namespace tk::sdl {

// Longest single wait when no timer is enabled; the loop simply waits again.
constexpr int kIdleWaitMs = 1000;

// Milliseconds to wait for events when the next tick falls due at DUEUS (HASTIMER false: no
// enabled timer) and the clock reads NOWUS. Rounded up, so a tick is never delivered early.
int waitTimeoutMs(bool hasTimer, std::int64_t dueUs, std::int64_t nowUs);

}  // namespace tk::sdl
