// The two tunes: a calm one for the menu and a livelier one for play. Chords
// follow fixed progressions under written melodies; each return of a theme
// changes its voice or adds a second line, so the pieces grow instead of looping.
// The only randomness is a little humanising of the loudness of each note.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "assets/catalogue.h"
#include "assets/forge/canvas.h"
#include "assets/forge/forge.h"
#include "assets/forge/image_writers.h"
#include "assets/forge/score.h"

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
    kMarimba = 12,
    kClarinet = 71,
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

struct MelodyNote {
    double beat;   // from the start of the phrase
    double beats;  // length
    int degree;
};
using Phrase = std::vector<MelodyNote>;

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

// A written line: consecutive notes as (beats, scale degree); a rest is kRest.
constexpr int kRest = -100;
struct Written {
    double beats;
    int degree;
};

Phrase written(std::initializer_list<Written> notes) {
    Phrase p;
    double beat = 0;
    for (const auto& n : notes) {
        if (n.degree != kRest) p.push_back({beat, n.beats, n.degree});
        beat += n.beats;
    }
    return p;
}

Phrase shifted(const Phrase& p, double beats) {
    Phrase out = p;
    for (auto& n : out) n.beat += beats;
    return out;
}

Phrase joined(std::initializer_list<Phrase> phrases) {
    Phrase out;
    for (const auto& phrase : phrases) out.insert(out.end(), phrase.begin(), phrase.end());
    return out;
}

// A second voice under a line whose bars follow ROOTS (one chord a bar,
// repeating): on the beats it takes the nearest tone of the bar's chord a third
// to a fifth below the tune, between the beats it moves a plain third lower.
Phrase harmonyBelow(const Phrase& p, const std::vector<int>& roots) {
    Phrase out = p;
    for (auto& n : out) {
        const int root = roots[static_cast<std::size_t>(n.beat / 4) % roots.size()];
        int pick = n.degree - 2;
        if (std::fmod(n.beat, 1.0) == 0.0)
            for (int d = n.degree - 2; d >= n.degree - 4; --d) {
                const int rel = ((d - root) % 7 + 7) % 7;
                if (rel == 0 || rel == 2 || rel == 4) {
                    pick = d;
                    break;
                }
            }
        n.degree = pick;
    }
    return out;
}

// The level rides of a tune, as (bar, dB) points.
std::vector<std::pair<double, double>> rides(
    std::initializer_list<std::pair<double, double>> points, double barSec) {
    std::vector<std::pair<double, double>> out;
    for (const auto& [bar, db] : points) out.push_back({bar * barSec, db});
    return out;
}

// The game rewinds a track only once it has ended: one still playing when its
// restart timer fires would go on to its end and then stay silent for a whole
// interval. The mixer reads a buffer (46 ms) ahead and the timer can be a
// little early, so each track ends this much before its restart.
constexpr double kRestartMargin = 0.17;

// The tune is LENGTH seconds long and ends on a rest from REST on: what would
// sound then is cut short or left out, and the hall dies away in the rest. The
// restart timer's wait after the end falls in that rest too, so the first bar
// comes in on the beat after a breath, as the band would play it round.
void endOnRest(Score& s, double rest, double length) {
    std::erase_if(s.notes, [rest](const ScoreNote& n) { return n.start > rest - 0.01; });
    for (ScoreNote& n : s.notes) n.duration = std::min(n.duration, rest - n.start);
    s.length = length;
    s.restAt = rest;
    s.loopTail = 0;
}

// --- the menu tune: D major, about 72 beats a minute, twenty-one bars ---

// Restarted every 70 s: twenty-one bars fill the time up to the margin, and
// the last three lead back into the first.
constexpr double kMenuTuneLength = lumcrest::kMenuTrackRestartMs / 1000.0 - kRestartMargin;

