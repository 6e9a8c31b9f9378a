// The game's one random generator. A random integer 0..n-1 is its output taken modulo n.
#pragma once

#include <cstdint>

namespace lumcrest {

class Random {
  public:
    void seed(std::uint32_t s) { state_ = s; }
    // The next 32-bit output (splitmix64, high half).
    std::uint32_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return std::uint32_t((z ^ (z >> 31)) >> 32);
    }
    // A uniform integer 0..n-1; 0 when n is not positive.
    int below(int n) { return n > 0 ? int(next() % std::uint32_t(n)) : 0; }

  private:
    std::uint64_t state_ = 0;
};

}  // namespace lumcrest
