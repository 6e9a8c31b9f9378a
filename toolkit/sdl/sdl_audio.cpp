#include "toolkit/sdl/sdl_audio.h"

#include <SDL.h>
#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <span>

#include "toolkit/error.h"
#include "toolkit/image.h"
#include "toolkit/sdl/beep_tone.h"
#include "toolkit/sdl/cut_fade.h"

namespace tk::sdl {

namespace {

constexpr int kEffectChannel = 0, kBeepChannel = 1, kFirstRingChannel = 2;
// A ducked track comes back to full over this long after its duck ends.
constexpr std::int64_t kDuckReleaseUs = 400'000;
// The game's effects are a few hundred kilobytes at most.
constexpr std::streamoff kMaxPreloadedBytes = 16 << 20;
// The mixer's rate is the tracks' and effects' own, so nothing is resampled on a device that
// takes it. Frames mixed at a time: SDL's audio thread wakes once per buffer, and a sound
// started just after a wake-up waits at most one buffer, 2048 / 44100 s = 46 ms, to be heard.
constexpr int kMixRate = 44100, kMixFrames = 2048;

bool openMixer() {
    // The sound threads started here do not take SIGTERM and SIGINT: those go to the loop's
    // thread, where they break the wait at once.
    sigset_t quitSignals, previous;
    sigemptyset(&quitSignals);
    sigaddset(&quitSignals, SIGTERM);
    sigaddset(&quitSignals, SIGINT);
    sigaddset(&quitSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &quitSignals, &previous);
    bool open = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (open && Mix_OpenAudio(kMixRate, MIX_DEFAULT_FORMAT, 2, kMixFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        open = false;
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return open;
}

// A track whose length cannot be read never ends by itself.
constexpr std::int64_t kEndless = std::numeric_limits<std::int64_t>::max() / 4;

}  // namespace

SdlAudio::SdlAudio(std::function<std::int64_t()> clock) : clock_(std::move(clock)) {
    // The device opens with the first sound, so a game with sound and music off never wakes it.
    Mix_Init(MIX_INIT_MP3);
}

SdlAudio::~SdlAudio() {
    closeTrack();
    closeMixer();
    freeEffects();
    Mix_Quit();
}

// --- Effects ------------------------------------------------------------------------------

void SdlAudio::preloadEffects(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (effects_.count(path) || effectFiles_.count(path)) continue;
        // Read at its exact size; an effect beyond any sensible size is left to be loaded at
        // its play, as one that was never preloaded.
        if (!isRegularFile(path)) continue;  // a pipe would hang the open
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (!in) continue;
        const std::streamoff size = in.tellg();
        if (size <= 0 || size > kMaxPreloadedBytes) continue;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        in.seekg(0);
        if (in.read(reinterpret_cast<char*>(bytes.data()), size))
            effectFiles_[path] = std::move(bytes);
    }
}

Mix_Chunk* SdlAudio::effectChunk(const std::string& path) {
    if (auto it = effects_.find(path); it != effects_.end()) return it->second;
    if (auto it = effectFiles_.find(path); it != effectFiles_.end()) {
        const std::vector<std::uint8_t>& bytes = it->second;
        // Decoded for this play alone: one voice plays at a time, so only the playing effect is
        // held in the device's format (twice the file's size for the game's mono effects).
        lastEffect_ = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
        if (lastEffect_) return lastEffect_;
        // Bytes that do not decode are done with: the effect is read from its file at each
        // play, as one that was never preloaded.
        effectFiles_.erase(it);
    }
    Mix_Chunk* chunk = nullptr;
    // A pipe in a sound's place must not hang the game in the library's open.
    if (isRegularFile(path)) chunk = Mix_LoadWAV(path.c_str());
    if (chunk) effects_[path] = chunk;
    return chunk;
}

void SdlAudio::freeEffects() {
    for (auto& [path, chunk] : effects_) Mix_FreeChunk(chunk);
    effects_.clear();
    freePlayingEffect();
    for (Mix_Chunk*& chunk : ringChunks_) {
        if (chunk) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
}

void SdlAudio::freePlayingEffect() {
    if (lastEffect_) Mix_FreeChunk(lastEffect_);
    lastEffect_ = nullptr;
}

void SdlAudio::playEffect(const std::string& path) {
    wake();
    if (!audible_) return;
    // The effect before it stops here, and fades out over the next milliseconds (from a copy
    // of its next samples, so its own may go now).
    Mix_HaltChannel(kEffectChannel);
    freePlayingEffect();
    Mix_Chunk* chunk = effectChunk(path);
    if (!chunk || !startOn(kEffectChannel, chunk)) beep();  // what cannot be played beeps
}

bool SdlAudio::ring(const std::string& path) {
    int voice = 0;
    for (int v = 0; v < kRingingVoices; ++v) {
        if (!Mix_Playing(kFirstRingChannel + v)) {
            voice = v;
            break;
        }
        if (ringStartedAt_[v] < ringStartedAt_[voice]) voice = v;
    }
    // The oldest still ringing stops here and fades out, as a cut effect does (from a copy of
    // its next samples, so its own may go now).
    Mix_HaltChannel(kFirstRingChannel + voice);
    Mix_Chunk*& own = ringChunks_[voice];
    if (own) Mix_FreeChunk(own);
    own = nullptr;
    // Decoded for this play alone, as the effect voice's are: three voices hold three sounds.
    Mix_Chunk* chunk = nullptr;
    if (auto it = effectFiles_.find(path); it != effectFiles_.end())
        chunk = own =
            Mix_LoadWAV_RW(SDL_RWFromConstMem(it->second.data(), int(it->second.size())), 1);
    if (!chunk) chunk = effectChunk(path);
    if (!chunk) return false;
    ringStartedAt_[voice] = ++ringsStarted_;
    return startOn(kFirstRingChannel + voice, chunk);
}

void SdlAudio::ringEffect(const std::string& path) {
    wake();
    if (!audible_) return;
    if (!ring(path)) beep();
}

void SdlAudio::playCue(const std::string& path) {
    wake();
    if (!audible_) return;
    ring(path);
}

bool SdlAudio::startOn(int channel, Mix_Chunk* chunk) {
    // The channel is silent: the audio thread leaves these alone until the play below.
    CutFade& cut = cuts_[channel];
    cut.chunk = chunk;
    cut.playedBytes = 0;
    // Counts from the effect's first sample; a halt, a cut or the effect's end removes it.
    if (effectsFormat_ == AUDIO_S16SYS) Mix_RegisterEffect(channel, countPlayed, effectCut, this);
    if (Mix_PlayChannel(channel, chunk, 0) >= 0) return true;
    Mix_UnregisterEffect(channel, countPlayed);
    return false;
}

void SdlAudio::countPlayed(int channel, void*, int bytes, void* self) {
    static_cast<SdlAudio*>(self)->cuts_[channel].playedBytes += std::size_t(bytes);
}

void SdlAudio::effectCut(int channel, void* self) {
    // Called under the mixer's lock when the channel stops, so nothing more of the effect has
    // been mixed: its fade starts at the very next sample.
    auto* audio = static_cast<SdlAudio*>(self);
    CutFade& cut = audio->cuts_[channel];
    const int channels = audio->effectsChannels_;
    // Not yet started, or played to its end: nothing to fade.
    if (!cut.chunk || cut.playedBytes == 0 || cut.playedBytes >= cut.chunk->alen || channels <= 0)
        return;
    const std::span<const std::int16_t> sound(
        reinterpret_cast<const std::int16_t*>(cut.chunk->abuf),
        cut.chunk->alen / sizeof(std::int16_t));
    const std::size_t at = cut.playedBytes / sizeof(std::int16_t) / std::size_t(channels);
    const auto frames = std::size_t(std::lround(kCutFadeSeconds * audio->effectsRate_));
    cut.tail = fadedTail(
        sound, channels, at, frames,
        cut.chunk->volume / double(MIX_MAX_VOLUME) * audio->effectVolume_ / double(kMaxVolume));
    cut.tailMixed = 0;
    cut.chunk = nullptr;
}

void SdlAudio::mixCutTail(void* self, Uint8* stream, int bytes) {
    const std::span<std::int16_t> out(reinterpret_cast<std::int16_t*>(stream),
                                      std::size_t(bytes) / sizeof(std::int16_t));
    for (CutFade& cut : static_cast<SdlAudio*>(self)->cuts_)
        if (cut.tailMixed < cut.tail.size()) cut.tailMixed += mixTail(out, cut.tail, cut.tailMixed);
}

void SdlAudio::setEffectVolume(int level) {
    effectVolume_ = std::clamp(level, 0, kMaxVolume);
    applyVolumes();
}

void SdlAudio::setMusicVolume(int level) {
    musicVolume_ = std::clamp(level, 0, kMaxVolume);
    applyVolumes();
}

void SdlAudio::applyVolumes() {
    // The beep keeps its own level: it is the desktop's bell, not one of the game's effects.
    if (!mixerOpen_ || !audible_) return;
    for (int channel :
         {kEffectChannel, kFirstRingChannel, kFirstRingChannel + 1, kFirstRingChannel + 2})
        Mix_Volume(channel, effectVolume_ * MIX_MAX_VOLUME / kMaxVolume);
    duckGain_ = duckGainNow();
    Mix_VolumeMusic(int(std::lround(musicVolume_ * MIX_MAX_VOLUME / kMaxVolume * duckGain_)));
}

void SdlAudio::duckMusic(double db, int ms) {
    duckDb_ = std::max(0.0, db);
    duckUntilUs_ = clock_() + std::int64_t(ms) * 1000;
    applyVolumes();
}

double SdlAudio::duckGainNow() const {
    if (duckDb_ <= 0) return 1;
    const std::int64_t after = clock_() - duckUntilUs_;
    if (after >= kDuckReleaseUs) return 1;
    const double depth = after <= 0 ? duckDb_ : duckDb_ * (1 - double(after) / kDuckReleaseUs);
    return std::pow(10.0, -depth / 20);
}

void SdlAudio::beep() {
    wake();
    if (audible_ && beep_) Mix_PlayChannel(kBeepChannel, beep_, 0);
}

void SdlAudio::tidy() {
    // A ducked track comes back step by step, a step each round of the loop.
    if (duckGain_ != 1 && duckGainNow() != duckGain_) applyVolumes();
    // A device that has had nothing to play for a while is closed: SDL's audio thread wakes
    // every few milliseconds as long as it is open, even when it only mixes silence. A track
    // keeps it open, and the next effect opens it again.
    if (!mixerOpen_ || music_ || Mix_Playing(-1) != 0) {
        idleSinceUs_ = -1;
        return;
    }
    std::int64_t now = clock_();
    if (idleSinceUs_ < 0) idleSinceUs_ = now;
    if (now - idleSinceUs_ > kIdleCloseUs) closeMixer();
}

void SdlAudio::deviceRemoved() {
    if (mixerOpen_ && audible_) deviceLost_ = true;
}

void SdlAudio::wake() {
    // A removal not yet seen by the loop (or with no loop running) is taken from the queue here.
    SDL_Event e;
    while (mixerOpen_ && SDL_WasInit(SDL_INIT_EVENTS) &&
           SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_AUDIODEVICEREMOVED, SDL_AUDIODEVICEREMOVED) > 0)
        if (!e.adevice.iscapture) deviceRemoved();
    const bool retry = noSoundCard_ && clock_() - silentSinceUs_ >= kRetryUs;
    if (mixerOpen_) {
        if (deviceLost_ || retry) reopenDevice();
        return;
    }
    if (noSoundCard_ && !retry) return;
    openDevice();
}

void SdlAudio::reopenDevice() {
    const std::string track = file_;
    const MusicState state = musicState();
    std::int64_t atUs = positionUs_;
    if (audible_ && music_) {
        const double seconds = Mix_GetMusicPosition(music_);
        atUs = seconds > 0 ? std::int64_t(seconds * 1e6) : 0;
    } else if (state == MusicState::Playing) {
        atUs += clock_() - startedAtUs_;
    }
    const bool resume = state == MusicState::Playing || (state == MusicState::Stopped && started_);
    closeTrack();
    closeMixer();
    deviceLost_ = false;
    openDevice();
    if (track.empty()) return;
    try {
        openMusic(track);
        if (state == MusicState::Ended) {
            started_ = ended_ = true;
            positionUs_ = lengthUs_;
        }
        if (!resume) return;
        playMusic();
        if (audible_)
            Mix_SetMusicPosition(double(atUs) / 1e6);
        else
            positionUs_ = std::min(atUs, lengthUs_);
        if (state == MusicState::Stopped) stopMusic();
    } catch (const std::exception&) {
        // The track cannot be had again: the game goes on as after a failed open.
    }
}

void SdlAudio::openDevice() {
    noSoundCard_ = false;
    if (openMixer()) {
        mixerOpen_ = audible_ = true;
        int rate = 44100, channels = 2;
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        // Decoded effects suit the device as long as it opens with the same format.
        if (rate != effectsRate_ || format != effectsFormat_ || channels != effectsChannels_) {
            freeEffects();
            effectsRate_ = rate;
            effectsFormat_ = format;
            effectsChannels_ = channels;
        }
        for (CutFade& cut : cuts_) cut = CutFade{};
        if (format == AUDIO_S16SYS) Mix_SetPostMix(mixCutTail, this);
        std::vector<std::uint8_t> wav = monoWav(beepTone(rate), rate);
        beep_ = Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), int(wav.size())), 1);
        applyVolumes();
        return;
    }
    // No sound card. The mixer is still the one that knows how long a track is, so it runs
    // on SDL's dummy device, muted, and never plays anything.
    noSoundCard_ = true;
    silentSinceUs_ = clock_();
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    mixerOpen_ = openMixer();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (mixerOpen_) {
        Mix_Volume(-1, 0);
        Mix_VolumeMusic(0);
    }
}

