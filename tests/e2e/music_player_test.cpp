// The music player of the SDL backend, with a sound device (SDL's dummy device, which plays in
// real time) and without one (the silent player that keeps time by the clock). The game must not
// be able to tell them apart.
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <thread>

#include "assets/catalogue.h"
#include "toolkit/error.h"
#include "toolkit/sdl/beep_tone.h"
#include "toolkit/sdl/sdl_audio.h"

namespace {

using Clock = std::chrono::steady_clock;
using tk::MusicState;

std::int64_t microsSince(Clock::time_point t0) {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
}

// A track of SECONDS of a quiet tone, as a WAV file (NAME in DIR) the mixer opens as music or
// plays as an effect.
std::string writeTrack(const std::filesystem::path& dir, double seconds,
                       const std::string& name = "track.wav") {
    const int rate = 44100;
    std::vector<std::int16_t> samples(std::size_t(rate * seconds));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(2000 * std::sin(2 * std::numbers::pi * 440 * double(i) / rate));
    std::vector<std::uint8_t> wav = tk::sdl::monoWav(samples, rate);
    std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
    return path;
}

// Waits until the player leaves Playing, at most LIMITUS; returns how long it played on.
std::int64_t playsFor(tk::Audio& audio, std::int64_t limitUs) {
    auto t0 = Clock::now();
    while (audio.musicState() == MusicState::Playing && microsSince(t0) < limitUs)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return microsSince(t0);
}

class MusicPlayer : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        // An audio driver that does not exist stands for a machine without a sound card.
        setenv("SDL_AUDIODRIVER", GetParam(), 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
        dir_ = std::filesystem::temp_directory_path() /
               ("lumcrest-music-" + std::to_string(getpid()) + "-" + GetParam());
        std::filesystem::create_directories(dir_);
        audio_ = std::make_unique<tk::sdl::SdlAudio>(
            [this, t0 = Clock::now()] { return microsSince(t0) + fakeNowUs_; });
    }
    void TearDown() override {
        audio_.reset();
        SDL_Quit();
        std::filesystem::remove_all(dir_);
    }
    bool withSoundCard() const { return std::string(GetParam()) == "dummy"; }

    std::filesystem::path dir_;
    std::int64_t fakeNowUs_ = 0;  // time added to the real clock, for waits too long to sit out
    std::unique_ptr<tk::sdl::SdlAudio> audio_;
};

TEST_P(MusicPlayer, OpensTheDeviceWithTheFirstSoundAndClosesItWhenLongIdle) {
    // Nothing to play yet: no device, so a silent game never wakes SDL's audio thread.
    EXPECT_FALSE(audio_->audible());
    audio_->beep();
    EXPECT_EQ(audio_->audible(), withSoundCard());
    if (!withSoundCard()) return;
    // The beep ends; after ten idle seconds of the clock the device closes, and a new sound opens
    // it again.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    audio_->tidy();
    fakeNowUs_ += 11'000'000;
    audio_->tidy();
    EXPECT_FALSE(audio_->audible());
    audio_->beep();
    EXPECT_TRUE(audio_->audible());
}

