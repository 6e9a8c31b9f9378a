#pragma once
// A tune as timed MIDI notes, and its offline rendering through the
// General MIDI soundfont.

#include <cstdint>
#include <string>
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
    double length = 0;     // seconds of audio to render
    double fadeIn = 0.01;  // seconds faded in at the start
    double fadeOut = 4.0;  // seconds faded out at the end
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
constexpr double kMusicLoudness = -23.0;  // LUFS integrated, both tracks

// Renders the score to interleaved 16-bit stereo at kMusicRate, at kMusicLoudness,
// with the score's fade-in and fade-out.
std::vector<std::int16_t> renderScore(const Score& score);

// CBR MP3 with its Info tag frame at the start, so players read the exact length.
std::vector<unsigned char> encodeMp3(const std::vector<std::int16_t>& stereo, int rate);

}  // namespace forge