void SdlAudio::closeMixer() {
    if (!mixerOpen_) return;
    Mix_HaltChannel(-1);
    Mix_SetPostMix(nullptr, nullptr);
    if (beep_) Mix_FreeChunk(beep_);
    beep_ = nullptr;
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    mixerOpen_ = audible_ = deviceLost_ = false;
    idleSinceUs_ = -1;
}

// --- Music --------------------------------------------------------------------------------

void SdlAudio::closeTrack() {
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    file_.clear();
    open_ = started_ = playing_ = ended_ = false;
    lengthUs_ = positionUs_ = startedAtUs_ = 0;
}

void SdlAudio::openMusic(const std::string& path) {
    closeTrack();
    wake();
    Mix_Music* music = nullptr;
    if (!isRegularFile(path)) {
        throw Error(
            tr("The music track %s cannot be found. Make sure the path and filename are correct.",
               path));
    } else if (mixerOpen_) {
        music = Mix_LoadMUS(path.c_str());
        if (!music) throw Error(Mix_GetError());
    } else if (!std::ifstream(path, std::ios::binary)) {
        throw Error(tr("Couldn't open '%s'", path));
    }
    double seconds = music ? Mix_MusicDuration(music) : -1;
    lengthUs_ = seconds > 0 ? std::int64_t(seconds * 1e6) : kEndless;
    if (audible_) {
        music_ = music;
    } else if (music) {
        Mix_FreeMusic(music);  // only its length was wanted
    }
    file_ = path;
    open_ = true;
}