Score menuTune() {
    Score s;
    const Key key(62, false);
    // The bars fill the whole restart interval: the track ends on the last beat's rest, and
    // the restart brings the first bar in on the beat.
    const double bar = lumcrest::kMenuTrackRestartMs / 1000.0 / 21;
    setupChannel(s, 0, kFlute, 92, 70, 90);
    setupChannel(s, 1, kHarp, 80, 45, 80);
    setupChannel(s, 2, kWarmPad, 62, 64, 100);
    setupChannel(s, 3, kCello, 70, 80, 70);

    const std::vector<int> verse{0, 5, 3, 4}, bridge{5, 3, 0, 4}, close{0, 3, 4, 0}, turn{3, 5, 4};
    std::vector<int> roots{0, 3};  // two bars of introduction
    for (const auto* p : {&verse, &verse, &bridge, &close, &turn})
        roots.insert(roots.end(), p->begin(), p->end());
    const int bars = static_cast<int>(roots.size());

    Rng rng(2024);
    for (int b = 0; b < bars; ++b) {
        const int root = roots[static_cast<std::size_t>(b)];
        const double t = b * bar;
        for (int k : triad(key, root)) s.note(t, bar * 0.98, 2, k, 70);
        s.note(t, bar * 0.98, 3, key.pitch(root) - 24, 72);
        s.note(t + bar / 2, bar / 2 * 0.95, 3, key.pitch(root + 4) - 24, 60);
        // Harp: rising and falling broken chord in eighths.
        static constexpr int shape[8] = {0, 2, 4, 7, 9, 7, 4, 2};
        for (int i = 0; i < 8; ++i)
            s.note(t + i * bar / 8, bar / 4, 1,
                   key.pitch(root + shape[i]) - 12 + (root > 3 ? -12 : 0) + 12,
                   62 + (i % 4 == 0 ? 10 : 0) + rng.below(6));
        // A celesta an octave over the harp, on the beats, from the second verse on.
        if (b >= 6)
            for (int i = 0; i < 4; ++i)
                s.note(t + i * bar / 4, bar / 4, 4, key.pitch(root + shape[2 * i]) + 12,
                       58 + rng.below(6));
    }
    setupChannel(s, 4, kCelesta, 70, 56, 90);

    // The flute's tune: a verse, its answer, a higher bridge and the way home.
    // clang-format off
    const Phrase verse1 = written({{2, 9}, {1, 8}, {1, 7},               //
                                   {1.5, 12}, {0.5, 11}, {2, 9},         //
                                   {1, 10}, {1, 9}, {1, 8}, {1, 7},      //
                                   {3, 8}, {1, kRest}});
    const Phrase verse2 = written({{2, 9}, {1, 8}, {1, 7},               //
                                   {1.5, 12}, {0.5, 11}, {2, 9},         //
                                   {1, 10}, {1, 12}, {1, 11}, {1, 10},   //
                                   {3, 11}, {1, kRest}});
    const Phrase rise = written({{2, 14}, {1, 13}, {1, 12},              //
                                 {2, 12}, {1, 11}, {1, 10},              //
                                 {2, 9}, {1, 11}, {1, 14},               //
                                 {4, 13}});
    const Phrase home = written({{2, 14}, {1, 11}, {1, 9},               //
                                 {2, 10}, {1, 12}, {1, 10},              //
                                 {2, 8}, {1, 9}, {1, 8},                 //
                                 {4, 7}});
    // clang-format on
    playPhrase(s, verse1, key, 2, bar, 0, 78, rng);
    playPhrase(s, verse2, key, 6, bar, 0, 78, rng);
    playPhrase(s, rise, key, 10, bar, 0, 84, rng);
    playPhrase(s, harmonyBelow(rise, bridge), key, 10, bar, 3, 58, rng,
               -1);  // the cello sings along
    playPhrase(s, home, key, 14, bar, 0, 80, rng);
    // The turn back: over IV, vi and V the flute climbs and hands over to the
    // first bar again.
    // clang-format off
    const Phrase turnLine = written({{2, 10}, {1, 9}, {1, 7},            //
                                     {2, 9}, {1, 12}, {1, 11},           //
                                     {1.5, 11}, {0.5, 10}, {1, 8}, {1, 6}});
    // clang-format on
    playPhrase(s, turnLine, key, 18, bar, 0, 76, rng);

    endOnRest(s, 21 * bar - bar / 4, kMenuTuneLength);
    s.presenceDb = 9;
    // Quiet at the start and the turn, fullest at the bridge.
    s.rides = rides({{0, -2}, {2, -5}, {6, -3}, {10, 1}, {14, 1}, {18, -1}, {21, -4}}, bar);
    return s;
}

// --- the game tune's band: drums, bass and chords, bar by bar ---

enum class Passage { Intro, Main, Bridge, Break, Lift, Outro };

