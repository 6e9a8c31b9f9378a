// One voice for effects: a new effect cuts the one playing. Stopped dead mid-wave, a sound
// clicks; so the cut one plays on for a few milliseconds, fading to nothing, under the start of
// the new one. These are the pure parts of that fade, kept apart from the mixer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tk::sdl {

// How long a cut effect takes to fade out.
inline constexpr double kCutFadeSeconds = 0.008;

// The FRAMES frames of SOUND (interleaved 16-bit samples, CHANNELS to a frame) from frame AT on,
// times GAIN and faded from there down to nothing over those frames; silence past the sound's end.
std::vector<std::int16_t> fadedTail(std::span<const std::int16_t> sound, int channels,
                                    std::size_t at, std::size_t frames, double gain);

// Adds TAIL from sample FROM on into OUT, as far as both go, saturating at full scale; returns
// how many samples it added.
std::size_t mixTail(std::span<std::int16_t> out, std::span<const std::int16_t> tail,
                    std::size_t from);

}  // namespace tk::sdl