void SdlAudio::playMusic() {
    if (!open_) throw Error(tr("No MCI device open"));
    wake();  // a device that went away is opened again, with the track where it was
    MusicState state = musicState();
    if (state == MusicState::Playing) return;
    bool fromStart = !started_ || state == MusicState::Ended;
    if (audible_) {
        if (fromStart) {
            if (Mix_PlayMusic(music_, 0) != 0) throw Error(Mix_GetError());
        }
        // Stopping pauses the track, so resuming continues at the very sample it stopped on.
        Mix_ResumeMusic();
    } else {
        if (fromStart) positionUs_ = 0;
        startedAtUs_ = clock_();
    }
    started_ = playing_ = true;
    ended_ = false;
}

void SdlAudio::stopMusic() {
    if (!open_) throw Error(tr("No MCI device open"));
    if (musicState() != MusicState::Playing) return;
    if (audible_)
        Mix_PauseMusic();
    else
        positionUs_ = std::min(lengthUs_, positionUs_ + (clock_() - startedAtUs_));
    playing_ = false;
}

MusicState SdlAudio::musicState() {
    if (!open_) return MusicState::None;
    if (playing_) {
        bool over =
            audible_ ? !Mix_PlayingMusic() : positionUs_ + (clock_() - startedAtUs_) >= lengthUs_;
        if (!over) return MusicState::Playing;
        playing_ = false;
        ended_ = true;
        positionUs_ = lengthUs_;
    }
    return ended_ ? MusicState::Ended : MusicState::Stopped;
}

}  // namespace tk::sdl
