#include "toolkit/sdl/cut_fade.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tk::sdl {

std::vector<std::int16_t> fadedTail(std::span<const std::int16_t> sound, int channels,
                                    std::size_t at, std::size_t frames, double gain) {
    const std::size_t width = std::size_t(std::max(channels, 1));
    std::vector<std::int16_t> tail(frames * width, 0);
    for (std::size_t f = 0; f < frames; ++f) {
        // A half cosine: the first frame all but at the cut sound's level, the last at nothing.
        const double fade = 0.5 + 0.5 * std::cos(std::numbers::pi * double(f + 1) / double(frames));
        for (std::size_t c = 0; c < width; ++c) {
            const std::size_t i = (at + f) * width + c;
            if (i >= sound.size()) return tail;
            tail[f * width + c] = std::int16_t(std::lround(sound[i] * gain * fade));
        }
    }
    return tail;
}

std::size_t mixTail(std::span<std::int16_t> out, std::span<const std::int16_t> tail,
                    std::size_t from) {
    if (from >= tail.size()) return 0;
    const std::size_t n = std::min(out.size(), tail.size() - from);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::int16_t(std::clamp(int(out[i]) + int(tail[from + i]), -32768, 32767));
    return n;
}

}  // namespace tk::sdl
