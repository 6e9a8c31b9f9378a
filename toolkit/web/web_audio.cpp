#include "toolkit/web/web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "toolkit/error.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/i18n.h"
#include "toolkit/image.h"

namespace tk {

namespace {

// The page's sound (web/js/sound.js) plays and decodes; it holds nothing the game asks about.
EM_JS(void, jsPlayEffect, (const char* path, double gain),
      { Module.lumcrest.sound.effect(UTF8ToString(path), gain); });
EM_JS(void, jsRing, (const char* path, double gain, int beepWhenMissing),
      { Module.lumcrest.sound.ring(UTF8ToString(path), gain, beepWhenMissing); });
EM_JS(void, jsMusicDuck, (double gain, double seconds),
      { Module.lumcrest.sound.musicDuck(gain, seconds); });
EM_JS(void, jsPreload, (const char* path), { Module.lumcrest.sound.preload(UTF8ToString(path)); });
EM_JS(void, jsMusicOpen, (const char* path),
      { Module.lumcrest.sound.musicOpen(UTF8ToString(path)); });
EM_JS(void, jsMusicPlay, (double fromSeconds), { Module.lumcrest.sound.musicPlay(fromSeconds); });
EM_JS(void, jsMusicStop, (), { Module.lumcrest.sound.musicStop(); });
EM_JS(void, jsMusicGain, (double gain), { Module.lumcrest.sound.musicGain(gain); });

double gainOf(int level) {
    return double(level) / Audio::kMaxVolume;
}

}  // namespace

void WebAudio::playEffect(const std::string& path) {
    // A file that cannot be played beeps, as on the desktop: the page beeps for a missing one.
    jsPlayEffect(path.c_str(), gainOf(effectVolume_));
}

void WebAudio::ringEffect(const std::string& path) {
    jsRing(path.c_str(), gainOf(effectVolume_), 1);
}

void WebAudio::playCue(const std::string& path) {
    jsRing(path.c_str(), gainOf(effectVolume_), 0);
}

void WebAudio::duckMusic(double db, int ms) {
    jsMusicDuck(std::pow(10.0, -std::max(0.0, db) / 20), ms / 1000.0);
}

void WebAudio::preloadEffects(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) jsPreload(p.c_str());
}

void WebAudio::setEffectVolume(int level) {
    effectVolume_ = std::clamp(level, 0, kMaxVolume);
}

void WebAudio::setMusicVolume(int level) {
    musicVolume_ = std::clamp(level, 0, kMaxVolume);
    jsMusicGain(gainOf(musicVolume_));
}

void WebAudio::openMusic(const std::string& path) {
    if (music_.playing()) jsMusicStop();
    music_.close();
    file_.clear();
    // The track's length from its frames, as the desktop's player knows it: the game's timing of
    // the track's end does not wait for the browser's decoding.
    music_.open(playableTrackLengthUs(path));
    file_ = path;
    jsMusicOpen(path.c_str());
    jsMusicGain(gainOf(musicVolume_));
}

void WebAudio::playMusic() {
    if (!music_.isOpen()) throw Error(tr("No MCI device open"));
    if (music_.play(clock_())) jsMusicPlay(double(music_.positionUs()) / 1e6);
}

void WebAudio::stopMusic() {
    if (!music_.isOpen()) throw Error(tr("No MCI device open"));
    if (music_.stop(clock_())) jsMusicStop();
}

MusicState WebAudio::musicState() {
    return music_.state(clock_());
}

}  // namespace tk
