// The two tunes: a calm one for the menu and a livelier one for play. Chords
// follow fixed progressions; melodies come from a seeded phrase generator that
// keeps strong beats on chord tones and walks by steps in between.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "canvas.h"
#include "forge.h"
#include "image_writers.h"
#include "score.h"

namespace forge {

namespace {

// General MIDI programs (0-based) and drum keys.
enum Program {
    kElectricPiano = 4,
    kCelesta = 8,
    kVibraphone = 11,
    kAcousticGuitar = 24,
    kFingerBass = 33,
    kCello = 42,
    kHarp = 46,
    kStrings = 48,
    kFlute = 73,
    kSquareLead = 80,
    kWarmPad = 89,
};
enum Drum {
    kKick = 36,
    kSnare = 38,
    kClosedHat = 42,
    kLowTom = 45,
    kOpenHat = 46,
    kMidTom = 47,
    kHighTom = 50,
    kCrash = 49,
    kRide = 51,
};
constexpr int kDrums = 9;

class Key {
  public:
    Key(int tonic, bool minor) : tonic_(tonic), minor_(minor) {}
    // MIDI key of scale degree D (0 = tonic, 7 = tonic an octave up, negatives below).
    int pitch(int d) const {
        static constexpr std::array<int, 7> major{0, 2, 4, 5, 7, 9, 11};
        static constexpr std::array<int, 7> minor{0, 2, 3, 5, 7, 8, 10};
        const int octave = d >= 0 ? d / 7 : -((-d + 6) / 7);
        const int step = d - octave * 7;
        return tonic_ + 12 * octave + (minor_ ? minor : major)[static_cast<std::size_t>(step)];
    }

