// How the player likes the game shown: the scale and fullscreen, kept in [Settings] of the
// settings file beside the other switches.
#pragma once

#include <string>

#include "store/profile.h"

namespace lumcrest {

struct DisplaySettings {
    int scale = 0;  // 0: automatic, else 1..4
    bool fullscreen = false;
};

// Reads the keys `Scale` and `Fullscreen`; a missing or damaged value gives the default, a scale
// outside 0..4 counts as automatic.
DisplaySettings readDisplaySettings(const Profile& settings);
// Writes what changed of both keys. Throws tk::Error when the file cannot be written.
void writeDisplaySettings(Profile& settings, const DisplaySettings& d);

}  // namespace lumcrest
