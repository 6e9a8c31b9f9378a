// The player's settings while the game runs: read from [Settings] at start (the rows of
// store/settings_schema.h) and written through at each change.
#pragma once

#include <cstdint>
#include <string>

#include "store/key_bindings.h"

namespace lumcrest {

struct PlayerSettings {
    std::uint8_t firstRun = 1;  // no game has begun on this machine yet: the menu offers Play
    std::uint8_t soundOn = 1;   // the sound switch
    std::uint8_t musicOn = 1;   // the music switch
    int musicVolume = 10;       // 0..10, how loud the music plays while it is on
    int soundVolume = 10;       // 0..10, how loud the effects play while they are on
    // Calm mode: the flash, the stage end's burst and the crack drawn softened.
    std::uint8_t calmMode = 0;
    std::string playerName;
    KeyBindings keys = KeyBindings::defaults();  // the keys of play, [Keys]
};

}  // namespace lumcrest
