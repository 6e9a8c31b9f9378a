// Offline rendering: the synth writes samples straight into our buffer between
// events; no audio driver is ever opened.

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <stdexcept>
#include <string>

#include "assets/forge/loudness.h"
#include "assets/forge/score.h"

namespace forge {

namespace {

// Found by the build (fluid-soundfont-gm): larger, rounder instruments than the small
// General MIDI sets.
constexpr const char* kSoundFont = LUMCREST_SOUND_FONT;

struct Event {
    long frame;
    int order;  // programs and controls, then note-offs, then note-ons
    int channel, a, b;
};

// Creating synths touches fluidsynth's shared start-up state: one at a time.
std::mutex& synthSetupMutex() {
    static std::mutex m;
    return m;
}

// A peaking filter (RBJ's cookbook) of GAIN dB at F Hz, run over X in place.
void peaking(std::vector<double>& x, double f, double q, double gainDb) {
    const double a = std::pow(10.0, gainDb / 40.0), w = 2 * M_PI * f / kMusicRate;
    const double alpha = std::sin(w) / (2 * q), a0 = 1 + alpha / a;
    const double b0 = (1 + alpha * a) / a0, b1 = -2 * std::cos(w) / a0, b2 = (1 - alpha * a) / a0,
                 a1 = b1, a2 = (1 - alpha / a) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : x) {
        const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = v;
        y2 = y1;
        y1 = y;
        v = y;
    }
}

// The rides' level (dB) at T seconds.
double rideAt(const std::vector<std::pair<double, double>>& rides, double t) {
    if (rides.empty()) return 0;
    if (t <= rides.front().first) return rides.front().second;
    for (std::size_t i = 1; i < rides.size(); ++i)
        if (t < rides[i].first) {
            const auto& [t0, l0] = rides[i - 1];
            const auto& [t1, l1] = rides[i];
            return l0 + (l1 - l0) * (t - t0) / (t1 - t0);
        }
    return rides.back().second;
}

// The synth's output PLAYED (LENGTH frames and the tail past them) made into
// the track: lifted, the tail laid over the start, ridden, and brought to
// kMusicLoudness with a plain gain. Every step before the rides is linear and
// runs over the tail too, so the start holds just what the end leads into.
std::vector<std::int16_t> mixDown(const Score& score, Channels& played, long length) {
    const std::size_t n = static_cast<std::size_t>(length);
    Channels track(2, std::vector<double>(n, 0.0));
    for (std::size_t c = 0; c < 2; ++c) {
        if (score.presenceDb != 0) peaking(played[c], 3500, 0.7, score.presenceDb);
        for (std::size_t f = 0; f < played[c].size(); ++f) track[c][f % n] += played[c][f];
    }
    // The hall dies away in the closing rest, from a tenth of a second into it.
    const double quietFrom = score.restAt + 0.1, quietTo = double(length) / kMusicRate;
    for (std::size_t f = 0; f < n; ++f) {
        const double t = double(f) / kMusicRate;
        double g = std::pow(10.0, rideAt(score.rides, t) / 20.0);
        if (score.restAt > 0 && t > quietFrom)
            g *=
                0.5 + 0.5 * std::cos(M_PI * std::min(1.0, (t - quietFrom) / (quietTo - quietFrom)));
        for (auto& c : track) c[f] *= g;
    }
    // The MP3 encoder's low-pass takes about half a LU off what the meter reads.
    constexpr double kEncoderLossLu = 0.5;
    const double gain = std::pow(
        10.0, (kMusicLoudness + kEncoderLossLu - integratedLufs(track, kMusicRate)) / 20.0);
    for (auto& c : track)
        for (double& v : c) v *= gain;
    const double peak = truePeakDb(track);
    if (peak > kMusicMaxTruePeakDb)
        throw std::runtime_error("too peaky for its loudness (true peak " + std::to_string(peak) +
                                 " dBTP)");
    std::vector<std::int16_t> pcm(n * 2);
    for (std::size_t f = 0; f < n; ++f)
        for (std::size_t c = 0; c < 2; ++c)
            pcm[f * 2 + c] = static_cast<std::int16_t>(std::lround(track[c][f] * 32767.0));
    return pcm;
}

}  // namespace

std::vector<std::int16_t> renderScore(const Score& score) {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    {
        std::lock_guard lock(synthSetupMutex());
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
        settings = new_fluid_settings();
        fluid_settings_setnum(settings, "synth.sample-rate", kMusicRate);
        fluid_settings_setnum(settings, "synth.gain", 0.4);
        fluid_settings_setint(settings, "synth.polyphony", 256);
        fluid_settings_setint(settings, "synth.reverb.active", 1);
        fluid_settings_setint(settings, "synth.chorus.active", 0);
        synth = new_fluid_synth(settings);
        if (!synth || fluid_synth_sfload(synth, kSoundFont, 1) == FLUID_FAILED) {
            if (synth) delete_fluid_synth(synth);
            delete_fluid_settings(settings);
            throw std::runtime_error(std::string("cannot load the soundfont ") + kSoundFont);
        }
        fluid_synth_set_reverb_group_roomsize(synth, -1, 0.6);
        fluid_synth_set_reverb_group_level(synth, -1, 0.6);
    }

    auto toFrame = [](double t) { return static_cast<long>(std::lround(t * kMusicRate)); };
    std::vector<Event> events;
    for (const auto& p : score.programs)
        events.push_back({toFrame(p.time), 0, p.channel, p.program, 0});
    for (const auto& c : score.controls)
        events.push_back({toFrame(c.time), 1, c.channel, c.controller, c.value});
    for (const auto& n : score.notes) {
        events.push_back({toFrame(n.start), 3, n.channel, n.key, std::clamp(n.velocity, 1, 127)});
        events.push_back({toFrame(n.start + n.duration), 2, n.channel, n.key, 0});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& x, const Event& y) {
        return x.frame != y.frame ? x.frame < y.frame : x.order < y.order;
    });

    const long length = toFrame(score.length);
    const long total = length + toFrame(score.loopTail);
    Channels played(2, std::vector<double>(static_cast<std::size_t>(total)));
    std::vector<float> left(8192), right(8192);
    long pos = 0;
    auto renderTo = [&](long frame) {
        frame = std::min(frame, total);
        while (pos < frame) {
            const int n = static_cast<int>(std::min<long>(frame - pos, 8192));
            fluid_synth_write_float(synth, n, left.data(), 0, 1, right.data(), 0, 1);
            for (int i = 0; i < n; ++i) {
                played[0][static_cast<std::size_t>(pos + i)] = left[static_cast<std::size_t>(i)];
                played[1][static_cast<std::size_t>(pos + i)] = right[static_cast<std::size_t>(i)];
            }
            pos += n;
        }
    };
    for (const auto& e : events) {
        renderTo(e.frame);
        switch (e.order) {
            case 0: fluid_synth_program_change(synth, e.channel, e.a); break;
            case 1: fluid_synth_cc(synth, e.channel, e.a, e.b); break;
            case 2: fluid_synth_noteoff(synth, e.channel, e.a); break;
            default: fluid_synth_noteon(synth, e.channel, e.a, e.b); break;
        }
    }
    renderTo(total);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return mixDown(score, played, length);
}

}  // namespace forge
