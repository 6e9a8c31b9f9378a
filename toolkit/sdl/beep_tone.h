// The system beep, made in code: there is no sound theme to borrow one from.
#pragma once

#include <cstdint>
#include <vector>

namespace tk::sdl {

// A short soft tone (80 ms of 880 Hz at a quarter of full scale, faded in and out so it does not
// click) as mono 16-bit samples at SAMPLERATE.
std::vector<std::int16_t> beepTone(int sampleRate);

// The samples as a whole WAV file (mono, 16-bit PCM), so the mixer converts them to its own format.
std::vector<std::uint8_t> monoWav(const std::vector<std::int16_t>& samples, int sampleRate);

}  // namespace tk::sdl
