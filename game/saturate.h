// Arithmetic on the saved numbers. A hand-edited saved game can hold any integer in Score, Total,
// Gemsleft or Blocks; sums and products on them saturate instead of overflowing.
#pragma once

#include <algorithm>
#include <climits>

namespace lumcrest {

constexpr int clampToInt(long long v) {
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// a += b, held inside the int range.
constexpr void addSaturated(int& a, long long b) {
    a = clampToInt((long long)a + b);
}

// Progress-bar pixels per gem still to clear: (367 - total) / gemsLeft, truncated toward zero.
// gemsLeft must not be 0.
constexpr int fillStepFor(int total, int gemsLeft) {
    return clampToInt((367LL - total) / gemsLeft);
}

}  // namespace lumcrest
