#pragma once
// A tune as timed MIDI notes, and its offline rendering through the
// General MIDI soundfont.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace forge {

struct ScoreNote {
    double start;     // seconds
    double duration;  // seconds
    int channel;      // 0..15, 9 is percussion
    int key;          // MIDI key
    int velocity;     // 1..127
};

struct ScoreControl {
    double time;
    int channel;
    int controller;  // MIDI CC number
    int value;
};

struct ScoreProgram {
    double time;
    int channel;
    int program;  // General MIDI program, 0-based
};

struct Score {
    std::vector<ScoreNote> notes;
    std::vector<ScoreControl> controls;
    std::vector<ScoreProgram> programs;
    // Seconds: the track's exact length, which is the game's restart interval.
    double length = 0;
    // Seconds rendered past the end and laid over the start: the notes and the
    // hall still sounding at the end carry on into the first bar, as if the
    // band played round, so the restart has no seam.
    double loopTail = 3.0;
    // Seconds: where the closing rest begins (0: none). The hall still ringing
    // there dies away to silence by the end.
    double restAt = 0;
    // A lift around 3.5 kHz (dB), where small speakers and ears are keenest.
    double presenceDb = 0;
    // The mix's level rides: (seconds, dB), followed in straight lines between,
    // held before the first and after the last.
    std::vector<std::pair<double, double>> rides;
    void note(double start, double duration, int channel, int key, int velocity) {
        notes.push_back({start, duration, channel, key, velocity});
    }
    void program(double time, int channel, int program) {
        programs.push_back({time, channel, program});
    }
    void control(double time, int channel, int controller, int value) {
        controls.push_back({time, channel, controller, value});
    }
};

constexpr int kMusicRate = 44100;
constexpr double kMusicLoudness = -20.0;      // LUFS integrated, both tracks
constexpr double kMusicMaxTruePeakDb = -2.0;  // before the encoder, which adds a little

// Renders the score to interleaved 16-bit stereo at kMusicRate, exactly its
// length long, at kMusicLoudness, its end flowing into its start.
std::vector<std::int16_t> renderScore(const Score& score);

// CBR MP3 with its Info tag frame at the start, holding the encoder's delay and
// padding, so players read the exact length and trim the padding.
std::vector<unsigned char> encodeMp3(const std::vector<std::int16_t>& stereo, int rate);

}  // namespace forge