void drumBar(Score& s, double t, double beat, Passage passage, bool fill, bool crash, Rng& rng) {
    if (crash) s.note(t, 1.5, kDrums, kCrash, 100);
    if (passage == Passage::Break) {
        for (int i = 0; i < 4; ++i) s.note(t + i * beat, 0.2, kDrums, kRide, 55 + rng.below(10));
        return;
    }
    for (int i = 0; i < 8; ++i) {
        const bool open = i == 7 && !fill && rng.chance(0.35);
        s.note(t + i * beat / 2, 0.1, kDrums, open ? kOpenHat : kClosedHat,
               (i % 2 ? 52 : 72) + rng.below(8));
    }
    s.note(t, 0.2, kDrums, kKick, 108);
    s.note(t + 2 * beat, 0.2, kDrums, kKick, 100);
    if (passage != Passage::Intro && rng.chance(0.5))
        s.note(t + 2.5 * beat, 0.2, kDrums, kKick, 86);
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

void bassBar(Score& s, const Key& key, int root, double t, double beat, Passage passage, Rng& rng) {
    const int r = key.pitch(root) - 24 + (key.pitch(root) - 24 > 47 ? -12 : 0);
    const int fifth = key.pitch(root + 4) - 24 + (key.pitch(root) - 24 > 47 ? -12 : 0);
    if (passage == Passage::Break) {
        s.note(t, beat * 3.8, 3, r, 92);
        return;
    }
    static constexpr int pattern[8] = {0, 0, 12, 0, 7, 0, 12, 7};
    for (int i = 0; i < 8; ++i) {
        const int k = pattern[i] == 7 ? fifth : r + pattern[i];
        s.note(t + i * beat / 2, beat / 2 * 0.8, 3, k, (i % 2 ? 78 : 96) + rng.below(6));
    }
}

void chordBar(Score& s, const Key& key, int root, double t, double beat, Passage passage) {
    const auto keys = triad(key, root);
    for (int k : keys) s.note(t, beat * 3.95, 4, k, passage == Passage::Break ? 78 : 62);
    if (passage == Passage::Break) {
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

// --- the game tune: A minor, about 118.6 beats a minute, 120 bars ---

// The game restarts its tune every 243 s: a hundred and twenty bars fill the
// time up to the margin, the outro's last bar a drum fill into the intro's first.
constexpr double kGameTuneLength = lumcrest::kGameTrackRestartMs / 1000.0 - kRestartMargin;
constexpr int kGameTuneBars = 120;
// Form: intro, A, B, A', break, C, A'', B', outro and a held close. The A theme
// is written out (a four-bar call, its answer, a higher contrast, the call
// again); each return of it changes voices and adds a harmony so the piece
// grows instead of looping.

Score gameTune() {
    Score s;
    const Key key(57, true);
    const double bar = lumcrest::kGameTrackRestartMs / 1000.0 / kGameTuneBars, beat = bar / 4;
    setupChannel(s, 0, kFlute, 96, 58, 60);
    setupChannel(s, 1, kVibraphone, 92, 74, 70);
    setupChannel(s, 2, kElectricPiano, 64, 44, 50);
    setupChannel(s, 3, kFingerBass, 100, 64, 20);
    setupChannel(s, 4, kStrings, 62, 84, 80);
    setupChannel(s, 5, kCelesta, 76, 50, 90);
    setupChannel(s, 6, kMarimba, 70, 40, 50);
    setupChannel(s, 7, kClarinet, 84, 70, 60);
    setupChannel(s, 8, kStrings, 80, 40,
                 80);  // strings with a line of their own, apart from the pad
    setupChannel(s, kDrums, 0, 88, 64, 30);

    const std::vector<int> main{0, 5, 2, 6}, bridge{5, 6, 4, 0}, pause{3, 0, 5, 6},
        lift{2, 6, 0, 5};

    // Theme A over Am F C G (degree 7 is the A above middle C).
    // clang-format off
    const Phrase call = written({{1, 7}, {0.5, 9}, {0.5, 11}, {1.5, 14}, {0.5, 13},  //
                                 {1, 12}, {0.5, 11}, {0.5, 10}, {1, 9}, {1, 7},      //
                                 {1, 6}, {0.5, 9}, {0.5, 11}, {1, 13}, {1, 11},      //
                                 {1.5, 10}, {0.5, 8}, {1, 6}, {1, kRest}});
    const Phrase answerEnd = written({{1, 6}, {0.5, 9}, {0.5, 11}, {1, 10}, {1, 9},  //
                                      {1, 8}, {1, 6}, {0.5, 8}, {1.5, 10}});
    const Phrase contrast = written({{0.5, 11}, {0.5, 11}, {1, 14}, {1, 16}, {1, 15},  //
                                     {1.5, 14}, {0.5, 13}, {1, 12}, {1, 14},           //
                                     {1, 13}, {1, 11}, {1, 9}, {1, 11},                //
                                     {2, 10}, {1, 8}, {1, 10}});
    // clang-format on
    // clang-format off
    const Phrase homeEnd = written({{1, 11}, {1, 13}, {0.5, 11}, {0.5, 10}, {1, 9},  //
                                    {1, 8}, {0.5, 9}, {0.5, 8}, {2, 7}});
    // clang-format on
    Phrase callStart;
    for (const auto& n : call)
        if (n.beat < 8) callStart.push_back(n);
    const Phrase themeA =
        joined({call, shifted(callStart, 16), shifted(answerEnd, 24), shifted(contrast, 32),
                shifted(callStart, 48), shifted(homeEnd, 56)});

    // Theme B over F G Em Am: running eighths, then a longer answer.
    // clang-format off
    const Phrase runs = written({{0.5, 9}, {0.5, 10}, {0.5, 11}, {0.5, 12}, {1, 14}, {1, 12},  //
                                 {0.5, 10}, {0.5, 11}, {0.5, 12}, {0.5, 13}, {1, 15}, {1, 13},
                                 {1, 11}, {0.5, 13}, {0.5, 12}, {1, 11}, {1, 10},  //
                                 {1.5, 9}, {0.5, 8}, {2, 7}});
    const Phrase runsEnd = written({{1, 15}, {1, 13}, {1, 11}, {1, 13},  //
                                    {3, 14}, {1, kRest}});
    // clang-format on
    Phrase runsStart;
    for (const auto& n : runs)
        if (n.beat < 8) runsStart.push_back(n);
    const Phrase themeB = joined({runs, shifted(runsStart, 16), shifted(runsEnd, 24)});

    // Theme C over C G Am F: long notes that climb, for the strings.
    // clang-format off
    const Phrase themeC = written({{2, 11}, {2, 13}, {2, 10}, {1, 8}, {1, 10},  //
                                   {2, 9}, {1, 11}, {1, 14}, {3, 14}, {1, 13},  //
                                   {2, 13}, {1, 11}, {1, 13}, {2, 15}, {2, 17}, //
                                   {2, 16}, {1, 15}, {1, 14}, {4, 14}});
    // clang-format on

    // The outro's own line: down from the top of the call to the tonic.
    // clang-format off
    const Phrase farewell = written({{2, 14}, {1, 12}, {1, 11}, {2, 9}, {2, 11},  //
                                     {3, 10}, {1, 8}, {2, 9}, {1, 8}, {1, 6},     //
                                     {4, 7}});
    // clang-format on

    // The break: the call's first bar, slowed and echoed.
    // clang-format off
    const Phrase breakLine = written({{2, 7}, {1, 9}, {1, 11}, {3, 14}, {1, 13},  //
                                      {2, 12}, {1, 11}, {1, 9}, {4, 10}});
    // clang-format on

    struct Section {
        Passage passage;
        int bars;
        const std::vector<int>* roots;
        int tonic;  // the section's key: A, D or B minor
        int shift;  // octaves the tunes move, to stay in the instruments' best range
    };
    // The second A and the break move to D minor, the last A and its bridge up a tone to B
    // minor, and the outro comes home to A minor: no stretch of the tune is heard the same
    // way more than three times.
    const std::vector<int> opening{0, 3, 0, 4};
    // clang-format off
    const std::vector<Section> sections{
        {Passage::Intro, 4, &opening, 57, 0}, {Passage::Main, 16, &main, 57, 0},
        {Passage::Bridge, 16, &bridge, 57, 0}, {Passage::Main, 16, &main, 62, -1},
        {Passage::Break, 8, &pause, 62, -1},  {Passage::Lift, 16, &lift, 57, 0},
        {Passage::Main, 16, &main, 59, 0},    {Passage::Bridge, 8, &bridge, 59, 0},
        {Passage::Break, 8, &pause, 59, 0},   {Passage::Outro, 12, &opening, 57, 0},
    };
    // clang-format on

    Rng rng(7177);
    int barIndex = 0, mainCount = 0, bridgeCount = 0;
    for (const auto& sec : sections) {
        const Key k(sec.tonic, true);
        const int first = barIndex;
        for (int b = 0; b < sec.bars; ++b, ++barIndex) {
            const double t = barIndex * bar;
            const int root =
                sec.roots ? (*sec.roots)[static_cast<std::size_t>(b) % sec.roots->size()] : 0;
            const bool fill = b == sec.bars - 1;
            drumBar(s, t, beat, sec.passage, fill, b == 0 && sec.passage != Passage::Intro, rng);
            bassBar(s, k, root, t, beat, sec.passage, rng);
            chordBar(s, k, root, t, beat, sec.passage);
        }
        switch (sec.passage) {
            case Passage::Main:
                // First time flute with a soft marimba; then clarinet; at the
                // last return flute with the strings in harmony below.
                if (mainCount == 0) {
                    playPhrase(s, themeA, k, first, bar, 0, 86, rng, sec.shift);
                    playPhrase(s, themeA, k, first, bar, 6, 58, rng, sec.shift - 1);
                } else if (mainCount == 1) {
                    playPhrase(s, themeA, k, first, bar, 7, 84, rng, sec.shift);
                    playPhrase(s, harmonyBelow(themeA, main), k, first, bar, 1, 60, rng,
                               sec.shift - 1);
                } else {
                    playPhrase(s, themeA, k, first, bar, 0, 90, rng, sec.shift);
                    playPhrase(s, harmonyBelow(themeA, main), k, first, bar, 8, 64, rng, sec.shift);
                }
                ++mainCount;
                break;
            case Passage::Bridge:
                playPhrase(s, themeB, k, first, bar, 1, 90, rng, sec.shift);
                // The second bridge is cut short: the hush comes sooner.
                if (sec.bars < 16) break;
                playPhrase(s, themeB, k, first + 8, bar, bridgeCount ? 0 : 7, 80, rng, sec.shift);
                playPhrase(s, harmonyBelow(themeB, bridge), k, first + 8, bar, 1, 62, rng,
                           sec.shift);
                ++bridgeCount;
                break;
            case Passage::Break:
                playPhrase(s, breakLine, k, first, bar, 1, 80, rng, sec.shift);
                playPhrase(s, breakLine, k, first + 4, bar, 0, 70, rng, sec.shift);
                break;
            case Passage::Lift:
                playPhrase(s, themeC, k, first, bar, 8, 92, rng, sec.shift);
                playPhrase(s, themeC, k, first + 8, bar, 8, 96, rng, sec.shift);
                playPhrase(s, themeC, k, first + 8, bar, 0, 74, rng, sec.shift);
                break;
            case Passage::Outro:
                // A farewell of its own, the call's answer over the opening's
                // chords, and the call's start once more on the vibraphone
                // as the band runs on into the intro.
                playPhrase(s, farewell, k, first, bar, 0, 80, rng, sec.shift);
                playPhrase(s, joined({callStart, shifted(homeEnd, 8)}), k, first + 4, bar, 7, 74,
                           rng, sec.shift);
                playPhrase(s, callStart, k, first + 8, bar, 1, 78, rng, sec.shift);
                break;
            default: break;
        }
    }
    endOnRest(s, kGameTuneBars * bar - beat, kGameTuneLength);
    s.presenceDb = 5;
    // Softer for the intro and the first theme, hushed at the break, full
    // from the lift on, and back down into the intro at the end.
    s.rides = rides({{0, -2},
                     {4, -4},
                     {19, -4},
                     {20, -1},
                     {51, 0},
                     {52, -8},
                     {59, -7},
                     {60, -2},
                     {76, 1},
                     {99, 1},
                     {100, -5},
                     {107, -4},
                     {108, -1},
                     {120, -2}},
                    bar);
    return s;
}

void writeTune(const Score& score, const std::string& path) {
    const auto pcm = renderScore(score);
    const auto mp3 = encodeMp3(pcm, kMusicRate);
    writeBinaryFile(path, mp3);
}

}  // namespace

void forgeMenuMusic(const Output& out) {
    writeTune(menuTune(), out.of(asset::kMenuMusic));
}
void forgeGameMusic(const Output& out) {
    writeTune(gameTune(), out.of(asset::kGameMusic));
}

}  // namespace forge
