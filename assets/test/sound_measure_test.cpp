// Measures what a player hears: loudness as a broadcast meter reads it (ffmpeg's
// ebur128 filter), the endings of the effects, the landing sound's spectrum and
// how the music tracks come round at their restart. Every figure is printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "assets/catalogue.h"
#include "audio/track_names.h"

namespace {

namespace asset = lumcrest::asset;

const std::string kData = std::string(LUMCREST_FORGE_DIR) + "/data/";
constexpr int kRate = 44100;

std::string run(const std::string& cmd) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
    return out;
}

struct Loudness {
    double integrated = -200, momentaryMax = -200;
};

// ffmpeg's ebur128 reading of a file followed by half a second of silence, so
// a sound shorter than the 400 ms window is read in full.
Loudness meter(const std::string& name) {
    const std::string text = run("ffmpeg -nostats -hide_banner -i '" + kData + name +
                                 "' -af apad=pad_dur=0.5,ebur128=framelog=info -f null - 2>&1");
    Loudness l;
    for (std::size_t at = 0; (at = text.find(" M:", at)) != std::string::npos; at += 3)
        l.momentaryMax = std::max(l.momentaryMax, std::atof(text.c_str() + at + 3));
    const std::size_t summary = text.rfind("Integrated loudness:");
    if (summary != std::string::npos) {
        const std::size_t i = text.find("I:", summary);
        if (i != std::string::npos) l.integrated = std::atof(text.c_str() + i + 2);
    }
    return l;
}

// The file decoded to mono at 44.1 kHz, full scale +-1.
std::vector<double> decodeMono(const std::string& name) {
    const std::string raw =
        run("ffmpeg -v error -i '" + kData + name + "' -f s16le -ac 1 -ar 44100 - 2>/dev/null");
    std::vector<double> out(raw.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto lo = static_cast<unsigned char>(raw[2 * i]);
        const auto hi = static_cast<unsigned char>(raw[2 * i + 1]);
        out[i] = static_cast<std::int16_t>(lo | hi << 8) / 32768.0;
    }
    return out;
}

// RMS level in dBFS of 10 ms windows, one per 5 ms.
std::vector<double> envelopeDb(const std::vector<double>& x) {
    const std::size_t win = kRate / 100, hop = win / 2;
    std::vector<double> env;
    for (std::size_t i = 0; i + win <= x.size(); i += hop) {
        double sum = 0;
        for (std::size_t k = i; k < i + win; ++k) sum += x[k] * x[k];
        env.push_back(10 * std::log10(std::max(sum / win, 1e-12)));
    }
    return env;
}
constexpr double kHop = 220.0 / kRate;

bool haveFfmpeg() {
    return std::system("command -v ffmpeg >/dev/null 2>&1") == 0;
}

TEST(Mix, EffectsCutThroughMusicAtOneLevel) {
    ASSERT_TRUE(haveFfmpeg()) << "ffmpeg is needed to read loudness";
    std::map<std::string, double> level;
    for (const auto& effect : asset::kEffects) {
        const char* name = effect.file;
        const Loudness l = meter(name);
        level[name] = l.momentaryMax;
        std::printf("  %-17s momentary max %6.1f LUFS\n", name, l.momentaryMax);
        EXPECT_NEAR(l.momentaryMax, -16.0, 1.5) << name;
    }
    double low = 0, high = -200;
    for (const auto& explosion : asset::kExplosions) {
        low = std::min(low, level[explosion.file]);
        high = std::max(high, level[explosion.file]);
    }
    std::printf("  the three explosions spread over %.1f LU\n", high - low);
    EXPECT_LE(high - low, 1.0) << "explosions picked at random for one event differ";

    const Loudness menu = meter(asset::kMenuMusic.file), game = meter(asset::kGameMusic.file);
    std::printf("  %s integrated %.1f LUFS, %s %.1f LUFS\n", asset::kMenuMusic.file,
                menu.integrated, asset::kGameMusic.file, game.integrated);
    EXPECT_NEAR(menu.integrated, -23.0, 1.0);
    EXPECT_NEAR(game.integrated, -23.0, 1.0);
    EXPECT_LE(std::fabs(menu.integrated - game.integrated), 1.0);
    // The quietest effect stands well clear of the music.
    for (const auto& [name, m] : level) EXPECT_GT(m - game.integrated, 4.0) << name;
}

TEST(Mix, FanfaresAndBurstsLetGoWithoutHardEdges) {
    ASSERT_TRUE(haveFfmpeg());
    for (const asset::File& sound :
         {asset::kExcellent, asset::kIncredible, asset::kYouLose, asset::kJarFilled,
          asset::kExplosionFire, asset::kExplosionGlass, asset::kExplosionMagic}) {
        const char* name = sound.file;
        SCOPED_TRACE(name);
        const std::vector<double> env = envelopeDb(decodeMono(name));
        ASSERT_GT(env.size(), 100u);
        const double peak = *std::max_element(env.begin(), env.end());
        // The release: the final stretch over which the level keeps falling
        // faster than 60 dB a second (read over 40 ms) down to the end, where
        // it sinks under 16-bit resolution.
        const std::size_t end = env.size() - 1;
        auto level = [&](std::size_t i) { return std::max(env[i], -90.0); };
        std::size_t start = end;
        while (start >= 8 &&
               (level(start) <= -90 || level(start - 8) - level(start) > 60 * 8 * kHop))
            --start;
        const double release = (end - start) * kHop;
        std::printf("  %-17s release %.0f ms\n", name, release * 1000);
        EXPECT_GE(release, 0.2);
        EXPECT_LE(release, 0.3);
        // No chord or burst stops dead: nowhere loud does the level drop 20 dB in 30 ms.
        for (std::size_t i = 0; i + 6 < env.size(); ++i)
            if (env[i] > peak - 30) {
                EXPECT_LT(env[i] - env[i + 6], 20) << "hard edge at " << i * kHop << " s";
            }
    }
}

