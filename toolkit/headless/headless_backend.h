// The headless backend: a memory surface instead of a screen, a recording audio device instead of
// a sound card, and a virtual clock that moves only when told.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/music_clock.h"

namespace tk {

// Remembers what would have been heard, and keeps the music player's states by each track's
// real length in virtual time.
class RecordingAudio : public Audio {
  public:
    explicit RecordingAudio(std::int64_t* clockUs) : clock_(clockUs) {}
    void playEffect(const std::string& path) override;
    // A ringing effect is an effect all the same: it is listed with the others.
    void ringEffect(const std::string& path) override { playEffect(path); }
    void playCue(const std::string& path) override { cues_.push_back(path); }
    void duckMusic(double db, int ms) override { ducks_.push_back({db, ms}); }
    void openMusic(const std::string& path) override;
    void playMusic() override;
    void stopMusic() override;
    MusicState musicState() override;
    std::string musicFile() const override { return file_; }
    void setEffectVolume(int level) override;
    void setMusicVolume(int level) override;
    int effectVolume() const { return effectVolume_; }
    int musicVolume() const { return musicVolume_; }

    // Effect files handed over since the last call.
    std::vector<std::string> takeEffects();
    // Cue files played since the last call.
    std::vector<std::string> takeCues();
    // The music's ducks since the last call: how deep (dB) and how long (ms).
    struct Duck {
        double db;
        int ms;
    };
    std::vector<Duck> takeDucks();

  private:
    std::int64_t* clock_;
    std::vector<std::string> effects_, cues_;
    std::vector<Duck> ducks_;
    std::string file_;
    int effectVolume_ = kMaxVolume, musicVolume_ = kMaxVolume;
    MusicClock music_;
};

class HeadlessBackend : public Backend {
  public:
    HeadlessBackend();
    std::int64_t nowUs() override { return clockUs_; }
    Audio& audio() override { return audio_; }
    void beep() override { ++beeps_; }
    void openUrl(const std::string& address) override { urls_.push_back(address); }
    // Kept as the SDL backend would start and stop it.
    void setTextInput(bool on) override {
        textInput_ = on;
        ++textInputChanges_;
    }
    void showError(Application& app, const std::string& message) override;
    // Kept with the others, and on standard error as the SDL backend does: a driver that closes
    // the window cannot ask for it afterwards.
    void showFatalError(Application& app, const std::string& message) override;
    void run(Application& app) override;

    // Moves the virtual clock forward by MS, delivering every timer tick due on the way.
    void advance(Application& app, std::int64_t ms);
    void setClockUs(std::int64_t us) { clockUs_ = us; }

    RecordingAudio& recorder() { return audio_; }
    int beeps() const { return beeps_; }
    const std::vector<std::string>& urls() const { return urls_; }
    // Whether the platform's text input is on, and how often it was started or stopped.
    bool textInputOn() const { return textInput_; }
    int textInputChanges() const { return textInputChanges_; }
    // Error messages since the last call.
    std::vector<std::string> takeErrors();

  private:
    std::int64_t clockUs_ = 0;
    RecordingAudio audio_;
    int beeps_ = 0;
    bool textInput_ = false;
    int textInputChanges_ = 0;
    std::vector<std::string> urls_;
    std::vector<std::string> errors_;
};

// Length of an MP3 file in microseconds by walking its frames; 0 when it is not an MP3.
std::int64_t mp3LengthUs(const std::string& path);
// The length of the track at PATH for a player that keeps the track's time by the clock; throws
// the player's message when the file cannot be found or is not a track it plays.
std::int64_t playableTrackLengthUs(const std::string& path);

}  // namespace tk
