// Effects and music as the game plays them: every effect and every track change tests its switch
// at the moment of the call, so a switch turned off silences what comes after at once.
#pragma once

#include <string>

#include "store/player_settings.h"
#include "toolkit/audio.h"

namespace lumcrest {

class GameAudio {
  public:
    GameAudio(tk::Audio& audio, const PlayerSettings& settings)
        : audio_(audio), settings_(settings) {}

    // The effect FILE, while the sound switch is on; under a fanfare the music ducks.
    void playEffect(const std::string& file);
    // A burst FILE that lets the bursts before it ring on (sound switch on only).
    void ringEffect(const std::string& file);
    // The cue FILE on a voice of its own (sound switch on only).
    void playCue(const std::string& file);
    // Opens the track FILE and plays it, while the music switch is on: false when it is off and
    // nothing changed.
    bool playTrack(const std::string& file);
    void stopMusic();
    // A track still playing goes on; one at its end is rewound and played again (music on only).
    void playAgain();

  private:
    tk::Audio& audio_;
    const PlayerSettings& settings_;
};

}  // namespace lumcrest