// Effects are read from their files once, before play, and decoded once: playing them again
// opens no file, even after the device closed for idleness. An effect that cannot be had beeps.
TEST_P(MusicPlayer, EffectsAreReadOnceAndPlayWithoutTheirFiles) {
    const std::string effect = writeTrack(dir_, 0.3, "effect.wav");
    const std::string late = writeTrack(dir_, 0.3, "late.wav");
    const std::string missing = (dir_ / "missing.wav").string();
    audio_->preloadEffects({effect, missing});
    std::filesystem::remove(effect);
    audio_->playEffect(effect);
    if (!withSoundCard()) {
        EXPECT_FALSE(audio_->audible());
        return;
    }
    EXPECT_EQ(Mix_Playing(0), 1);
    EXPECT_EQ(Mix_Playing(1), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    audio_->tidy();
    fakeNowUs_ += 11'000'000;
    audio_->tidy();
    ASSERT_FALSE(audio_->audible());
    audio_->playEffect(effect);
    EXPECT_TRUE(audio_->audible());
    EXPECT_EQ(Mix_Playing(0), 1);
    // One not preloaded is read at its first play and kept from then on.
    audio_->playEffect(late);
    EXPECT_EQ(Mix_Playing(0), 1);
    std::filesystem::remove(late);
    audio_->playEffect(late);
    EXPECT_EQ(Mix_Playing(0), 1);
    EXPECT_EQ(Mix_Playing(1), 0);
    // Neither preloaded nor on disk: the effect before it stops and the beep sounds.
    audio_->playEffect(missing);
    EXPECT_EQ(Mix_Playing(0), 0);
    EXPECT_EQ(Mix_Playing(1), 1);
    // A preloaded effect plays as often as it is asked for, from its bytes, its file long gone:
    // only the playing one is held decoded, and each play decodes it again.
    for (int i = 0; i < 3; ++i) {
        audio_->playEffect(effect);
        EXPECT_EQ(Mix_Playing(0), 1) << "play " << i;
        ASSERT_NE(Mix_GetChunk(0), nullptr);
        EXPECT_GT(Mix_GetChunk(0)->alen, 0u);
    }
}

// The game's volume steps reach the mixer at once, before and after the device opens, and again
// when it opens anew after an idle close; the beep keeps its own level.
TEST_P(MusicPlayer, VolumesReachTheMixerWheneverTheDeviceIsOpen) {
    audio_->setEffectVolume(4);
    audio_->setMusicVolume(7);
    audio_->beep();
    if (!withSoundCard()) return;
    EXPECT_EQ(Mix_Volume(0, -1), 4 * MIX_MAX_VOLUME / 10);
    EXPECT_EQ(Mix_VolumeMusic(-1), 7 * MIX_MAX_VOLUME / 10);
    EXPECT_EQ(Mix_Volume(1, -1), MIX_MAX_VOLUME);
    audio_->setEffectVolume(15);  // past the top: full
    audio_->setMusicVolume(-2);   // past the bottom: silent
    EXPECT_EQ(Mix_Volume(0, -1), MIX_MAX_VOLUME);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    audio_->setEffectVolume(3);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    audio_->tidy();
    fakeNowUs_ += 11'000'000;
    audio_->tidy();
    ASSERT_FALSE(audio_->audible());
    audio_->beep();
    EXPECT_EQ(Mix_Volume(0, -1), 3 * MIX_MAX_VOLUME / 10);
}

TEST_P(MusicPlayer, WithoutATrackPlayAndStopFailAsTheOldPlayerDid) {
    EXPECT_EQ(audio_->musicState(), MusicState::None);
    EXPECT_EQ(audio_->musicFile(), "");
    for (auto action : {&tk::Audio::playMusic, &tk::Audio::stopMusic}) {
        try {
            (audio_.get()->*action)();
            ADD_FAILURE() << "no error without a track";
        } catch (const tk::Error& e) {
            EXPECT_STREQ(e.what(), "No MCI device open");
        }
    }
}

TEST_P(MusicPlayer, ATrackThatCannotOpenLeavesNoneOpen) {
    audio_->openMusic(writeTrack(dir_, 0.5));
    EXPECT_EQ(audio_->musicState(), MusicState::Stopped);
    std::string missing = (dir_ / "missing.mp3").string();
    try {
        audio_->openMusic(missing);
        ADD_FAILURE() << "a missing file opened";
    } catch (const tk::Error& e) {
        EXPECT_NE(std::string(e.what()), "");
    }
    EXPECT_EQ(audio_->musicState(), MusicState::None);
    EXPECT_EQ(audio_->musicFile(), "");
    EXPECT_THROW(audio_->playMusic(), tk::Error);
}

TEST_P(MusicPlayer, StoppingKeepsThePlaceAndTheEndRewinds) {
    std::string path = writeTrack(dir_, 1.0);
    audio_->openMusic(path);
    EXPECT_EQ(audio_->musicFile(), path);
    EXPECT_EQ(audio_->musicState(), MusicState::Stopped);

    audio_->playMusic();
    EXPECT_EQ(audio_->musicState(), MusicState::Playing);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    audio_->stopMusic();
    EXPECT_EQ(audio_->musicState(), MusicState::Stopped);
    // Time stands still for a stopped track.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(audio_->musicState(), MusicState::Stopped);

    // Playing on finishes the second half, not the whole track again.
    audio_->playMusic();
    audio_->playMusic();  // already playing: nothing changes
    std::int64_t rest = playsFor(*audio_, 3'000'000);
    EXPECT_EQ(audio_->musicState(), MusicState::Ended);
    EXPECT_GT(rest, 300'000);
    EXPECT_LT(rest, 850'000);

    // Stopping an ended track keeps it ended; playing it starts it over, for its whole length.
    audio_->stopMusic();
    EXPECT_EQ(audio_->musicState(), MusicState::Ended);
    audio_->playMusic();
    std::int64_t whole = playsFor(*audio_, 3'000'000);
    EXPECT_EQ(audio_->musicState(), MusicState::Ended);
    EXPECT_GT(whole, 850'000);
    EXPECT_LT(whole, 1'600'000);
}

TEST_P(MusicPlayer, OpeningAnotherTrackSilencesTheFirst) {
    std::string path = writeTrack(dir_, 1.0);
    audio_->openMusic(path);
    audio_->playMusic();
    audio_->openMusic(path);
    EXPECT_EQ(audio_->musicState(), MusicState::Stopped);
    if (withSoundCard()) {
        EXPECT_FALSE(Mix_PlayingMusic());
    }
}

TEST_P(MusicPlayer, AnEffectThatCannotPlayCutsTheLastOneAndBeeps) {
    audio_->playEffect(writeTrack(dir_, 1.0));  // any WAV file is an effect
    EXPECT_EQ(Mix_Playing(0), withSoundCard() ? 1 : 0);
    audio_->playEffect((dir_ / "missing.wav").string());
    EXPECT_EQ(Mix_Playing(0), 0);
    // The beep has a channel of its own, so it never cuts an effect.
    EXPECT_EQ(Mix_Playing(1), withSoundCard() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Device, MusicPlayer, ::testing::Values("dummy", "no-sound-card"),
                         [](const auto& paramInfo) {
                             return std::string(paramInfo.param) == "dummy" ? "WithSoundCard"
                                                                            : "Silent";
                         });

// SDL's disk driver writes the mix to a file, in real time: what the player would hear.
class Mixed : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() / ("lumcrest-mix-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir_ / "mix.raw").c_str(), 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
    }
    void TearDown() override {
        SDL_Quit();
        unsetenv("SDL_DISKAUDIOFILE");
        std::filesystem::remove_all(dir_);
    }
    // A WAV effect of SECONDS of a 440 Hz tone at AMPLITUDE.
    std::string effect(const std::string& name, double seconds, double amplitude) {
        std::vector<std::int16_t> samples(std::size_t(44100 * seconds));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = std::int16_t(amplitude * std::sin(2 * std::numbers::pi * 440 * i / 44100));
        const std::vector<std::uint8_t> wav = tk::sdl::monoWav(samples, 44100);
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
        return path;
    }
    // The left channel of the mix (16-bit stereo at 44.1 kHz).
    std::vector<int> mixed() {
        std::ifstream in(dir_ / "mix.raw", std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        std::vector<int> left;
        for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4)
            left.push_back(std::int16_t(std::uint8_t(bytes[i]) | std::uint8_t(bytes[i + 1]) << 8));
        return left;
    }
    std::filesystem::path dir_;
};

TEST_F(Mixed, ACutEffectFadesOutOverAFewMillisecondsUnderTheNextOne) {
    const double level = 16000;
    const std::string loud = effect("loud.wav", 1.0, level), quiet = effect("quiet.wav", 0.4, 0);
    {
        tk::sdl::SdlAudio audio([] { return std::int64_t(0); });
        audio.playEffect(loud);
        ASSERT_TRUE(audio.audible());
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        audio.playEffect(quiet);  // cuts the tone mid-wave
        // Still one voice: the new effect on channel 0, nothing else playing.
        EXPECT_EQ(Mix_Playing(0), 1);
        EXPECT_EQ(Mix_Playing(-1), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    const std::vector<int> left = mixed();
    ASSERT_GT(left.size(), 44100u / 4) << "nothing was mixed";
    // The last sample at the tone's full level (its peaks come every 1.1 ms), and the last one
    // still above 1 % of it.
    std::size_t full = 0, heard = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (std::abs(left[i]) >= 0.9 * level) full = i;
        if (std::abs(left[i]) > 0.01 * level) heard = i;
    }
    ASSERT_GT(full, 0u) << "the tone never played";
    const double fadeMs = double(heard - full) * 1000 / 44100;
    std::printf("  the cut tone fades from full level to 1 %% in %.1f ms\n", fadeMs);
    EXPECT_GE(fadeMs, 3.0) << "stopped dead";
    EXPECT_LE(fadeMs, 10.0);
    // No step anywhere bigger than the tone's own steepest slope, with room for the fade.
    int step = 0;
    for (std::size_t i = 1; i < left.size(); ++i)
        step = std::max(step, std::abs(left[i] - left[i - 1]));
    EXPECT_LT(step, 2 * 2 * std::numbers::pi * 440 / 44100 * level) << "a click";
}

// The sound device goes away under a playing track (here SDL's file device, whose next write the
// file-size limit refuses, as a sound server that ended refuses it): the game is silent until its
// next sound, which opens the device again, and the track goes on there.
TEST_F(Mixed, TheNextSoundAfterTheDeviceWentAwayOpensItAgain) {
    namespace fs = std::filesystem;
    const fs::path out = dir_ / "mix.raw";
    auto size = [&out] {
        std::error_code ec;
        const auto n = fs::file_size(out, ec);
        return ec ? std::uintmax_t(0) : n;
    };
    // Whether the device writes: the file grows over a fifth of a second.
    auto writing = [&size] {
        const std::uintmax_t before = size();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return size() > before;
    };
    const std::string track = writeTrack(dir_, 20.0);
    const std::string blip = effect("blip.wav", 0.2, 8000);
    tk::sdl::SdlAudio audio([t0 = Clock::now()] { return microsSince(t0); });
    audio.openMusic(track);
    audio.playMusic();
    ASSERT_TRUE(audio.audible());
    ASSERT_TRUE(writing()) << "the device never played";

    struct sigaction ignore {
    }, before{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &before);
    rlimit limit{}, old{};
    getrlimit(RLIMIT_FSIZE, &old);
    limit = old;
    limit.rlim_cur = rlim_t(size() + 4096);
    setrlimit(RLIMIT_FSIZE, &limit);
    bool removed = false;
    for (int i = 0; i < 300 && !removed; ++i) {
        SDL_PumpEvents();
        removed = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_AUDIODEVICEREMOVED,
                                 SDL_AUDIODEVICEREMOVED) > 0;
        if (!removed) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    setrlimit(RLIMIT_FSIZE, &old);
    sigaction(SIGXFSZ, &before, nullptr);
    ASSERT_TRUE(removed) << "SDL never said the device went away";
    EXPECT_FALSE(writing()) << "the device went on playing";

    audio.playEffect(blip);
    EXPECT_TRUE(audio.audible());
    EXPECT_TRUE(writing()) << "the next sound did not open the device again";
    // The track goes on where it was, on the new device.
    EXPECT_EQ(audio.musicFile(), track);
    EXPECT_EQ(audio.musicState(), MusicState::Playing);
    const double at = Mix_GetMusicPosition(nullptr);
    EXPECT_GT(at, 0.1);
    EXPECT_LT(at, 5.0);
}

// The mixer reads each of the game's tracks to the sample (the encoder's delay and padding are
// trimmed), just short of its restart interval: the restart timer finds it ended.
TEST(GameTracks, EndJustBeforeTheirRestart) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048), 0) << Mix_GetError();
    for (const auto& [name, restartMs] :
         {std::pair{lumcrest::kMenuTrack, lumcrest::kMenuTrackRestartMs},
          {lumcrest::kGameTrack, lumcrest::kGameTrackRestartMs}}) {
        Mix_Music* music = Mix_LoadMUS((std::string(LUMCREST_TEST_DATA_DIR) + "/" + name).c_str());
        ASSERT_NE(music, nullptr) << name << ": " << Mix_GetError();
        const double seconds = Mix_MusicDuration(music);
        std::printf("  %s lasts %.3f s for the mixer\n", name, seconds);
        EXPECT_GT(seconds, restartMs / 1000.0 - 0.2) << name;
        EXPECT_LT(seconds, restartMs / 1000.0 - 0.1) << name;
        Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    SDL_Quit();
}

}  // namespace
