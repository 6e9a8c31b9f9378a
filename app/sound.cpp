// The window's side of the sound: the effects and tracks through the game's audio, the music's
// restart timer kept to the track that plays.
#include "app/form.h"
#include "assets/catalogue.h"
#include "audio/cues.h"
#include "game/matching.h"

namespace lumcrest {

void TForm1::playEffect(const std::string& file) {
    sound.playEffect(file);
}

void TForm1::playCue(const std::string& file) {
    sound.playCue(file);
}

void TForm1::soundBurst() {
    sound.ringEffect(asset::kExplosions[fieldView.blastStyle].file);
    // A landing's burst is the chain's first step; each settle step adds one.
    playCue(chainCue(play.settleSteps + 1));
    if (bombMarked(play)) playCue(asset::kBombCue.file);
}

void TForm1::switchTrack(const std::string& file, int restartMs) {
    if (sound.playTrack(file)) MusicTimer.setInterval(restartMs);
}

void TForm1::stopMusic() {
    sound.stopMusic();
}

void TForm1::musicloop() {
    sound.playAgain();
}

}  // namespace lumcrest
