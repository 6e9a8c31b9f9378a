// The game's sound effects, read once at start so that playing them opens no file.
#pragma once

#include "toolkit/audio.h"

namespace lumcrest {

// The eleven effect files, in the data folder.
inline constexpr const char* kEffectFiles[] = {
    "click.wav",        "rollover.wav",     "menuover.wav",     "gemstouch.wav",
    "gemsexplode1.wav", "gemsexplode2.wav", "gemsexplode3.wav", "Excellent.wav",
    "Incredible.wav",   "jareffect.wav",    "youlose.wav"};

// Hands every effect file to AUDIO to be read now.
void preloadEffects(tk::Audio& audio);

}  // namespace lumcrest
