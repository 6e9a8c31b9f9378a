// Sound in the browser: one voice for effects, the ringing voices of bursts and cues, and one
// music player, through Web Audio. The
// browser decodes the files; it lets sound start only after the player's first key or click, so
// what is asked before then is kept as state (the music's position runs on) and heard from then.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/audio.h"
#include "toolkit/music_clock.h"

namespace tk {

class WebAudio : public Audio {
  public:
    explicit WebAudio(std::function<std::int64_t()> clockUs) : clock_(std::move(clockUs)) {}
    void playEffect(const std::string& path) override;
    void ringEffect(const std::string& path) override;
    void playCue(const std::string& path) override;
    void duckMusic(double db, int ms) override;
    void preloadEffects(const std::vector<std::string>& paths) override;
    void openMusic(const std::string& path) override;
    void playMusic() override;
    void stopMusic() override;
    MusicState musicState() override;
    std::string musicFile() const override { return file_; }
    void setEffectVolume(int level) override;
    void setMusicVolume(int level) override;

  private:
    std::function<std::int64_t()> clock_;
    std::string file_;
    int effectVolume_ = kMaxVolume, musicVolume_ = kMaxVolume;
    MusicClock music_;  // the track's place, by the clock
};

}  // namespace tk
