// Offline rendering: the synth writes samples straight into our buffer between
// events; no audio driver is ever opened.

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <stdexcept>

#include "assets/forge/loudness.h"
#include "assets/forge/score.h"

namespace forge {

namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

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

    const long total = toFrame(score.length);
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(total) * 2);
    long pos = 0;
    auto renderTo = [&](long frame) {
        frame = std::min(frame, total);
        while (pos < frame) {
            const int n = static_cast<int>(std::min<long>(frame - pos, 8192));
            fluid_synth_write_s16(synth, n, pcm.data(), static_cast<int>(pos * 2), 2, pcm.data(),
                                  static_cast<int>(pos * 2 + 1), 2);
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

    // Bring the whole tune to -23 LUFS integrated, so both tracks sit at one
    // level well under the effects; ease in over the score's fade-in (a restart
    // never jumps in at full level) and out over its fade-out.
    Channels channels(2, std::vector<double>(static_cast<std::size_t>(total)));
    for (long f = 0; f < total; ++f)
        for (std::size_t c = 0; c < 2; ++c)
            channels[c][static_cast<std::size_t>(f)] =
                pcm[static_cast<std::size_t>(f) * 2 + c] / 32768.0;
    const long fadeIn = std::max(1L, toFrame(score.fadeIn));
    const long fadeOut = std::max(1L, toFrame(score.fadeOut));
    auto envelope = [&](long f) {
        double g = 1.0;
        if (f < fadeIn) g *= 0.5 - 0.5 * std::cos(M_PI * static_cast<double>(f) / fadeIn);
        const long left = total - f;
        if (left < fadeOut) g *= 0.5 - 0.5 * std::cos(M_PI * static_cast<double>(left) / fadeOut);
        return g;
    };
    for (long f = 0; f < total; ++f)
        for (auto& c : channels) c[static_cast<std::size_t>(f)] *= envelope(f);
    const double gain =
        std::pow(10.0, (kMusicLoudness - integratedLufs(channels, kMusicRate)) / 20.0);
    for (long f = 0; f < total; ++f)
        for (std::size_t c = 0; c < 2; ++c) {
            const double x = channels[c][static_cast<std::size_t>(f)] * gain * 32768.0;
            pcm[static_cast<std::size_t>(f) * 2 + c] =
                static_cast<std::int16_t>(std::clamp(std::lround(x), -32767L, 32767L));
        }
    return pcm;
}

}  // namespace forge
