// Sound through SDL2_mixer: one voice for effects (channel 0), the beep beside it (channel 1), the
// ringing voices of the bursts and cues (channels 2 to 4) and one music track. Without a sound card
// the game runs silent but the music player keeps its states by the clock, so the game behaves the
// same.
#pragma once

#include <SDL_mixer.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/audio.h"

namespace tk::sdl {

class SdlAudio : public Audio {
  public:
    // Opens nothing yet: the device opens with the first sound. CLOCK gives microseconds.
    explicit SdlAudio(std::function<std::int64_t()> clock);
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    void playEffect(const std::string& path) override;
    void preloadEffects(const std::vector<std::string>& paths) override;
    void openMusic(const std::string& path) override;
    void playMusic() override;
    void stopMusic() override;
    MusicState musicState() override;
    std::string musicFile() const override { return file_; }
    void setEffectVolume(int level) override;
    void setMusicVolume(int level) override;
    void ringEffect(const std::string& path) override;
    void playCue(const std::string& path) override;
    void duckMusic(double db, int ms) override;

    void beep();
    // Whether sound is really heard (false: no sound card, the silent player is in use).
    bool audible() const { return audible_; }
    // On the main thread, once a round of the loop: closes a device long left idle.
    void tidy();
    // SDL said that the playback device went away (the sound server ended, the card was
    // unplugged): the next sound or track opens a device again, and the track goes on there.
    void deviceRemoved();

  private:
    void closeTrack();
    // The effect PATH ready to play, in the device's format: decoded for this play from the
    // bytes read at preloading, or decoded once from its file when it was not preloaded; null
    // when it cannot be had.
    Mix_Chunk* effectChunk(const std::string& path);
    void freeEffects();
    void freePlayingEffect();
    // Starts PATH on the free ringing voice, or on the oldest, which is cut; false when it
    // cannot be played.
    bool ring(const std::string& path);

    bool mixerOpen_ = false;  // the mixer runs (on the real device, or muted only to read lengths)
    bool audible_ = false;
    bool noSoundCard_ = false;  // the real device failed: silent until it is tried again
    bool deviceLost_ = false;   // the device went away under the open mixer
    std::int64_t idleSinceUs_ = -1;
    std::int64_t silentSinceUs_ = 0;  // when the real device last failed to open
    static constexpr std::int64_t kIdleCloseUs = 10'000'000;
    // How long a game without a device stays silent before a sound tries the device again (a
    // sound server may be starting).
    static constexpr std::int64_t kRetryUs = 5'000'000;
    // Opens the mixer if it is not open (on the real device, else muted on the dummy one), or
    // again when its device went away or a device may be there now.
    void wake();
    void openDevice();
    // The mixer closed and opened again, the track reopened where it was, in the state it was.
    void reopenDevice();
    void closeMixer();
    // Hands the levels to the mixer while it plays aloud (a newly opened device starts at full).
    void applyVolumes();
    std::atomic<int> effectVolume_ = kMaxVolume;  // read by the audio thread at a cut
    int musicVolume_ = kMaxVolume;
    std::function<std::int64_t()> clock_;
    Mix_Chunk* beep_ = nullptr;
    // Effects that were not preloaded, decoded once from their files for the device format
    // below; they outlive a closing of the device, which opens again with the same format.
    std::map<std::string, Mix_Chunk*> effects_;
    // The preloaded effect of the last play, decoded from its bytes; freed at the next play.
    Mix_Chunk* lastEffect_ = nullptr;
    int effectsRate_ = 0, effectsChannels_ = 0;
    std::uint16_t effectsFormat_ = 0;
    // File bytes of the preloaded effects, kept for the game's whole run: no file is opened
    // during play.
    std::map<std::string, std::vector<std::uint8_t>> effectFiles_;
    // What each ringing voice plays, decoded for that play from the preloaded bytes.
    Mix_Chunk* ringChunks_[kRingingVoices] = {};
    std::uint64_t ringsStarted_ = 0;
    std::uint64_t ringStartedAt_[kRingingVoices] = {};

    // The music's duck: how deep (dB), until when it holds, and the gain last handed over.
    double duckDb_ = 0;
    std::int64_t duckUntilUs_ = 0;
    double duckGain_ = 1;
    // The duck's gain now: held until its end, then back to full over kDuckReleaseUs.
    double duckGainNow() const;

    // The effect on each voice (channel 0 and the ringing ones) and how much of it the mixer
    // has played; when it is cut, its next few milliseconds, fading out (cut_fade.h), mixed in
    // after the channels. Between a play and its cut only the audio thread touches these,
    // always under the mixer's lock.
    struct CutFade {
        const Mix_Chunk* chunk = nullptr;
        std::size_t playedBytes = 0;
        std::vector<std::int16_t> tail;
        std::size_t tailMixed = 0;
    };
    static constexpr int kVoices = 2 + kRingingVoices;
    CutFade cuts_[kVoices];
    bool startOn(int channel, Mix_Chunk* chunk);  // false: it cannot be played
    static void countPlayed(int channel, void* stream, int bytes, void* self);
    static void effectCut(int channel, void* self);
    static void mixCutTail(void* self, Uint8* stream, int bytes);

    // The track.
    Mix_Music* music_ = nullptr;
    std::string file_;
    bool open_ = false;
    bool started_ = false;  // played since it was opened (else it starts from the beginning)
    bool playing_ = false;  // asked to play and not stopped
    bool ended_ = false;
    // The silent player's clock: position when last started or stopped, and when it started.
    std::int64_t lengthUs_ = 0;
    std::int64_t positionUs_ = 0;
    std::int64_t startedAtUs_ = 0;
};

}  // namespace tk::sdl