  private:
    int tonic_;
    bool minor_;
};

bool isChordTone(int degree, int root) {
    const int rel = ((degree - root) % 7 + 7) % 7;
    return rel == 0 || rel == 2 || rel == 4;
}

struct MelodyNote {
    double beat;   // from the start of the phrase
    double beats;  // length
    int degree;
};
using Phrase = std::vector<MelodyNote>;
using Rhythm = std::vector<double>;  // beat lengths per bar, negative for a rest

struct PhraseStyle {
    std::vector<Rhythm> rhythms;
    int low, high;  // degree range
};

// A phrase over one chord root per bar. The last note lands on the last
// chord's root or third and is held.
Phrase makePhrase(Rng& rng, const std::vector<int>& roots, const PhraseStyle& style, int& degree) {
    Phrase phrase;
    const int bars = static_cast<int>(roots.size());
    for (int bar = 0; bar < bars; ++bar) {
        const int root = roots[static_cast<std::size_t>(bar)];
        const bool last = bar == bars - 1;
        Rhythm rhythm = last ? Rhythm{1, 1, 2}
                             : style.rhythms[static_cast<std::size_t>(
                                   rng.below(static_cast<int>(style.rhythms.size())))];
        double beat = 0;
        for (std::size_t i = 0; i < rhythm.size(); ++i) {
            const double len = std::fabs(rhythm[i]);
            if (rhythm[i] < 0) {
                beat += len;
                continue;
            }
            const bool strong = std::fmod(beat, 2.0) == 0.0;
            const bool final = last && i + 1 == rhythm.size();
            if (strong || final) {
                // Nearest chord tone, sometimes the second nearest for a leap.
                std::vector<int> tones;
                for (int d = degree - 5; d <= degree + 5; ++d)
                    if (d >= style.low && d <= style.high && isChordTone(d, root) &&
                        (!final || ((d - root) % 7 + 7) % 7 != 4))
                        tones.push_back(d);
                std::stable_sort(tones.begin(), tones.end(), [&](int a, int b) {
                    return std::abs(a - degree) < std::abs(b - degree);
                });
                if (!tones.empty()) {
                    std::size_t pick = rng.chance(0.3) && tones.size() > 1 ? 1 : 0;
                    if (tones[pick] == degree && tones.size() > pick + 1 && rng.chance(0.5)) ++pick;
                    degree = tones[pick];
                }
            } else {
                static constexpr int steps[] = {-2, -1, -1, 1, 1, 2, -1, 1};
                int next = degree + steps[rng.below(8)];
                if (next < style.low || next > style.high) next = 2 * degree - next;
                degree = next;
            }
            phrase.push_back({bar * 4.0 + beat, len, degree});
            beat += len;
        }
    }
    return phrase;
}

// Writes PHRASE from bar FIRSTBAR on.
void playPhrase(Score& s, const Phrase& phrase, const Key& key, double firstBar, double barSec,
                int channel, int velocity, Rng& rng, int octaveShift = 0) {
    const double beatSec = barSec / 4;
    for (const auto& n : phrase) {
        const double start = firstBar * barSec + n.beat * beatSec;
        const int accent = std::fmod(n.beat, 2.0) == 0.0 ? 8 : 0;
        s.note(start, n.beats * beatSec * 0.92, channel, key.pitch(n.degree) + 12 * octaveShift,
               velocity + accent + rng.below(9) - 4);
    }
}

// Close triad voicing of ROOT around middle C.
std::vector<int> triad(const Key& key, int root, int base = 0) {
    std::vector<int> keys;
    for (int i : {0, 2, 4}) {
        int k = key.pitch(root + i);
        while (k < 57 + base) k += 12;
        while (k > 69 + base) k -= 12;
        keys.push_back(k);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

void setupChannel(Score& s, int channel, int program, int volume, int pan, int reverb) {
    if (channel != kDrums) s.program(0, channel, program);
    s.control(0, channel, 7, volume);
    s.control(0, channel, 10, pan);
    s.control(0, channel, 91, reverb);
    s.control(0, channel, 93, 20);
}

// --- the menu tune: D major, 72 beats a minute, twenty bars ---

Score menuTune() {
    Score s;
    const Key key(62, false);
    const double bar = 4 * 60.0 / 72.0;
    setupChannel(s, 0, kFlute, 92, 70, 90);
    setupChannel(s, 1, kHarp, 80, 45, 80);
    setupChannel(s, 2, kWarmPad, 62, 64, 100);
    setupChannel(s, 3, kCello, 70, 80, 70);

    const std::vector<int> verse{0, 5, 3, 4}, bridge{5, 3, 0, 4}, close{0, 3, 4, 0};
    std::vector<int> roots{0, 3};  // two bars of introduction
    for (const auto* p : {&verse, &verse, &bridge, &close})
        roots.insert(roots.end(), p->begin(), p->end());
    roots.push_back(3);
    roots.push_back(0);  // held ending
    const int bars = static_cast<int>(roots.size());

    Rng rng(2024);
    for (int b = 0; b < bars; ++b) {
        const int root = roots[static_cast<std::size_t>(b)];
        const double t = b * bar;
        const bool last = b == bars - 1;
        const double hold = last ? bar * 1.6 : bar * 0.98;
        for (int k : triad(key, root)) s.note(t, hold, 2, k, 70);
        s.note(t, hold, 3, key.pitch(root) - 24, 72);
        if (!last) s.note(t + bar / 2, bar / 2 * 0.95, 3, key.pitch(root + 4) - 24, 60);
        // Harp: rising and falling broken chord in eighths.
        static constexpr int shape[8] = {0, 2, 4, 7, 9, 7, 4, 2};
        const int steps = last ? 4 : 8;
        for (int i = 0; i < steps; ++i)
            s.note(t + i * bar / 8, bar / 4, 1,
                   key.pitch(root + shape[i]) - 12 + (root > 3 ? -12 : 0) + 12,
                   62 + (i % 4 == 0 ? 10 : 0) + rng.below(6));
    }

    const PhraseStyle style{
        {{2, 2}, {3, 1}, {1, 1, 2}, {2, 1, 1}, {1.5, 0.5, 2}, {1, 1, 1, 1}, {2, -1, 1}}, 7, 14};
    int degree = 9;
    Phrase a = makePhrase(rng, verse, style, degree);
    Phrase answer = makePhrase(rng, verse, style, degree);
    PhraseStyle high = style;
    high.low += 2;
    high.high += 2;
    Phrase b = makePhrase(rng, bridge, high, degree);
    degree = 9;
    Phrase home = makePhrase(rng, close, style, degree);
    // The answer repeats the first half of the call.
    Phrase a2;
    for (const auto& n : a)
        if (n.beat < 8) a2.push_back(n);
    for (const auto& n : answer)
        if (n.beat >= 8) a2.push_back(n);
    playPhrase(s, a, key, 2, bar, 0, 78, rng);
    playPhrase(s, a2, key, 6, bar, 0, 78, rng);
    playPhrase(s, b, key, 10, bar, 0, 84, rng);
    playPhrase(s, home, key, 14, bar, 0, 80, rng);
    s.note(18 * bar, bar * 2.2, 0, key.pitch(7), 70);

    s.length = bars * bar + 1.9;  // 68.6 s
    s.fadeOut = 5.0;
    return s;
}

// --- the game tune: A minor, 120 beats a minute, 118 bars ---

enum class Part { Intro, Main, Bridge, Break, Lift, Outro, Final };

struct Section {
    Part part;
    int bars;
    std::vector<int> roots;  // repeated through the section
    int melody;              // index into the melody bank, -1 for none
};

void drumBar(Score& s, double t, double beat, Part part, bool fill, bool crash, Rng& rng) {
    if (crash) s.note(t, 1.5, kDrums, kCrash, 100);
    if (part == Part::Break) {
        for (int i = 0; i < 4; ++i) s.note(t + i * beat, 0.2, kDrums, kRide, 55 + rng.below(10));
        return;
    }
    if (part == Part::Final) return;
    for (int i = 0; i < 8; ++i) {
        const bool open = i == 7 && !fill && rng.chance(0.35);
        s.note(t + i * beat / 2, 0.1, kDrums, open ? kOpenHat : kClosedHat,
               (i % 2 ? 52 : 72) + rng.below(8));
    }
    s.note(t, 0.2, kDrums, kKick, 108);
    s.note(t + 2 * beat, 0.2, kDrums, kKick, 100);
    if (part != Part::Intro && rng.chance(0.5)) s.note(t + 2.5 * beat, 0.2, kDrums, kKick, 86);
    s.note(t + beat, 0.2, kDrums, kSnare, 98);
    if (!fill) {
        s.note(t + 3 * beat, 0.2, kDrums, kSnare, 100);
        return;
    }
    static constexpr int toms[] = {kSnare,  kSnare,  kHighTom, kHighTom,
                                   kMidTom, kMidTom, kLowTom,  kLowTom};
    for (int i = 0; i < 8; ++i)
        s.note(t + 2 * beat + i * beat / 4, 0.1, kDrums, toms[i], 70 + i * 5);
}

void bassBar(Score& s, const Key& key, int root, double t, double beat, Part part, Rng& rng) {
    const int r = key.pitch(root) - 24 + (key.pitch(root) - 24 > 47 ? -12 : 0);
    const int fifth = key.pitch(root + 4) - 24 + (key.pitch(root) - 24 > 47 ? -12 : 0);
    if (part == Part::Break || part == Part::Final) {
        s.note(t, beat * (part == Part::Final ? 6 : 3.8), 3, r, 92);
        return;
    }
    static constexpr int pattern[8] = {0, 0, 12, 0, 7, 0, 12, 7};
    for (int i = 0; i < 8; ++i) {
        const int k = pattern[i] == 7 ? fifth : r + pattern[i];
        s.note(t + i * beat / 2, beat / 2 * 0.8, 3, k, (i % 2 ? 78 : 96) + rng.below(6));
    }
}

void chordBar(Score& s, const Key& key, int root, double t, double beat, Part part) {
    const auto keys = triad(key, root);
    if (part == Part::Final) {
        for (int k : keys) s.note(t, beat * 6, 4, k, 80);
        for (int k : keys) s.note(t, beat * 4, 2, k, 70);
        return;
    }
    for (int k : keys) s.note(t, beat * 3.95, 4, k, part == Part::Break ? 78 : 62);
    if (part == Part::Break) {
        // Celesta arpeggio in sixteenths.
        static constexpr int up[8] = {0, 2, 4, 7, 9, 7, 4, 2};
        for (int i = 0; i < 16; ++i)
            s.note(t + i * beat / 4, beat / 4, 5, key.pitch(root + up[i % 8]) + 12,
                   60 + (i % 4 ? 0 : 12));
        return;
    }
    static constexpr double stabs[] = {0, 1.5, 2.5, 3.5};
    for (double at : stabs)
        for (int k : keys) s.note(t + at * beat, beat * 0.4, 2, k, at == 0 ? 78 : 66);
}

Score gameTune() {
    Score s;
    const Key key(57, true);
    const double beat = 0.5, bar = 4 * beat;
    setupChannel(s, 0, kSquareLead, 74, 60, 50);
    setupChannel(s, 1, kVibraphone, 96, 72, 70);
    setupChannel(s, 2, kElectricPiano, 70, 44, 50);
    setupChannel(s, 3, kFingerBass, 100, 64, 20);
    setupChannel(s, 4, kStrings, 66, 84, 80);
    setupChannel(s, 5, kCelesta, 80, 50, 90);
    setupChannel(s, kDrums, 0, 96, 64, 30);

    const std::vector<int> main{0, 5, 2, 6}, bridge{5, 6, 4, 0}, pause{3, 0, 5, 6},
        lift{2, 6, 0, 5};
    const std::vector<Section> sections{
        {Part::Intro, 4, main, -1}, {Part::Main, 16, main, 0},     {Part::Bridge, 16, bridge, 1},
        {Part::Main, 16, main, 0},  {Part::Break, 8, pause, 3},    {Part::Lift, 16, lift, 2},
        {Part::Main, 16, main, 0},  {Part::Bridge, 16, bridge, 1}, {Part::Outro, 8, main, -1},
        {Part::Final, 2, {0}, -1},
    };

    // Melody bank: sixteen bars each, built from four-bar phrases (call, answer
    // that reuses the call's start, a contrasting line, and the call again).
    Rng rng(7177);
    const PhraseStyle lively{{{1, 1, 1, 1},
                              {0.5, 0.5, 1, 1, 1},
                              {1, 0.5, 0.5, 1, 1},
                              {1.5, 0.5, 1, 1},
                              {0.5, 0.5, 0.5, 0.5, 1, 1},
                              {1, 1, 2},
                              {0.5, 1, 0.5, 1, 1},
                              {1, -0.5, 0.5, 1, 1}},
                             7,
                             16};
    auto sixteen = [&](const std::vector<int>& roots, const PhraseStyle& style) {
        int degree = 11;
        Phrase call = makePhrase(rng, roots, style, degree);
        Phrase answer = makePhrase(rng, roots, style, degree);
        PhraseStyle up = style;
        up.low += 2;
        up.high += 2;
        Phrase contrast = makePhrase(rng, roots, up, degree);
        Phrase tune;
        auto add = [&](const Phrase& p, double offset, double from, double to) {
            for (const auto& n : p)
                if (n.beat >= from && n.beat < to)
                    tune.push_back({n.beat + offset, n.beats, n.degree});
        };
        add(call, 0, 0, 16);
        add(call, 16, 0, 8);
        add(answer, 16, 8, 16);
        add(contrast, 32, 0, 16);
        add(call, 48, 0, 16);
        return tune;
    };
    const std::vector<Phrase> bank{sixteen(main, lively), sixteen(bridge, lively),
                                   sixteen(lift, lively)};
    PhraseStyle slow = lively;
    slow.rhythms = {{2, 2}, {1, 1, 2}, {3, 1}, {2, 1, 1}};
    int degree = 9;
    const Phrase breakLine = makePhrase(rng, pause, slow, degree);

    int barIndex = 0;
    for (const auto& sec : sections) {
        for (int b = 0; b < sec.bars; ++b, ++barIndex) {
            const double t = barIndex * bar;
            const int root = sec.roots[static_cast<std::size_t>(b) % sec.roots.size()];
            const bool fill = b == sec.bars - 1 && sec.part != Part::Final;
            drumBar(s, t, beat, sec.part, fill, b == 0 && sec.part != Part::Intro, rng);
            bassBar(s, key, root, t, beat, sec.part, rng);
            chordBar(s, key, root, t, beat, sec.part);
        }
        const double first = barIndex - sec.bars;
        if (sec.melody >= 0 && sec.melody < 3) {
            // The lead takes the main tune; the vibraphone answers in the bridge.
            const int channel = sec.part == Part::Bridge ? 1 : 0;
            playPhrase(s, bank[static_cast<std::size_t>(sec.melody)], key, first, bar, channel,
                       channel == 1 ? 92 : 86, rng);
        } else if (sec.melody == 3) {
            playPhrase(s, breakLine, key, first, bar, 1, 84, rng);
            playPhrase(s, breakLine, key, first + 4, bar, 1, 76, rng);
        }
    }
    s.note(barIndex * bar - 2 * bar, bar * 1.8, 0, key.pitch(7), 84);
    s.length = barIndex * bar + 5.0;  // 241 s
    s.fadeOut = 6.0;
    return s;
}

void writeTune(const Score& score, const std::string& path) {
    const auto pcm = renderScore(score);
    const auto mp3 = encodeMp3(pcm, kMusicRate);
    writeBinaryFile(path, mp3);
}

}  // namespace

void forgeMenuMusic(const Output& out) {
    writeTune(menuTune(), out.data("menumusic.mp3"));
}
void forgeGameMusic(const Output& out) {
    writeTune(gameTune(), out.data("music.mp3"));
}

}  // namespace forge
