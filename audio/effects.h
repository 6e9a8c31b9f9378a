// The game's sound effects, read once at start so that playing them opens no file.
#pragma once

#include "toolkit/audio.h"

namespace lumcrest {

// Hands every effect and cue file of the catalogue (asset::kEffects, kCues) to AUDIO to be read
// now.
void preloadEffects(tk::Audio& audio);

}  // namespace lumcrest
