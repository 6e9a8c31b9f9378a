// The window's side of the sound: the effects and tracks through the game's audio, the music's
// restart timer kept to the track that plays.
#include <algorithm>
#include <iterator>

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

void TForm1::soundBurst(bool started) {
    // A pass that started nothing: once no gem is marked (the settle step took them, or a new
    // bar or game came), whatever bursts next is a new burst.
    if (!started) {
        if (std::none_of(std::begin(play.marks), std::end(play.marks), [](auto m) { return m; }))
            cuedStep_ = 0;
        return;
    }
    sound.ringEffect(asset::kExplosions[fieldView.blastStyle].file);
    // A landing's burst is the chain's first step; each settle step adds one.
    const int step = play.settleSteps + 1;
    if (step == cuedStep_) return;  // the same marks again, drawn afresh
    cuedStep_ = step;
    playCue(chainCue(step));
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
