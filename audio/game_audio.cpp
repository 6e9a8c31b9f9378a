// Effects and music: every effect goes through playEffect, every track change through
// playTrack, and each tests its switch at the moment of the call.
#include "audio/game_audio.h"

#include "audio/cues.h"

namespace lumcrest {

void GameAudio::playEffect(const std::string& file) {
    if (settings_.soundOn != 1) return;
    audio_.playEffect(file);
    for (const DuckedEffect& d : kDuckedEffects)
        if (file == d.file) audio_.duckMusic(kDuckDb, d.ms);
}

void GameAudio::ringEffect(const std::string& file) {
    if (settings_.soundOn != 1) return;
    audio_.ringEffect(file);
}

void GameAudio::playCue(const std::string& file) {
    if (settings_.soundOn != 1) return;
    audio_.playCue(file);
}

bool GameAudio::playTrack(const std::string& file) {
    if (settings_.musicOn != 1) return false;
    // Opening closes the old track first; a failed open leaves no track and skips the rest.
    audio_.openMusic(file);
    audio_.playMusic();
    return true;
}

void GameAudio::stopMusic() {
    audio_.stopMusic();
}

void GameAudio::playAgain() {
    if (settings_.musicOn != 1) return;
    audio_.playMusic();
}

}  // namespace lumcrest
