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
    if (open_ && playing_) jsMusicStop();
    open_ = false;
    playing_ = false;
    file_.clear();
    // The track's length from its frames, as the desktop's player knows it: the game's timing of
    // the track's end does not wait for the browser's decoding.
    lengthUs_ = playableTrackLengthUs(path);
    open_ = true;
    file_ = path;
    positionUs_ = 0;
    jsMusicOpen(path.c_str());
    jsMusicGain(gainOf(musicVolume_));
}

void WebAudio::playMusic() {
    if (!open_) throw Error(tr("No MCI device open"));
    MusicState s = musicState();
    if (s == MusicState::Playing) return;
    if (s == MusicState::Ended) positionUs_ = 0;
    playing_ = true;
    startedAtUs_ = clock_();
    jsMusicPlay(double(positionUs_) / 1e6);
}

void WebAudio::stopMusic() {
    if (!open_) throw Error(tr("No MCI device open"));
    if (playing_) {
        positionUs_ = std::min(lengthUs_, positionUs_ + (clock_() - startedAtUs_));
        playing_ = false;
        jsMusicStop();
    }
}

MusicState WebAudio::musicState() {
    if (!open_) return MusicState::None;
    if (playing_) {
        if (positionUs_ + (clock_() - startedAtUs_) >= lengthUs_) {
            playing_ = false;
            positionUs_ = lengthUs_;
            return MusicState::Ended;
        }
        return MusicState::Playing;
    }
    return positionUs_ >= lengthUs_ ? MusicState::Ended : MusicState::Stopped;
}

}  // namespace tk
