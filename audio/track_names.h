// The music tracks and how long the restart timer waits for each.
#pragma once

#include "assets/catalogue.h"

namespace lumcrest {

inline constexpr const char* kMenuTrack = asset::kMenuMusic.file;
inline constexpr int kMenuTrackRestartMs = 70000;
inline constexpr const char* kGameTrack = asset::kGameMusic.file;
inline constexpr int kGameTrackRestartMs = 243000;

}  // namespace lumcrest
