// The short cues beside the effects, and the effects the music steps back for.
#pragma once

#include <algorithm>
#include <iterator>

#include "assets/catalogue.h"

namespace lumcrest {

// The cue of a chain's STEP (1 for the first burst after a landing): a whole tone higher each
// step, the last one held for longer chains.
inline const char* chainCue(int step) {
    const int last = int(std::size(asset::kChainCues));
    return asset::kChainCues[std::clamp(step, 1, last) - 1].file;
}

// The music ducks this far (dB) under the fanfares, for as long as each rings (ms).
inline constexpr double kDuckDb = 5;
struct DuckedEffect {
    const char* file;
    int ms;
};
inline constexpr DuckedEffect kDuckedEffects[] = {{asset::kJarFilled.file, 2300},
                                                  {asset::kExcellent.file, 1900},
                                                  {asset::kIncredible.file, 2500}};

}  // namespace lumcrest
