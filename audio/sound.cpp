// Effects and music: every effect goes through playEffect, every track change through
// switchTrack, and each tests its switch at the moment of the call.
#include <vector>

#include "app/form.h"
#include "assets/catalogue.h"
#include "audio/effects.h"
#include "toolkit/audio.h"

namespace lumcrest {

void TForm1::playEffect(const std::string& file) {
    if (settings.soundOn != 1) return;
    app().backend().audio().playEffect(file);
}

void TForm1::switchTrack(const std::string& file, int restartMs) {
    if (settings.musicOn != 1) return;
    tk::Audio& audio = app().backend().audio();
    // Opening closes the old track first; a failed open leaves no track and skips the rest.
    audio.openMusic(file);
    audio.playMusic();
    MusicTimer.setInterval(restartMs);
}

void preloadEffects(tk::Audio& audio) {
    std::vector<std::string> files;
    for (const asset::File& effect : asset::kEffects) files.emplace_back(effect.file);
    audio.preloadEffects(files);
}

void TForm1::stopMusic() {
    app().backend().audio().stopMusic();
}

void TForm1::musicloop() {
    if (settings.musicOn != 1) return;
    // A track still playing goes on; one at its end is rewound and played again.
    app().backend().audio().playMusic();
}

}  // namespace lumcrest
