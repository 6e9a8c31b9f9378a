// The game's sound effects, read once at start so that playing them opens no file.
#include <vector>

#include "assets/catalogue.h"
#include "audio/effects.h"
#include "toolkit/audio.h"

namespace lumcrest {

void preloadEffects(tk::Audio& audio) {
    std::vector<std::string> files;
    for (const asset::File& effect : asset::kEffects) files.emplace_back(effect.file);
    for (const asset::File& cue : asset::kCues) files.emplace_back(cue.file);
    audio.preloadEffects(files);
}

}  // namespace lumcrest
