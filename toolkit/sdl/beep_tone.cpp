#include "toolkit/sdl/beep_tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tk::sdl {

std::vector<std::int16_t> beepTone(int sampleRate) {
    constexpr double kSeconds = 0.080, kFrequency = 880.0, kLevel = 0.25, kFadeSeconds = 0.012;
    int count = int(std::lround(sampleRate * kSeconds));
    int fade = std::max(1, int(std::lround(sampleRate * kFadeSeconds)));
    std::vector<std::int16_t> out(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        // A raised-cosine ramp at each end: a hard edge would be heard as a click.
        double edge = std::min(i, count - 1 - i);
        double gain = edge >= fade ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * edge / fade);
        double v = std::sin(2 * std::numbers::pi * kFrequency * i / sampleRate);
        out[std::size_t(i)] = std::int16_t(std::lround(v * gain * kLevel * 32767));
    }
    return out;
}

std::vector<std::uint8_t> monoWav(const std::vector<std::int16_t>& samples, int sampleRate) {
    std::vector<std::uint8_t> b;
    auto u32 = [&b](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
    };
    auto u16 = [&b](std::uint16_t v) {
        b.push_back(std::uint8_t(v));
        b.push_back(std::uint8_t(v >> 8));
    };
    auto tag = [&b](const char* t) {
        for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(t[i]));
    };
    std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    tag("RIFF");
    u32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(std::uint32_t(sampleRate));
    u32(std::uint32_t(sampleRate) * 2);
    u16(2);
    u16(16);
    tag("data");
    u32(dataBytes);
    for (std::int16_t s : samples) u16(std::uint16_t(s));
    return b;
}

}  // namespace tk::sdl
