// Measures what a player hears: loudness as a broadcast meter reads it (ffmpeg's
// ebur128 filter), the endings of the effects, the landing sound's spectrum and
// how the music tracks come round at their restart. Every figure is printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "assets/catalogue.h"
#include "audio/cues.h"

namespace {

namespace asset = lumcrest::asset;

// The folder measured: the forge's output, or LUMCREST_MEASURE_DIR (to compare another forging).
const std::string kData = std::getenv("LUMCREST_MEASURE_DIR")
                              ? std::string(std::getenv("LUMCREST_MEASURE_DIR")) + "/"
                              : std::string(LUMCREST_FORGE_DIR) + "/data/";
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
    double integrated = -200, momentaryMax = -200, truePeak = 200, range = -1;
};

// The number after KEY in the meter's summary at the end of TEXT.
double summaryFigure(const std::string& text, const char* key) {
    const std::size_t summary = text.rfind("Summary:");
    if (summary == std::string::npos) return -200;
    const std::size_t at = text.find(key, summary);
    return at == std::string::npos ? -200 : std::atof(text.c_str() + at + std::strlen(key));
}

// ffmpeg's ebur128 reading (with true peaks) of a file, or of the part of it
// from FROM seconds on, followed by half a second of silence, so a sound
// shorter than the 400 ms window is read in full.
Loudness meter(const std::string& name, double from = 0) {
    const std::string trim = from > 0 ? "atrim=start=" + std::to_string(from) + "," : "";
    const std::string text =
        run("ffmpeg -nostats -hide_banner -i '" + kData + name + "' -af " + trim +
            "apad=pad_dur=0.5,ebur128=framelog=info:peak=true -f null - 2>&1");
    Loudness l;
    for (std::size_t at = 0; (at = text.find(" M:", at)) != std::string::npos; at += 3)
        l.momentaryMax = std::max(l.momentaryMax, std::atof(text.c_str() + at + 3));
    l.integrated = summaryFigure(text, "I:");
    l.range = summaryFigure(text, "LRA:");
    l.truePeak = summaryFigure(text, "Peak:");
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

// RMS level in dBFS of windows of WIN samples, one every HOP samples.
std::vector<double> windowsDb(const std::vector<double>& x, std::size_t win, std::size_t hop) {
    std::vector<double> env;
    for (std::size_t i = 0; i + win <= x.size(); i += hop) {
        double sum = 0;
        for (std::size_t k = i; k < i + win; ++k) sum += x[k] * x[k];
        env.push_back(10 * std::log10(std::max(sum / win, 1e-12)));
    }
    return env;
}

// RMS level in dBFS of 10 ms windows, one per 5 ms.
std::vector<double> envelopeDb(const std::vector<double>& x) {
    return windowsDb(x, kRate / 100, kRate / 200);
}
constexpr double kHop = 220.0 / kRate;

bool haveFfmpeg() {
    return std::system("command -v ffmpeg >/dev/null 2>&1") == 0;
}

// Each effect's loudness (LUFS) by its role: its momentary maximum, the pointer's sounds lowest,
// the jar and the loss on top; and over its whole length (integrated, as read here with the
// half second of silence after it), where a chain's step stands a little under a burst, the
// praise a little over it and a bomb over both.
struct Role {
    double momentary, integrated;
};
Role roleLoudness(const std::string& name) {
    std::map<std::string, Role> role{
        {asset::kRollover.file, {-24, -24}},         {asset::kMenuOver.file, {-24, -26.5}},
        {asset::kClick.file, {-21.5, -21.5}},        {asset::kGemsTouch.file, {-19, -21.3}},
        {asset::kExplosionFire.file, {-16, -19.5}},  {asset::kExplosionGlass.file, {-16, -19.5}},
        {asset::kExplosionMagic.file, {-16, -19.5}}, {asset::kExcellent.file, {-16, -18}},
        {asset::kIncredible.file, {-16, -18}},       {asset::kJarFilled.file, {-13.5, -16.7}},
        {asset::kYouLose.file, {-13.5, -15.6}},      {asset::kShiftCue.file, {-28, -28}},
        {asset::kRotateCue.file, {-28, -28}},        {asset::kLaunchCue.file, {-28, -30.5}},
        {asset::kBombCue.file, {-12.2, -16}},        {asset::kStageBurstCue.file, {-16, -20}}};
    for (const asset::File& step : asset::kChainCues) role[step.file] = {-17.2, -21};
    return role.at(name);
}

TEST(Mix, EachEffectSoundsAtItsRoleUnderFullScale) {
    ASSERT_TRUE(haveFfmpeg()) << "ffmpeg is needed to read loudness";
    std::map<std::string, double> level, whole;
    std::vector<asset::File> sounds(std::begin(asset::kEffects), std::end(asset::kEffects));
    sounds.insert(sounds.end(), std::begin(asset::kCues), std::end(asset::kCues));
    for (const asset::File& effect : sounds) {
        const char* name = effect.file;
        const Loudness l = meter(name);
        level[name] = l.momentaryMax;
        whole[name] = l.integrated;
        std::printf(
            "  %-17s momentary max %6.1f LUFS, integrated %6.1f LUFS, true peak %5.1f dBTP\n", name,
            l.momentaryMax, l.integrated, l.truePeak);
        EXPECT_NEAR(l.momentaryMax, roleLoudness(name).momentary, 2.0) << name;
        EXPECT_NEAR(l.integrated, roleLoudness(name).integrated, 1.0) << name;
        EXPECT_LE(l.truePeak, -1.0) << name;
    }
    double low = 0, high = -200;
    for (const auto& explosion : asset::kExplosions) {
        low = std::min(low, level[explosion.file]);
        high = std::max(high, level[explosion.file]);
    }
    std::printf("  the three explosions spread over %.1f LU\n", high - low);
    EXPECT_LE(high - low, 1.0) << "explosions picked at random for one event differ";
    // A rollover stays under a click, a click under a landing, and so on up.
    for (const auto& [quiet, loud] : {std::pair{asset::kRollover, asset::kClick},
                                      {asset::kClick, asset::kGemsTouch},
                                      {asset::kGemsTouch, asset::kExplosionFire},
                                      {asset::kExplosionFire, asset::kJarFilled}})
        EXPECT_GT(level[loud.file] - level[quiet.file], 2.0) << quiet.file << " vs " << loud.file;
    // Over their length: a chain's step under the burst it rings with, the praise over the
    // bursts and a bomb over a plain burst by some 3 LU.
    for (const auto& [quiet, loud, least] :
         {std::tuple{asset::kChainCues[0], asset::kExplosionFire, 1.0},
          {asset::kExplosionFire, asset::kExcellent, 1.0},
          {asset::kExplosionMagic, asset::kIncredible, 1.0},
          {asset::kExplosionFire, asset::kBombCue, 2.5}})
        EXPECT_GT(whole[loud.file] - whole[quiet.file], least) << quiet.file << " vs " << loud.file;

    // The bursts and the rewards stand well above the music (the praise above the music as it
    // steps back under it), the hover sounds a little under the menu's tune, the bar's own cues
    // under everything.
    const Loudness game = meter(asset::kGameMusic.file), menu = meter(asset::kMenuMusic.file);
    for (const asset::File& f : {asset::kExplosionFire, asset::kJarFilled, asset::kBombCue})
        EXPECT_GE(level[f.file] - game.integrated, 4.0) << f.file;
    for (const asset::File& f : {asset::kExcellent, asset::kIncredible})
        EXPECT_GE(level[f.file] - (game.integrated - lumcrest::kDuckDb), 4.0) << f.file;
    EXPECT_NEAR(level[asset::kRollover.file] - menu.integrated, -4, 2);
    for (const asset::File& cue : {asset::kShiftCue, asset::kRotateCue, asset::kLaunchCue})
        EXPECT_LT(level[cue.file], level[asset::kRollover.file]) << cue.file;
}

TEST(Mix, FanfaresAreShorterThanTheMusicsDuckUnderThem) {
    // The duck holds as long as its fanfare sounds, give or take a tenth of a second.
    for (const lumcrest::DuckedEffect& d : lumcrest::kDuckedEffects) {
        const double seconds = double(decodeMono(d.file).size()) / kRate;
        std::printf("  %-17s %.2f s, the music ducked %.0f dB for %.2f s\n", d.file, seconds,
                    lumcrest::kDuckDb, d.ms / 1000.0);
        EXPECT_NEAR(seconds, d.ms / 1000.0, 0.1) << d.file;
    }
    EXPECT_GE(lumcrest::kDuckDb, 4);
    EXPECT_LE(lumcrest::kDuckDb, 6);
}

TEST(Mix, FanfaresAndBurstsLetGoWithoutHardEdges) {
    ASSERT_TRUE(haveFfmpeg());
    for (const asset::File& sound :
         {asset::kExcellent, asset::kIncredible, asset::kYouLose, asset::kJarFilled,
          asset::kExplosionFire, asset::kExplosionGlass, asset::kExplosionMagic,
          asset::kStageBurstCue}) {
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

// The share of X's energy between 1.5 and 8.5 kHz held by its strongest tenth
// of 10 Hz lines: tones at held pitches gather there, hiss spreads evenly.
double tonalShare(const std::vector<double>& x, double& highEnergy) {
    std::vector<double> lines;
    highEnergy = 0;
    for (double f = 1500; f < 8500; f += 10) {
        lines.push_back(bandEnergy(x, f, f + 10));
        highEnergy += lines.back();
    }
    std::sort(lines.rbegin(), lines.rend());
    double top = 0;
    for (std::size_t i = 0; i < lines.size() / 10; ++i) top += lines[i];
    return top / highEnergy;
}

TEST(Mix, BurstsCrackRingAndThumpInsteadOfHissing) {
    ASSERT_TRUE(haveFfmpeg());
    for (const asset::File& burst : asset::kExplosions) {
        SCOPED_TRACE(burst.file);
        std::vector<double> x = decodeMono(burst.file);
        ASSERT_GT(x.size(), 1000u);
        x.resize(std::min<std::size_t>(x.size(), kRate * 6 / 10));
        // A sharp attack: the loudest 10 ms come within the first 30 ms.
        const std::vector<double> env = envelopeDb(x);
        const auto loudest = std::max_element(env.begin(), env.end()) - env.begin();
        // The crack: above 4 kHz the first 5 ms are far brighter than the 25 ms after.
        const std::size_t ms5 = kRate / 200;
        const std::vector<double> first(x.begin(), x.begin() + ms5),
            after(x.begin() + ms5, x.begin() + 6 * ms5);
        const double crack =
            10 * std::log10(bandEnergy(first, 4000, 12000) / (bandEnergy(after, 4000, 12000) / 5));
        // Glassy tones: the high band gathers in a few narrow lines.
        double high = 0;
        const double tonal = tonalShare(x, high);
        // The thump: 80 to 120 Hz against the high band and against its neighbours, per hertz.
        const double thumpBand = bandEnergy(x, 80, 120) / 40;
        const double thump = thumpBand / (high / 7000);
        const double under = bandEnergy(x, 30, 70) / 40, over = bandEnergy(x, 130, 250) / 120;
        std::printf(
            "  %-17s loudest at %3.0f ms, crack %+5.1f dB over 4 kHz, strongest tenth of "
            "1.5-8.5 kHz %2.0f%%, 80-120 Hz %+5.1f dB per Hz over the high band, "
            "%+4.1f over 30-70, %+4.1f over 130-250\n",
            burst.file, double(loudest) * kHop * 1000, crack, 100 * tonal, 10 * std::log10(thump),
            10 * std::log10(thumpBand / under), 10 * std::log10(thumpBand / over));
        EXPECT_LE(double(loudest) * kHop, 0.03);
        EXPECT_GT(crack, 6.0) << "no crack";
        EXPECT_GT(tonal, 0.4) << "hiss, not glass";
        EXPECT_GT(10 * std::log10(thump), 10.0) << "no thump";
        EXPECT_GT(thumpBand, 2 * under) << "the thump sits under 80 Hz";
        EXPECT_GT(thumpBand, 2 * over) << "the thump sits over 120 Hz";
    }
}

// The frequency (Hz) of the strongest line of X between LO and HI, to a tenth of a hertz.
double strongestLine(const std::vector<double>& x, double lo, double hi) {
    auto line = [&](double f) { return bandEnergy(x, f, f + 1); };
    double best = lo;
    for (double f = lo; f < hi; f += 5)
        if (line(f) > line(best)) best = f;
    double fine = best;
    for (double f = best - 5; f <= best + 5; f += 0.1)
        if (line(f) > line(fine)) fine = f;
    return fine;
}

TEST(Mix, EachChainStepRingsAWholeToneAboveTheOneBefore) {
    ASSERT_TRUE(haveFfmpeg());
    double before = 0;
    const double wholeTone = std::pow(2.0, 2.0 / 12);
    for (const asset::File& step : asset::kChainCues) {
        std::vector<double> x = decodeMono(step.file);
        ASSERT_GT(x.size(), std::size_t(kRate / 4)) << step.file;
        x.resize(kRate / 4);
        const double f = strongestLine(x, 800, 2700);
        std::printf("  %-10s rings at %.1f Hz", step.file, f);
        if (before > 0) {
            std::printf(", %.4f times the step before", f / before);
            EXPECT_NEAR(f / before, wholeTone, 0.006) << step.file;
        }
        std::printf("\n");
        before = f;
    }
    // The steps of a long chain stay on the last bell; the first burst is the first step.
    EXPECT_STREQ(lumcrest::chainCue(1), asset::kChainCues[0].file);
    EXPECT_STREQ(lumcrest::chainCue(0), asset::kChainCues[0].file);
    EXPECT_STREQ(lumcrest::chainCue(40), std::rbegin(asset::kChainCues)->file);
}

// The highest sample of the sounds started together, as the mixer adds them.
double peakTogether(std::initializer_list<const char*> names) {
    std::vector<double> sum;
    for (const char* name : names) {
        const std::vector<double> x = decodeMono(name);
        sum.resize(std::max(sum.size(), x.size()), 0.0);
        for (std::size_t i = 0; i < x.size(); ++i) sum[i] += x[i];
    }
    double peak = 0;
    for (double v : sum) peak = std::max(peak, std::fabs(v));
    return peak;
}

TEST(Mix, ABurstAndItsChainStepStayUnderFullScaleTogether) {
    ASSERT_TRUE(haveFfmpeg());
    // A burst's effect and its step's cue start at the same moment, on voices of their own,
    // both at full volume by default.
    double most = 0;
    for (const asset::File& burst : asset::kExplosions)
        for (const asset::File& step : asset::kChainCues) {
            const double peak = peakTogether({burst.file, step.file});
            most = std::max(most, peak);
            EXPECT_LT(peak, 0.98) << burst.file << " with " << step.file;
        }
    std::printf("  a burst with a chain step peaks at %.2f of full scale at most\n", most);
    for (const asset::File& burst : asset::kExplosions)
        std::printf("  %s with chain1.wav and bomb.wav: %.2f of full scale\n", burst.file,
                    peakTogether({burst.file, asset::kChainCues[0].file, asset::kBombCue.file}));
}

// RMS level in dBFS of X's 1 ms windows.
std::vector<double> millisecondsDb(const std::vector<double>& x) {
    return windowsDb(x, kRate / 1000, kRate / 1000);
}

TEST(Mix, EverySoundSpeaksAtOnceAndThePraiseHitsFirst) {
    ASSERT_TRUE(haveFfmpeg());
    std::vector<asset::File> sounds(std::begin(asset::kEffects), std::end(asset::kEffects));
    sounds.insert(sounds.end(), std::begin(asset::kCues), std::end(asset::kCues));
    for (const asset::File& sound : sounds) {
        const std::vector<double> x = decodeMono(sound.file);
        ASSERT_GT(x.size(), std::size_t(kRate / 20)) << sound.file;
        const std::vector<double> env = envelopeDb(x), ms = millisecondsDb(x);
        const auto loudest = std::max_element(env.begin(), env.end());
        // The onset: the first millisecond within 40 dB of the loudest 10 ms.
        const auto onset =
            std::find_if(ms.begin(), ms.end(), [&](double db) { return db >= *loudest - 40; });
        const double peakMs = double(loudest - env.begin()) * kHop * 1000;
        std::printf("  %-17s sounds after %2.0f ms, loudest 10 ms at %4.0f ms\n", sound.file,
                    double(onset - ms.begin()), peakMs);
        EXPECT_LT(onset - ms.begin(), 5) << sound.file << " starts on silence";
        if (sound.file == std::string(asset::kExcellent.file) ||
            sound.file == std::string(asset::kIncredible.file)) {
            EXPECT_LE(peakMs, 25) << sound.file << " builds up to its loudest";
        }
    }
    // A chain's bell is struck: a glassy tick between 3 and 9 kHz in its first 15 ms, so the
    // start is brighter (that band against the bell's own under 3 kHz) than the 15 ms after,
    // where the bell swells.
    const std::size_t ms15 = kRate * 15 / 1000;
    for (const asset::File& step : asset::kChainCues) {
        const std::vector<double> x = decodeMono(step.file);
        ASSERT_GT(x.size(), 2 * ms15);
        const std::vector<double> first(x.begin(), x.begin() + ms15),
            after(x.begin() + ms15, x.begin() + 2 * ms15);
        auto brightness = [](const std::vector<double>& part) {
            return 10 * std::log10(bandEnergy(part, 3000, 9000) / bandEnergy(part, 500, 3000));
        };
        const double bite = brightness(first) - brightness(after);
        std::printf("  %-17s tick %+.1f dB brighter than the 15 ms after\n", step.file, bite);
        EXPECT_GT(bite, 4.0) << step.file << " has no tick";
    }
}

// In place, radix 2; X's size a power of two.
void fft(std::vector<std::complex<double>>& x) {
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2 * M_PI / double(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
                const auto u = x[i + k], v = x[i + k + len / 2] * w;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
            }
        }
    }
}

// The share (dB) of X's energy between 2 and 6 kHz, where a tune's brightness
// and presence lie, read from Hann-windowed blocks of 8192 samples.
double presenceShareDb(const std::vector<double>& x) {
    constexpr std::size_t n = 8192;
    const std::size_t lo = 2000 * n / kRate, hi = 6000 * n / kRate;
    double band = 0, all = 0;
    std::vector<std::complex<double>> block(n);
    for (std::size_t start = 0; start + n <= x.size(); start += n / 2) {
        for (std::size_t i = 0; i < n; ++i)
            block[i] = x[start + i] * (0.5 - 0.5 * std::cos(2 * M_PI * double(i) / n));
        fft(block);
        for (std::size_t k = 1; k < n / 2; ++k) {
            const double e = std::norm(block[k]);
            all += e;
            if (k >= lo && k < hi) band += e;
        }
    }
    return 10 * std::log10(band / all);
}

// The mean power spectrum of X in lines of kRate / 4096 Hz, from Hann-windowed blocks of 4096
// samples that overlap by half, the sound padded with silence to fill its last block.
std::vector<double> powerSpectrum(std::vector<double> x) {
    constexpr std::size_t n = 4096;
    x.resize(std::max(n, (x.size() / (n / 2) + 1) * (n / 2)), 0.0);
    std::vector<double> power(n / 2, 0.0);
    std::vector<std::complex<double>> block(n);
    for (std::size_t start = 0; start + n <= x.size(); start += n / 2) {
        for (std::size_t i = 0; i < n; ++i)
            block[i] = x[start + i] * (0.5 - 0.5 * std::cos(2 * M_PI * double(i) / n));
        fft(block);
        for (std::size_t k = 0; k < n / 2; ++k) power[k] += std::norm(block[k]);
    }
    return power;
}

// What X holds from FROM Hz up to 20 kHz: the share of its energy (dB), and the floor there, the
// median line against the mean line of the whole sound (dB). A bell's upper partials add to the
// share but leave the floor where it is; hiss lifts both.
struct HighBand {
    double shareDb, floorDb;
};
HighBand highBand(const std::vector<double>& x, double from) {
    const std::vector<double> p = powerSpectrum(x);
    const double line = kRate / 4096.0;
    double all = 0, high = 0;
    std::vector<double> lines;
    for (std::size_t k = 1; k < p.size(); ++k) {
        all += p[k];
        if (double(k) * line < from || double(k) * line >= 20000) continue;
        high += p[k];
        lines.push_back(p[k]);
    }
    std::nth_element(lines.begin(), lines.begin() + std::ptrdiff_t(lines.size() / 2), lines.end());
    const double median = lines[lines.size() / 2], mean = all / double(p.size() - 1);
    return {10 * std::log10(std::max(high, 1e-30) / all),
            10 * std::log10(std::max(median, 1e-30) / mean)};
}

TEST(Mix, NoiseLayersStayUnderTheirCeilings) {
    ASSERT_TRUE(haveFfmpeg());
    std::vector<asset::File> sounds(std::begin(asset::kEffects), std::end(asset::kEffects));
    sounds.insert(sounds.end(), std::begin(asset::kCues), std::end(asset::kCues));
    std::map<std::string, HighBand> over6k;
    for (const asset::File& sound : sounds) {
        const HighBand b = over6k[sound.file] = highBand(decodeMono(sound.file), 6000);
        std::printf("  %-17s above 6 kHz: %6.1f dB of its energy, floor %6.1f dB\n", sound.file,
                    b.shareDb, b.floorDb);
    }
    // The layers of noise that last (a launch's rush, a bomb's blast, the jar's shimmer, the
    // rumble under the loss) are filtered, not hiss up to the top of the hearing range; the
    // bursts' cracks, 6 ms long, keep their brightness. The jar's bells ring up there, and their
    // strikes lift its floor a little.
    for (const asset::File& dark : {asset::kLaunchCue, asset::kBombCue, asset::kYouLose})
        EXPECT_LT(over6k[dark.file].floorDb, -60) << dark.file;
    EXPECT_LT(over6k[asset::kJarFilled.file].floorDb, -40);
    for (const asset::File& dark : {asset::kLaunchCue, asset::kBombCue})
        EXPECT_LT(over6k[dark.file].shareDb, -40) << dark.file;
}

// The centre of X's spectrum between LO and HI Hz (Hz, the mean of the lines' logarithms
// weighted by their energy).
double spectralCentre(const std::vector<double>& x, double lo, double hi) {
    const std::vector<double> p = powerSpectrum(x);
    const double line = kRate / 4096.0;
    double sum = 0, weighted = 0;
    for (std::size_t k = 1; k < p.size(); ++k) {
        const double f = double(k) * line;
        if (f < lo || f >= hi) continue;
        sum += p[k];
        weighted += p[k] * std::log(f);
    }
    return std::exp(weighted / sum);
}

TEST(Mix, LaunchSweepsUpAndBombThumpsUnderItsBlast) {
    ASSERT_TRUE(haveFfmpeg());
    // The launch: a band of noise rising from about 800 Hz to about 4 kHz.
    const std::vector<double> launch = decodeMono(asset::kLaunchCue.file);
    ASSERT_GT(launch.size(), std::size_t(kRate / 5));
    const std::size_t ms60 = kRate * 6 / 100;
    const double start = spectralCentre({launch.begin(), launch.begin() + ms60}, 500, 8000),
                 end = spectralCentre({launch.end() - ms60, launch.end()}, 500, 8000);
    std::printf("  %s: its band centred at %.0f Hz in its first 60 ms, at %.0f Hz in its last\n",
                asset::kLaunchCue.file, start, end);
    EXPECT_NEAR(start, 1000, 400);
    EXPECT_NEAR(end, 3500, 900);

    // The bomb: a 55 Hz thump for its first 150 ms, the blast's noise under 2 kHz.
    const std::vector<double> bomb = decodeMono(asset::kBombCue.file);
    ASSERT_GT(bomb.size(), std::size_t(kRate / 2));
    const std::size_t ms150 = kRate * 15 / 100;
    const std::vector<double> thump(bomb.begin(), bomb.begin() + ms150),
        after(bomb.begin() + ms150 + kRate / 20, bomb.begin() + 2 * ms150 + kRate / 20);
    const double pitch = strongestLine(thump, 30, 100);
    const double held = 10 * std::log10(bandEnergy(thump, 45, 65) / bandEnergy(after, 45, 65));
    const HighBand over2k = highBand(bomb, 2000);
    std::printf(
        "  %s: thump at %.1f Hz, 45-65 Hz %.1f dB louder in the first 150 ms than in the 150 ms "
        "from 200 ms; above 2 kHz %.1f dB of its energy, floor %.1f dB\n",
        asset::kBombCue.file, pitch, held, over2k.shareDb, over2k.floorDb);
    EXPECT_NEAR(pitch, 55, 3);
    EXPECT_GT(held, 6) << "the thump rings on";
    EXPECT_LT(over2k.floorDb, -50) << "the blast hisses above 2 kHz";
}

const struct Track {
    const char* name;
    double restart;
} kTracks[] = {{asset::kMenuMusic.file, lumcrest::kMenuTrackRestartMs / 1000.0},
               {asset::kGameMusic.file, lumcrest::kGameTrackRestartMs / 1000.0}};

TEST(Tracks, AreLoudBrightAndMovingUnderTheEffects) {
    ASSERT_TRUE(haveFfmpeg());
    for (const Track& t : kTracks) {
        SCOPED_TRACE(t.name);
        const Loudness l = meter(t.name);
        const double presence = presenceShareDb(decodeMono(t.name));
        std::printf(
            "  %-14s integrated %.1f LUFS, true peak %.1f dBTP, loudness range %.1f LU, "
            "2-6 kHz %.1f dB of its energy\n",
            t.name, l.integrated, l.truePeak, l.range, presence);
        EXPECT_NEAR(l.integrated, -20.0, 1.0);
        EXPECT_LE(l.truePeak, -1.0);
        EXPECT_GE(l.range, 5.0) << "too even to hold the ear";
        EXPECT_GE(presence, -18.0) << "dull";
    }
}

double rmsDb(std::vector<double>::const_iterator from, std::vector<double>::const_iterator to) {
    double sum = 0;
    for (auto i = from; i != to; ++i) sum += *i * *i;
    return 10 * std::log10(std::max(sum / double(to - from), 1e-12));
}

TEST(Tracks, ComeRoundOnARest) {
    ASSERT_TRUE(haveFfmpeg());
    for (const Track& t : kTracks) {
        SCOPED_TRACE(t.name);
        const std::vector<double> x = decodeMono(t.name);
        const double seconds = static_cast<double>(x.size()) / kRate;
        ASSERT_GT(x.size(), std::size_t(4 * kRate));
        const double whole = rmsDb(x.begin(), x.end());
        // The rest at the end: 10 ms windows 20 dB or more under the track's level.
        const std::vector<double> env = envelopeDb(x);
        std::size_t quiet = 0;
        while (quiet < env.size() && env[env.size() - 1 - quiet] < whole - 20) ++quiet;
        const double restInFile = double(quiet) * kHop;
        const double rest = restInFile + (t.restart - seconds);
        const auto restStart = x.end() - std::ptrdiff_t(restInFile * kRate);
        const double cut = rmsDb(x.end() - kRate / 10, x.end()) - whole;
        // The start against the second before the rest: no jump into the first bar.
        const double step =
            rmsDb(x.begin(), x.begin() + kRate) - rmsDb(restStart - kRate, restStart);
        const double integrated = meter(t.name).integrated;
        const double ending = meter(t.name, seconds - 2).integrated;
        std::printf(
            "  %-14s decodes to %.3f s, %.0f ms before its restart; its last 100 ms %+.1f dB "
            "against the whole, a rest of %.0f ms with the restart's wait, level step into the "
            "first bar %+.1f dB, last 2 s %+.1f LU against the whole\n",
            t.name, seconds, (t.restart - seconds) * 1000, cut, rest * 1000, step,
            ending - integrated);
        // Ended when its restart timer fires (the game rewinds only an ended
        // track), with the shortest pause that allows.
        EXPECT_GE(t.restart - seconds, 0.1) << "the restart could find it still playing";
        EXPECT_LE(t.restart - seconds, 0.2) << "a pause before the restart";
        // The file ends on a rest, so the wait for the restart is part of it, and the rest is
        // a breath, not a hole.
        EXPECT_LE(cut, -30) << "the track is cut off while it sounds";
        EXPECT_GE(rest, 0.25);
        EXPECT_LE(rest, 0.9) << "a hole before the restart";
        EXPECT_LE(std::fabs(step), 6.0);
        EXPECT_LE(std::fabs(ending - integrated), 6.0) << "fades out";
    }
}

// The file's chroma (energy of each of the twelve pitch classes, 60 Hz to 5 kHz, in dB against
// their mean), one row every HOP seconds from Hann-windowed blocks of 4096 samples.
std::vector<std::array<double, 12>> chroma(const std::vector<double>& x, double hop) {
    constexpr std::size_t n = 4096;
    std::vector<std::array<double, 12>> rows;
    std::vector<std::complex<double>> block(n);
    for (double at = 0; std::size_t(at * kRate) + n <= x.size(); at += hop) {
        const std::size_t start = std::size_t(at * kRate);
        for (std::size_t i = 0; i < n; ++i)
            block[i] = x[start + i] * (0.5 - 0.5 * std::cos(2 * M_PI * double(i) / n));
        fft(block);
        std::array<double, 12> row{};
        for (std::size_t k = 1; k < n / 2; ++k) {
            const double f = double(k) * kRate / n;
            if (f < 60 || f > 5000) continue;
            const long pc = std::lround(12 * std::log2(f / 440.0));
            row[std::size_t(((pc % 12) + 12) % 12)] += std::norm(block[k]);
        }
        // Only how the energy is shared among the pitch classes: a drum hit lifts them all.
        double mean = 0;
        for (double& v : row) mean += (v = 10 * std::log10(v + 1e-9)) / 12;
        for (double& v : row) v -= mean;
        rows.push_back(row);
    }
    return rows;
}

TEST(Tracks, GameTrackRepeatsNoEightSecondBlockMoreThanThreeTimes) {
    ASSERT_TRUE(haveFfmpeg());
    // Four bars of the game tune (120 bars to its restart) last 8.1 s; each block is read as
    // its chroma in eighth notes, and two blocks whose readings correlate above 0.9 are heard
    // as the same music.
    const double bar = lumcrest::kGameTrackRestartMs / 1000.0 / 120;
    const auto rows = chroma(decodeMono(asset::kGameMusic.file), bar / 8);
    std::vector<std::vector<double>> blocks;
    for (std::size_t first = 0; first + 32 <= rows.size(); first += 32) {
        std::vector<double> v;
        for (std::size_t r = first; r < first + 32; ++r)
            v.insert(v.end(), rows[r].begin(), rows[r].end());
        double mean = 0, var = 0;
        for (double e : v) mean += e / double(v.size());
        for (double e : v) var += (e - mean) * (e - mean) / double(v.size());
        for (double& e : v) e = (e - mean) / std::sqrt(var + 1e-12);
        blocks.push_back(std::move(v));
    }
    ASSERT_GE(blocks.size(), 29u);
    auto same = [&](std::size_t i, std::size_t j) {
        double r = 0;
        for (std::size_t k = 0; k < blocks[i].size(); ++k) r += blocks[i][k] * blocks[j][k];
        return r / double(blocks[i].size()) > 0.9;
    };
    int most = 0, distinct = 0;
    std::string counts;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        int heard = 0;
        bool earlier = false;
        for (std::size_t j = 0; j < blocks.size(); ++j)
            if (same(i, j)) {
                ++heard;
                earlier = earlier || j < i;
            }
        distinct += earlier ? 0 : 1;
        most = std::max(most, heard);
        counts += " " + std::to_string(heard);
        if (std::getenv("LUMCREST_BLOCKS"))
            for (std::size_t j = 0; j < blocks.size(); ++j)
                if (same(i, j) && i != j) std::printf("    %zu~%zu\n", i, j);
    }
    std::printf("  %s: %zu blocks of 8.1 s, %d distinct, the most heard %d times (each:%s)\n",
                asset::kGameMusic.file, blocks.size(), distinct, most, counts.c_str());
    EXPECT_LE(most, 3);
}

}  // namespace
