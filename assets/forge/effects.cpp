// The sound effects, synthesised from sine partials, swept tones and filtered
// noise, then faded at both ends and brought to one loudness.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/image_writers.h"
#include "assets/forge/loudness.h"

namespace forge {

namespace {

constexpr int kRate = 44100;
// Headroom under full scale that every effect keeps, in dBTP.
constexpr double kMaxTruePeakDb = -1.2;

// A corner frequency gliding exponentially from FROM to TO Hz over a sound's length.
struct Glide {
    double from, to;
    double at(double u) const { return from * std::pow(to / from, u); }
};

// One second-order section of a low- or high-pass filter (the audio cookbook's), its corner
// free to move from sample to sample.
struct Biquad {
    double q;
    double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    Biquad& set(bool highPass, double corner) {
        const double w = 2 * M_PI * corner / kRate, c = std::cos(w);
        const double alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
        const double side = highPass ? (1 + c) / 2 : (1 - c) / 2;
        b0 = b2 = side / a0;
        b1 = (highPass ? -2 : 2) * side / a0;
        a1 = -2 * c / a0;
        a2 = (1 - alpha) / a0;
        return *this;
    }
    double run(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

class Sound {
  public:
    explicit Sound(double seconds) : s_(static_cast<std::size_t>(seconds * kRate), 0.0) {}
    std::size_t size() const { return s_.size(); }
    double& at(std::size_t i) { return s_[i]; }
    const std::vector<double>& samples() const { return s_; }

    // A tone whose frequency glides exponentially from F0 to F1, with partials
    // (ratio, level) and an attack / exponential-decay envelope.
    void tone(double start, double length, double f0, double f1, double level, double decay,
              const std::vector<std::pair<double, double>>& partials = {{1, 1}},
              double attack = 0.005, double vibrato = 0, double release = 0.01) {
        const std::size_t first = index(start), n = static_cast<std::size_t>(length * kRate);
        std::vector<double> phase(partials.size(), 0.0);
        for (std::size_t i = 0; i < n && first + i < s_.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            double f = f0 * std::pow(f1 / f0, t / length);
            if (vibrato > 0) f *= 1 + vibrato * std::sin(2 * M_PI * 5.5 * t);
            double env = std::min(1.0, t / attack) * std::exp(-t / decay);
            // No click at the cut: the note lets go over RELEASE seconds.
            const double left = (length - t) / release;
            if (left < 1) env *= left * left;
            double v = 0;
            for (std::size_t p = 0; p < partials.size(); ++p) {
                const double fp = f * partials[p].first;
                if (fp > 0.45 * kRate) continue;  // would fold back as a harsh alias
                phase[p] += 2 * M_PI * fp / kRate;
                v += partials[p].second * std::sin(phase[p]);
            }
            s_[first + i] += level * env * v;
        }
    }

    // Noise through a one-pole low-pass whose cut-off glides from C0 to C1 Hz,
    // optionally made thinner by subtracting its own low-passed copy.
    void noise(double start, double length, double c0, double c1, double level, double decay,
               std::uint64_t seed, double highPass = 0) {
        Rng rng(seed);
        const std::size_t first = index(start), n = static_cast<std::size_t>(length * kRate);
        double lp = 0, lp2 = 0;
        for (std::size_t i = 0; i < n && first + i < s_.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double cutoff = c0 * std::pow(c1 / c0, t / length);
            const double a = 1 - std::exp(-2 * M_PI * cutoff / kRate);
            lp += a * (rng.uniform(-1, 1) - lp);
            double v = lp;
            if (highPass > 0) {
                lp2 += (1 - std::exp(-2 * M_PI * highPass / kRate)) * (lp - lp2);
                v = lp - lp2;
            }
            const double env = std::min(1.0, t / 0.002) * std::exp(-t / decay) *
                               std::min(1.0, (length - t) / 0.01);
            s_[first + i] += level * env * v;
        }
    }

    // Noise between two steep edges: a high-pass at LOW and a low-pass at HIGH Hz (each fourth
    // order, its corner gliding exponentially from the first figure to the second), under an
    // eighth-order ceiling at CAP Hz that holds whatever the glides do, so no hiss reaches
    // the top of the hearing range.
    void bandNoise(double start, double length, Glide low, Glide high, double cap, double level,
                   double decay, std::uint64_t seed) {
        Rng rng(seed);
        const std::size_t first = index(start), n = static_cast<std::size_t>(length * kRate);
        // Butterworth: the quality of each second-order section of a fourth- and eighth-order
        // filter.
        Biquad hp[] = {{0.5412}, {1.3066}}, lp[] = {{0.5412}, {1.3066}};
        Biquad ceiling[] = {{0.5098}, {0.6013}, {0.9000}, {2.5629}};
        for (Biquad& f : ceiling) f.set(false, cap);
        for (std::size_t i = 0; i < n && first + i < s_.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            double v = rng.uniform(-1, 1);
            for (Biquad& f : hp) v = f.set(true, low.at(t / length)).run(v);
            for (Biquad& f : lp) v = f.set(false, high.at(t / length)).run(v);
            for (Biquad& f : ceiling) v = f.run(v);
            const double env = std::min(1.0, t / 0.002) * std::exp(-t / decay) *
                               std::min(1.0, (length - t) / 0.01);
            s_[first + i] += level * env * v;
        }
    }

    // Driven into a soft clip, as a blast overloads the air: the peaks rounded, the body kept
    // (GAIN 1 leaves quiet parts as they are and bends a full-scale peak to three quarters).
    void drive(double gain) {
        for (double& v : s_) v = std::tanh(gain * v) / gain;
    }

    // The whole sound through an eighth-order low-pass at CAP Hz: what a drive or a mix added
    // above it goes.
    void ceiling(double cap) {
        Biquad lp[] = {{0.5098}, {0.6013}, {0.9000}, {2.5629}};
        for (Biquad& f : lp) {
            f.set(false, cap);
            for (double& v : s_) v = f.run(v);
        }
    }

    // The first SECONDS rise from FROM of the level to the whole of it, slowly at first.
    void swell(double seconds, double from) {
        const std::size_t n = std::min(s_.size(), static_cast<std::size_t>(seconds * kRate));
        for (std::size_t i = 0; i < n; ++i) {
            const double u = static_cast<double>(i) / static_cast<double>(n);
            s_[i] *= from + (1 - from) * u * u * u;
        }
    }

    void mix(const Sound& other) {
        for (std::size_t i = 0; i < s_.size() && i < other.s_.size(); ++i) s_[i] += other.s_[i];
    }

    void bell(double start, double f, double level, double decay) {
        tone(start, decay * 6, f, f, level, decay, {{1, 1}, {2.76, 0.4}, {5.4, 0.2}, {8.9, 0.08}},
             0.002);
    }

    // Soft brass: a few harmonics, the upper ones dying away first.
    // ATTACK is how long it takes to speak.
    void brass(double start, double length, double f, double level, double release = 0.03,
               double attack = 0.02) {
        tone(start, length, f, f, level, length * 1.5,
             {{1, 1}, {2, 0.55}, {3, 0.35}, {4, 0.22}, {5, 0.12}}, attack, 0.004, release);
        tone(start, length * 0.4, f, f, level * 0.5, length * 0.15, {{6, 0.3}, {7, 0.2}, {8, 0.12}},
             attack * 0.75);
    }

    // A small hall: four feedback combs into two all-passes, mixed under the
    // dry sound, so fanfares and chimes ring out instead of stopping dead.
    void reverb(double wet, double feedback) {
        const std::vector<double> dry = s_;
        std::vector<double> sum(dry.size(), 0.0);
        for (double ms : {29.7, 37.1, 41.1, 43.7}) {
            const std::size_t d = static_cast<std::size_t>(ms * kRate / 1000);
            std::vector<double> comb(dry.size(), 0.0);
            double damp = 0;
            for (std::size_t i = 0; i < dry.size(); ++i) {
                const double back = i >= d ? comb[i - d] : 0.0;
                damp += 0.35 * (back - damp);  // darker with every echo
                comb[i] = dry[i] + feedback * damp;
                sum[i] += comb[i] / 4;
            }
        }
        for (double ms : {5.0, 1.7}) {
            const std::size_t d = static_cast<std::size_t>(ms * kRate / 1000);
            std::vector<double> out(sum.size(), 0.0);
            for (std::size_t i = 0; i < sum.size(); ++i) {
                const double x = sum[i], xd = i >= d ? sum[i - d] : 0.0,
                             yd = i >= d ? out[i - d] : 0.0;
                out[i] = -0.7 * x + xd + 0.7 * yd;
            }
            sum = std::move(out);
        }
        for (std::size_t i = 0; i < s_.size(); ++i) s_[i] = dry[i] + wet * sum[i];
    }

    // Faded ends, no offset, the loudest 400 ms brought to TARGET LUFS by a plain
    // gain, as 16-bit samples. With a RELEASE the sound lets go over its last
    // RELEASE seconds, falling 70 dB at an even rate, so a ringing tail dies
    // away instead of being cut; otherwise the fade-out takes a tenth of the
    // sound, up to 150 ms.
    std::vector<std::int16_t> finish(double targetLufs, double release = 0) const {
        std::vector<double> v = s_;
        double mean = 0;
        for (double x : v) mean += x;
        mean /= static_cast<double>(v.size());
        const std::size_t fadeIn = kRate * 3 / 1000;
        const std::size_t fadeOut = release > 0
                                        ? static_cast<std::size_t>(release * kRate)
                                        : std::min<std::size_t>(kRate * 150 / 1000, v.size() / 10);
        for (std::size_t i = 0; i < v.size(); ++i) {
            v[i] -= mean;
            if (i < fadeIn) v[i] *= static_cast<double>(i) / fadeIn;
            const std::size_t left = v.size() - 1 - i;
            if (left >= fadeOut) continue;
            const double u = static_cast<double>(left) / static_cast<double>(fadeOut);
            if (release > 0)
                v[i] *= std::pow(10.0, -70.0 * (1 - u) / 20.0) * std::min(1.0, u * 50);
            else
                v[i] *= 0.5 - 0.5 * std::cos(M_PI * u);
        }
        const double gain = std::pow(10.0, (targetLufs - momentaryMaxLufs({v}, kRate)) / 20.0);
        for (double& x : v) x *= gain;
        // Plain gain, nothing rounded off: a sound whose peaks, between the
        // samples too, would come within 1.2 dB of full scale at its loudness
        // stops the forge instead of being squashed.
        const double peak = truePeakDb({v});
        if (peak > kMaxTruePeakDb)
            throw std::runtime_error("too peaky for its loudness (true peak " +
                                     std::to_string(peak) + " dBTP)");
        std::vector<std::int16_t> out(v.size());
        for (std::size_t i = 0; i < v.size(); ++i)
            out[i] = static_cast<std::int16_t>(std::lround(v[i] * 32767));
        return out;
    }

  private:
    std::size_t index(double t) const {
        return std::min(s_.size(), static_cast<std::size_t>(t * kRate));
    }
    std::vector<double> s_;
};

double note(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

Sound youLose() {
    Sound s(2.2);
    const int fall[] = {67, 63, 60};
    for (int i = 0; i < 3; ++i)
        s.tone(i * 0.32, 0.6, note(fall[i]), note(fall[i]), 0.5, 0.35,
               {{1, 1}, {3, 0.25}, {5, 0.1}}, 0.01, 0.006);
    s.tone(0.96, 1.2, note(48), note(46), 0.55, 0.6, {{1, 1}, {2, 0.3}, {3, 0.2}}, 0.02, 0.008);
    // A dark rumble under the last note, closing as it dies; nothing of it above 700 Hz.
    s.bandNoise(0.96, 1.0, {40, 40}, {320, 90}, 700, 0.45, 0.4, 11);
    s.reverb(0.25, 0.75);
    return s;
}

// A soft knock with a small glassy clink on top: gems settling against gems.
Sound gemsTouch() {
    Sound s(0.32);
    // The body sits between 200 and 400 Hz, where small speakers still
    // carry it; the tick at 2 to 4 kHz gives the landing its edge.
    s.tone(0, 0.3, 330, 240, 0.8, 0.11, {{1, 1}, {1.5, 0.25}}, 0.004);
    s.tone(0.006, 0.28, 250, 210, 0.35, 0.11, {{1, 1}}, 0.004);
    s.noise(0, 0.03, 3200, 2400, 0.25, 0.008, 12, 1800);
    s.bell(0.003, 2650, 0.12, 0.03);
    s.bell(0.010, 3400, 0.08, 0.025);
    return s;
}

// A struck piece of glass: inharmonic partials (those of a small plate), each
// with a twin a few cents off, so the ring shimmers as it dies.
// The strike itself is brighter than the ring: the plate's upper modes flash for a few
// milliseconds and are gone.
void glass(Sound& s, double start, double f, double level, double decay) {
    static const std::vector<std::pair<double, double>> plate{
        {1, 1}, {2.32, 0.45}, {4.25, 0.25}, {6.63, 0.12}};
    static const std::vector<std::pair<double, double>> strike{
        {4.25, 0.5}, {6.63, 0.45}, {9.38, 0.35}, {12.6, 0.25}};
    s.tone(start, decay * 6, f, f, level, decay, plate, 0.0003);
    s.tone(start, decay * 5, f * 1.0035, f * 1.0035, level * 0.35, decay * 0.8, plate, 0.0003);
    s.tone(start, 0.02, f, f, level * 0.45, 0.004, strike, 0.0002, 0, 0.004);
}

// A glassy tick: a few milliseconds of noise between 3 and 9 kHz, the bite under a chime.
void tick(Sound& s, double start, double level, std::uint64_t seed) {
    s.bandNoise(start, 0.015, {3000, 2400}, {9000, 6000}, 10000, level, 0.003, seed);
}

// Every burst has the same bones: a crack of noise in its first 5 ms, glass
// breaking over it and a thump between 80 and 120 Hz under both.
void burstBones(Sound& s, double thumpLevel, std::uint64_t seed) {
    s.noise(0, 0.006, 12000, 6000, 4.0, 0.003, seed, 2000);
    s.tone(0, 0.42, 120, 78, thumpLevel, 0.11, {{1, 1}, {2, 0.12}}, 0.0015);
}

// Shards of glass of N pieces, their pitches from KEYS, struck over SPREAD
// seconds (most of them early) and ringing for DECAY seconds or so.
void shards(Sound& s, Rng& rng, int n, const std::vector<int>& keys, double spread, double level,
            double decay) {
    for (int i = 0; i < n; ++i) {
        // The glass gives way just after the crack.
        const double t = 0.006 + std::pow(rng.uniform(), 1.3) * spread;
        const int k = keys[static_cast<std::size_t>(rng.below(int(keys.size())))];
        // Broken glass is not in tune: each shard a little off its key.
        const double f = note(k) * rng.uniform(0.985, 1.015);
        glass(s, t, f, level * rng.uniform(0.6, 1.0), decay * rng.uniform(0.6, 1.2));
    }
}

Sound explodeFire() {
    Sound s(0.8);
    burstBones(s, 1.0, 31);
    Rng rng(13);
    // Warm glass: lower, heavier shards, and a short dark crackle.
    shards(s, rng, 14, {72, 74, 76, 79, 81, 84, 86}, 0.22, 0.16, 0.09);
    s.noise(0.004, 0.08, 2600, 700, 0.14, 0.025, 14);
    s.reverb(0.2, 0.72);
    return s;
}

Sound explodeGlass() {
    Sound s(0.8);
    burstBones(s, 0.85, 32);
    Rng rng(15);
    // A pane giving way: many small bright shards, tinkling on a little longer.
    shards(s, rng, 30, {84, 86, 88, 91, 93, 96, 98, 100}, 0.4, 0.11, 0.06);
    // The last pieces settle and ring on until the burst lets go.
    glass(s, 0.3, note(93), 0.06, 0.3);
    s.reverb(0.22, 0.72);
    return s;
}

Sound explodeMagic() {
    Sound s(0.9);
    burstBones(s, 0.9, 33);
    Rng rng(16);
    // Shards, then a quick run of glass bells up the chord.
    shards(s, rng, 10, {79, 84, 88, 91}, 0.15, 0.13, 0.08);
    const int run[] = {84, 88, 91, 96};
    for (int i = 0; i < 4; ++i) glass(s, 0.06 + i * 0.06, note(run[i]), 0.14, 0.12);
    s.reverb(0.25, 0.7);
    return s;
}

// A bomb: a 55 Hz thump held for 150 ms, a body falling an octave, a blast of noise kept
// under 2 kHz that darkens as it rolls away, and rubble. The burst that goes off with it
// brings the bright crack.
Sound bombBoom() {
    Sound s(1.4), boom(1.4);
    boom.tone(0, 0.15, 55, 55, 1.0, 0.25, {{1, 1}}, 0.002, 0, 0.05);
    boom.tone(0, 0.9, 150, 75, 0.6, 0.45, {{1, 1}, {2, 0.45}, {3, 0.2}}, 0.002);
    boom.bandNoise(0, 0.05, {150, 150}, {1900, 1200}, 2000, 1.2, 0.02, 41);
    boom.bandNoise(0.003, 1.2, {45, 45}, {1500, 160}, 2000, 1.6, 0.6, 42);
    boom.drive(2.5);
    boom.ceiling(2000);
    s.mix(boom);
    Rng rng(43);
    shards(s, rng, 8, {67, 72, 74, 79}, 0.3, 0.08, 0.1);
    s.reverb(0.3, 0.78);
    return s;
}

// The whole board giving way at a stage's end: one crack and thump, then glass breaking in a
// wave that spreads out from the middle for half a second, and a run of bells up the chord
// that rings on over the new sky.
Sound stageBurst() {
    Sound s(1.8);
    burstBones(s, 1.0, 34);
    s.tone(0.02, 0.7, 95, 62, 0.6, 0.2, {{1, 1}, {2, 0.2}}, 0.004);
    Rng rng(35);
    shards(s, rng, 48, {79, 81, 84, 86, 88, 91, 93, 96, 98}, 0.5, 0.1, 0.09);
    const int run[] = {72, 76, 79, 84, 88, 91, 96};
    for (int i = 0; i < 7; ++i) glass(s, 0.1 + i * 0.07, note(run[i]), 0.12, 0.22);
    s.reverb(0.3, 0.78);
    return s;
}

// One step of a chain: a clear glass bell, STEP whole tones above the first, struck with a
// glassy tick. The bell swells to its full level over its first 80 ms, so its attack and the
// burst's crack that comes with it do not add up past full scale in the mix.
Sound chainStep(int step) {
    constexpr double kUnderCrack = 0.08;
    Sound s(0.9), bell(0.9);
    const double f = note(81 + 2 * step);
    bell.tone(0, 0.9, f, f, 0.5, 0.22, {{1, 1}, {2.32, 0.18}, {4.25, 0.06}}, 0.001);
    bell.tone(0, 0.7, f * 2, f * 2, 0.08, 0.1, {{1, 1}}, 0.001);
    bell.swell(kUnderCrack, 0.15);
    s.mix(bell);
    tick(s, 0, 0.6, 60 + std::uint64_t(step));
    s.reverb(0.25, 0.7);
    return s;
}

// The bar's own moves: a small wooden tick for a shift, two rising ones for a
// turn, and an upward rush for a launch.
Sound shiftCue() {
    Sound s(0.1);
    s.tone(0, 0.1, 1400, 1250, 0.5, 0.018, {{1, 1}, {2.1, 0.25}}, 0.001);
    s.noise(0, 0.012, 7000, 3000, 0.25, 0.003, 51, 1500);
    return s;
}

Sound rotateCue() {
    Sound s(0.16);
    s.tone(0, 0.08, 1150, 1100, 0.45, 0.016, {{1, 1}, {2.1, 0.25}}, 0.001);
    s.tone(0.055, 0.1, 1700, 1650, 0.45, 0.018, {{1, 1}, {2.1, 0.25}}, 0.001);
    return s;
}

Sound launchCue() {
    Sound s(0.28);
    // A band of air sweeping up from 800 Hz to 4 kHz, nothing of it above 6 kHz.
    s.bandNoise(0, 0.28, {560, 2800}, {1150, 5000}, 4800, 2.5, 0.15, 52);
    s.tone(0, 0.26, 320, 900, 0.12, 0.1, {{1, 1}, {2, 0.2}}, 0.01);
    return s;
}

// The praise strikes its whole chord at once, with a tick and a bell on top, so it is at its
// loudest within its first 20 ms; the run climbs over the chord as it dies and the chord sounds
// again to the end.
Sound excellent() {
    Sound s(1.9);
    tick(s, 0, 0.5, 62);
    for (int k : {60, 64, 67, 72}) s.brass(0, 0.22, note(k), 0.3, 0.05, 0.004);
    s.bell(0, note(84), 0.15, 0.12);
    const int up[] = {64, 67, 72, 76};
    for (int i = 0; i < 4; ++i) s.brass(0.1 + i * 0.08, 0.3, note(up[i]), 0.22);
    // The chord sounds to the end and lets go with the sound.
    for (int k : {60, 64, 67, 72}) s.brass(0.42, 1.46, note(k), 0.22, 0.25);
    s.bell(0.42, note(84), 0.15, 0.2);
    s.reverb(0.35, 0.78);
    return s;
}

Sound incredible() {
    Sound s(2.5);
    tick(s, 0, 0.5, 63);
    for (int k : {55, 60, 64, 67, 72}) s.brass(0, 0.22, note(k), 0.3, 0.05, 0.004);
    s.bell(0, note(88), 0.14, 0.12);
    const int up[] = {64, 67, 72, 76, 79};
    for (int i = 0; i < 5; ++i) s.brass(0.12 + i * 0.08, 0.3, note(up[i]), 0.2);
    for (int k : {60, 64, 67, 72, 76}) s.brass(0.56, 1.92, note(k), 0.18, 0.25);
    s.tone(0.56, 1.92, note(48), note(48), 0.3, 1.0, {{1, 1}, {2, 0.4}}, 0.03, 0, 0.25);
    Rng rng(18);
    for (int i = 0; i < 8; ++i) s.bell(0.6 + i * 0.08, note(84 + 2 * rng.below(8)), 0.12, 0.15);
    s.reverb(0.35, 0.8);
    return s;
}

Sound jarEffect() {
    Sound s(2.3);
    const int pentatonic[] = {0, 2, 4, 7, 9};
    for (int i = 0; i < 14; ++i) {
        const int k = 72 + 12 * (i / 5) + pentatonic[i % 5];
        s.bell(i * 0.065, note(k), 0.16, 0.25);
    }
    for (int k : {60, 64, 67, 71})
        s.tone(0.2, 2.0, note(k), note(k), 0.12, 1.2, {{1, 1}, {2, 0.3}}, 0.4, 0.004);
    // A shimmer of air over the bells, held under 6 kHz.
    s.bandNoise(0.3, 1.5, {2500, 3200}, {4000, 5000}, 5200, 0.1, 0.6, 19);
    s.reverb(0.3, 0.8);
    return s;
}

Sound rollover() {
    // Long enough to carry its loudness without a spiky peak.
    Sound s(0.18);
    s.tone(0, 0.18, 1100, 1400, 0.5, 0.06, {{1, 1}, {2, 0.15}}, 0.003);
    return s;
}

Sound click() {
    Sound s(0.18);
    s.tone(0, 0.18, 1800, 900, 0.6, 0.055, {{1, 1}, {2.5, 0.3}}, 0.002);
    s.tone(0.004, 0.16, 700, 600, 0.3, 0.06, {{1, 1}}, 0.002);
    s.noise(0, 0.02, 6000, 3000, 0.15, 0.004, 20);
    return s;
}

Sound menuOver() {
    Sound s(0.3);
    s.tone(0, 0.3, 900, 380, 0.5, 0.1, {{1, 1}, {2, 0.2}}, 0.005);
    s.noise(0, 0.25, 2500, 600, 0.15, 0.08, 21);
    return s;
}

Sound beep() {
    Sound s(0.18);
    s.tone(0, 0.18, 880, 880, 0.5, 0.12, {{1, 1}, {2, 0.05}}, 0.01);
    return s;
}

}  // namespace

void forgeEffects(const Output& out) {
    // A mix by role (momentary maximum, LUFS): the pointer's sounds lowest, a
    // button's click over them, the landing louder, the bursts louder again and
    // the jar and the loss on top; the hover sounds 4 LU under the music's
    // -20 LUFS, everything from the click on above it. The praise for a long chain peaks no
    // higher than a burst: it lasts, so it is heard as the louder (about -18 LUFS over its
    // length against a burst's -19.5), and the music steps back under it. Fanfares and bursts
    // let go over 250 ms (a burst's own decay already falls steeply, so it lets go a little
    // sooner).
    constexpr double kPanel = -28, kHover = -24, kClick = -21.5, kLanding = -19, kBurst = -16,
                     kPraise = -16, kReward = -13.5;
    constexpr double kRelease = 0.25, kBurstRelease = 0.2;
    const struct {
        const asset::File& file;
        Sound (*make)();
        double loudness, release;
    } effects[] = {
        {asset::kYouLose, youLose, kReward, kRelease},
        {asset::kGemsTouch, gemsTouch, kLanding, 0},
        {asset::kExplosionFire, explodeFire, kBurst, kBurstRelease + 0.03},
        {asset::kExplosionGlass, explodeGlass, kBurst, kBurstRelease + 0.03},
        {asset::kExplosionMagic, explodeMagic, kBurst, kBurstRelease + 0.02},
        {asset::kExcellent, excellent, kPraise, kRelease},
        {asset::kIncredible, incredible, kPraise, kRelease},
        {asset::kJarFilled, jarEffect, kReward, kRelease},
        {asset::kRollover, rollover, kHover, 0},
        {asset::kClick, click, kClick, 0},
        {asset::kMenuOver, menuOver, kHover, 0},
        {asset::kBeep, beep, kPanel - 4, 0},  // the softest
    };
    auto write = [&out](const asset::File& file, const Sound& sound, double loudness,
                        double release) {
        try {
            writeWavFile(out.of(file), kRate, 1, sound.finish(loudness, release));
        } catch (const std::runtime_error& error) {
            throw std::runtime_error(std::string(file.file) + ": " + error.what());
        }
    };
    for (const auto& e : effects) write(e.file, e.make(), e.loudness, e.release);
    // The cues: the bar's moves barely there; a chain's bells up with its bursts, so each step
    // is heard over the burst it comes with; a bomb's boom above a plain burst; the board's
    // burst at a stage's end as loud as any burst.
    constexpr double kMove = -28, kChainStep = -17.2, kBomb = -12.2, kStageBurst = kBurst;
    write(asset::kShiftCue, shiftCue(), kMove, 0);
    write(asset::kRotateCue, rotateCue(), kMove, 0);
    write(asset::kLaunchCue, launchCue(), kMove, 0);
    write(asset::kBombCue, bombBoom(), kBomb, kRelease + 0.05);
    write(asset::kStageBurstCue, stageBurst(), kStageBurst, kRelease);
    for (std::size_t i = 0; i < std::size(asset::kChainCues); ++i)
        write(asset::kChainCues[i], chainStep(int(i)), kChainStep, kRelease);
}

}  // namespace forge
