// The music tracks and how long the restart timer waits for each.
#pragma once

namespace lumcrest {

inline constexpr const char* kMenuTrack = "menumusic.mp3";
inline constexpr int kMenuTrackRestartMs = 70000;
inline constexpr const char* kGameTrack = "music.mp3";
inline constexpr int kGameTrackRestartMs = 243000;

}  // namespace lumcrest