// Energy of X in the band [LO, HI) Hz, from a plain DFT at 5 Hz steps.
double bandEnergy(const std::vector<double>& x, double lo, double hi) {
    double sum = 0;
    for (double f = lo; f < hi; f += 5) {
        std::complex<double> acc = 0;
        const std::complex<double> step = std::polar(1.0, -2 * M_PI * f / kRate);
        std::complex<double> w = 1;
        for (double v : x) {
            acc += v * w;
            w *= step;
        }
        sum += std::norm(acc);
    }
    return sum;
}

TEST(Mix, LandingKeepsItsWeightOnSmallSpeakers) {
    ASSERT_TRUE(haveFfmpeg());
    const std::vector<double> x = decodeMono(asset::kGemsTouch.file);
    ASSERT_GT(x.size(), 1000u);
    const double below = bandEnergy(x, 20, 200), body = bandEnergy(x, 200, 400),
                 mid = bandEnergy(x, 400, 2000), tick = bandEnergy(x, 2000, 4000);
    auto db = [](double e, double ref) { return 10 * std::log10(e / ref); };
    std::printf(
        "  gemstouch.wav bands re 200-400 Hz: 20-200 %.1f dB, 400-2000 %.1f dB, "
        "2-4 kHz %.1f dB\n",
        db(below, body), db(mid, body), db(tick, body));
    EXPECT_GT(body, 2 * below) << "the body sits under 200 Hz";
    EXPECT_GT(body, mid) << "no body between 200 and 400 Hz";
    EXPECT_GT(db(tick, body), -25) << "no tick between 2 and 4 kHz";
}

TEST(Mix, GlassBurstRingsAtFixedPitches) {
    ASSERT_TRUE(haveFfmpeg());
    // Shards ring at held pitches, so the burst's high energy gathers in a few
    // narrow lines; sliding pitches would smear it over the whole band.
    std::vector<double> x = decodeMono(asset::kExplosionGlass.file);
    ASSERT_GT(x.size(), 1000u);
    x.resize(std::min<std::size_t>(x.size(), kRate * 6 / 10));
    std::vector<std::pair<double, double>> lines;  // (energy, Hz), 10 Hz apart
    double total = 0;
    for (double f = 1500; f < 8500; f += 10) {
        const double e = bandEnergy(x, f, f + 10);
        lines.push_back({e, f});
        total += e;
    }
    std::sort(lines.rbegin(), lines.rend());
    // The strongest tenth of the lines.
    double top = 0;
    for (std::size_t i = 0; i < lines.size() / 10; ++i) top += lines[i].first;
    std::printf(
        "  gemsexplode2.wav: the strongest tenth of 1.5-8.5 kHz holds %.0f%% of its energy\n",
        100 * top / total);
    EXPECT_GT(top / total, 0.6);
}

TEST(Music, TracksComeRoundWithoutAGap) {
    ASSERT_TRUE(haveFfmpeg());
    const struct {
        const char* name;
        double low, high, restart;
    } tracks[] = {{asset::kMenuMusic.file, 69.5, 70.0, lumcrest::kMenuTrackRestartMs / 1000.0},
                  {asset::kGameMusic.file, 242.5, 243.0, lumcrest::kGameTrackRestartMs / 1000.0}};
    for (const auto& t : tracks) {
        SCOPED_TRACE(t.name);
        const std::vector<double> x = decodeMono(t.name);
        const double seconds = static_cast<double>(x.size()) / kRate;
        const std::vector<double> env = envelopeDb(x);
        ASSERT_GT(env.size(), 1000u);
        // Silence is under -60 dBFS; quiet, under -50.
        std::size_t lastSound = env.size(), lastLoud = env.size(), firstLoud = 0;
        while (lastSound > 0 && env[lastSound - 1] < -60) --lastSound;
        while (lastLoud > 0 && env[lastLoud - 1] < -50) --lastLoud;
        while (firstLoud < env.size() && env[firstLoud] < -50) ++firstLoud;
        const double trailingSilence = seconds - lastSound * kHop - 0.01;
        const double quietAtRestart =
            (seconds - lastLoud * kHop - 0.01) + (t.restart - seconds) + firstLoud * kHop;
        // A soft start: the first 50 ms well under the level a second in.
        double start = -200, settled = -200;
        for (std::size_t i = 0; i < 10; ++i) start = std::max(start, env[i]);
        for (std::size_t i = 200; i < 400; ++i) settled = std::max(settled, env[i]);
        std::printf(
            "  %-14s %.3f s, trailing silence %.2f s, quiet at the restart %.2f s, "
            "first 50 ms %.1f dB under the level at 1-2 s\n",
            t.name, seconds, trailingSilence, quietAtRestart, settled - start);
        EXPECT_GE(seconds, t.low);
        EXPECT_LE(seconds, t.high);
        EXPECT_LE(trailingSilence, 0.2);
        EXPECT_LE(quietAtRestart, 0.5);
        EXPECT_GE(settled - start, 10.0) << "jumps in at full level";
    }
}

}  // namespace
