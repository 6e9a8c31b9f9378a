#include "toolkit/headless/headless_backend.h"

#include <algorithm>
#include <fstream>
#include <iostream>

#include "toolkit/application.h"
#include "toolkit/error.h"
#include "toolkit/image.h"

namespace tk {

// --- Music length -------------------------------------------------------------------------

std::int64_t mp3LengthUs(const std::string& path) {
    std::vector<std::uint8_t> b;
    try {
        b = readFileBytes(path);
    } catch (const Error&) {
        return 0;
    }
    std::size_t i = 0;
    if (b.size() >= 10 && b[0] == 'I' && b[1] == 'D' && b[2] == '3')
        i = 10 + ((std::size_t(b[6] & 127) << 21) | (std::size_t(b[7] & 127) << 14) |
                  (std::size_t(b[8] & 127) << 7) | std::size_t(b[9] & 127));
    static const int rates1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const int rates2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const int freqs[] = {44100, 48000, 32000};
    double seconds = 0;
    int frames = 0;
    while (i + 4 <= b.size()) {
        if (b[i] != 0xFF || (b[i + 1] & 0xE0) != 0xE0) {
            ++i;
            continue;
        }
        int version = (b[i + 1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
        int layer = (b[i + 1] >> 1) & 3;    // 1: Layer III
        int rateIndex = b[i + 2] >> 4, freqIndex = (b[i + 2] >> 2) & 3, pad = (b[i + 2] >> 1) & 1;
        if (version == 1 || layer != 1 || rateIndex == 0 || rateIndex == 15 || freqIndex == 3) {
            ++i;
            continue;
        }
        int freq = freqs[freqIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
        int kbps = version == 3 ? rates1[rateIndex] : rates2[rateIndex];
        int samples = version == 3 ? 1152 : 576;
        std::size_t len = std::size_t(samples / 8 * kbps * 1000 / freq + pad);
        if (len < 4) break;
        // The first frame may be the encoder's information frame, which plays no sound.
        bool info = false;
        if (frames == 0) {
            for (std::size_t k = i + 4; k + 4 <= std::min(b.size(), i + len); ++k)
                if ((b[k] == 'X' && b[k + 1] == 'i' && b[k + 2] == 'n' && b[k + 3] == 'g') ||
                    (b[k] == 'I' && b[k + 1] == 'n' && b[k + 2] == 'f' && b[k + 3] == 'o')) {
                    info = true;
                    break;
                }
        }
        if (!info) seconds += double(samples) / freq;
        ++frames;
        i += len;
    }
    return std::int64_t(seconds * 1e6);
}

std::int64_t playableTrackLengthUs(const std::string& path) {
    std::ifstream probe;
    if (isRegularFile(path)) probe.open(path, std::ios::binary);
    if (!probe.is_open())
        throw Error(
            tr("The music track %s cannot be found. Make sure the path and filename are correct.",
               path));
    std::int64_t len = mp3LengthUs(path);
    if (len <= 0)
        throw Error(
            tr("The specified file cannot be played on the specified MCI device. The file may be "
               "corrupt, or not in the correct format."));
    return len;
}

// --- RecordingAudio -----------------------------------------------------------------------

void RecordingAudio::playEffect(const std::string& path) {
    effects_.push_back(path);
}

void RecordingAudio::setEffectVolume(int level) {
    effectVolume_ = std::clamp(level, 0, kMaxVolume);
}

void RecordingAudio::setMusicVolume(int level) {
    musicVolume_ = std::clamp(level, 0, kMaxVolume);
}

void RecordingAudio::openMusic(const std::string& path) {
    music_.close();
    file_.clear();
    music_.open(playableTrackLengthUs(path));
    file_ = path;
}

void RecordingAudio::playMusic() {
    if (!music_.isOpen()) throw Error(tr("No MCI device open"));
    music_.play(*clock_);
}

void RecordingAudio::stopMusic() {
    if (!music_.isOpen()) throw Error(tr("No MCI device open"));
    music_.stop(*clock_);
}

MusicState RecordingAudio::musicState() {
    return music_.state(*clock_);
}

std::vector<std::string> RecordingAudio::takeEffects() {
    std::vector<std::string> out;
    out.swap(effects_);
    return out;
}

std::vector<std::string> RecordingAudio::takeCues() {
    std::vector<std::string> out;
    out.swap(cues_);
    return out;
}

std::vector<RecordingAudio::Duck> RecordingAudio::takeDucks() {
    std::vector<Duck> out;
    out.swap(ducks_);
    return out;
}

// --- HeadlessBackend ----------------------------------------------------------------------

HeadlessBackend::HeadlessBackend() : audio_(&clockUs_) {}

void HeadlessBackend::showError(Application&, const std::string& message) {
    errors_.push_back(message);
}

void HeadlessBackend::showFatalError(Application& app, const std::string& message) {
    std::cerr << "lumcrest: " << message << std::endl;
    showError(app, message);
}

void HeadlessBackend::run(Application& app) {
    // Without input there is nothing to wait for: let the timers run until the program ends.
    while (!app.quitting() && app.nextDueTimer()) advance(app, 1000);
}

void HeadlessBackend::advance(Application& app, std::int64_t ms) {
    app.runTimersUntil(clockUs_ + ms * 1000, [this](std::int64_t t) { clockUs_ = t; });
}

std::vector<std::string> HeadlessBackend::takeErrors() {
    std::vector<std::string> out;
    out.swap(errors_);
    return out;
}

}  // namespace tk
