// Calm mode's promise, measured as a flash is judged: from the driver's screenshots, frame by
// frame at the timers' ticks, the fraction of the window whose lightness (CIE L*, 0..100) changed
// by more than 20 from one frame to the next. A change over more than a quarter of the window is
// a flash; calm mode allows no more than three in any second. The play: a chain that ends in the
// flash of every gem, a stage's end (the whole board's burst, then the new level's sky) and a lost
// game's cracks. Without calm mode the same play breaks the limit, which shows the measurement
// can tell.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "toolkit/image.h"

namespace {

namespace fs = std::filesystem;

constexpr double kLightnessStep = 20;  // a pixel changed when its L* moved by more than this
constexpr double kFlashArea = 0.25;    // a frame flashed when more of the window changed
constexpr int kFlashesPerSecond = 3;   // allowed in any second
constexpr int kTickMs = 5;             // shorter than every timer of the animations measured

// One stretch of play to measure: the settings file, the commands that set it up and start it,
// then SPANS of [from, to) milliseconds after the start in which every tick is shot. Between
// spans only small areas move (the jar, the level banner waiting), and no change is measured
// across a gap.
struct Play {
    const char* name;
    std::vector<std::string> settings;
    std::string setup;
    std::vector<std::pair<int, int>> spans;
};

// L* of every pixel of a frame.
std::vector<float> lightness(const tk::Image& image) {
    static const std::vector<float> table = [] {
        // L* by linear luminance, finely enough sampled for a 20-step threshold.
        std::vector<float> t(4097);
        for (int i = 0; i <= 4096; ++i) {
            const double y = i / 4096.0;
            t[i] = float(y > 216.0 / 24389 ? 116 * std::cbrt(y) - 16 : y * 24389 / 27);
        }
        return t;
    }();
    static const std::vector<double> linear = [] {
        std::vector<double> t(256);
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    std::vector<float> out;
    out.reserve(image.pixels().size());
    for (tk::Argb p : image.pixels()) {
        const double y = 0.2126 * linear[tk::redOf(p)] + 0.7152 * linear[tk::greenOf(p)] +
                         0.0722 * linear[tk::blueOf(p)];
        out.push_back(table[std::size_t(std::lround(y * 4096))]);
    }
    return out;
}

double changedFraction(const std::vector<float>& a, const std::vector<float>& b) {
    std::size_t changed = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::abs(a[i] - b[i]) > kLightnessStep) ++changed;
    return double(changed) / double(a.size());
}

struct Measure {
    int flashes = 0;         // frames that flashed
    int worstSecond = 0;     // most flashes in any second
    double largestArea = 0;  // the largest fraction changed between two frames
};

// Plays PLAY on the driver, calm or not, and measures every shot.
Measure measure(const Play& play, bool calm) {
    const fs::path dir = fs::temp_directory_path() /
                         ("lumcrest-calm-" + std::to_string(::getpid()) + "-" + play.name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    {
        std::ofstream ini(dir / "lumcrest.ini");
        ini << "[Settings]\nFirst=0\nSound=0\nMusic=0\nCalm=" << (calm ? 1 : 0) << "\n";
        for (const std::string& line : play.settings) ini << line << "\n";
    }
    std::ostringstream script;
    script << "start\n" << play.setup;
    std::vector<std::pair<int, std::string>> shots;  // time, file
    int now = 0;
    for (const auto& [from, to] : play.spans) {
        for (int t = from; t < to; t += kTickMs) {
            if (t > now) script << "wait " << t - now << "\n";
            now = t;
            const std::string file = (dir / ("f" + std::to_string(t) + ".png")).string();
            script << "shot " << file << "\n";
            shots.emplace_back(t, file);
        }
    }
    std::ofstream(dir / "script.txt") << script.str();
    const std::string cmd = std::string(LUMCREST_DRIVE) + " --home " + dir.string() +
                            " --seed 1 <" + (dir / "script.txt").string() + " >" +
                            (dir / "answers.txt").string() + " 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;

    Measure m;
    std::vector<int> flashTimes;
    std::vector<float> before;
    int last = -1;
    for (const auto& [t, file] : shots) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        const std::vector<float> now_ = lightness(tk::decodePng(bytes, file));
        // Consecutive shots only: no change is measured across a gap between spans.
        if (!before.empty() && t - last == kTickMs) {
            const double area = changedFraction(before, now_);
            m.largestArea = std::max(m.largestArea, area);
            if (area > kFlashArea) flashTimes.push_back(t);
        }
        before = now_;
        last = t;
    }
    m.flashes = int(flashTimes.size());
    for (std::size_t i = 0; i < flashTimes.size(); ++i) {
        const auto inSecond = std::count_if(flashTimes.begin(), flashTimes.end(), [&](int t) {
            return t > flashTimes[i] - 1000 && t <= flashTimes[i];
        });
        m.worstSecond = std::max(m.worstSecond, int(inSecond));
    }
    fs::remove_all(dir);
    return m;
}

// A full board of six kinds that makes no group of its own: kind (c + 2r) mod 6 + 1 differs from
// every neighbour, across, up and down and diagonally. Rows FROM..10 of every column.
std::string fullBoard(int from) {
    std::string s;
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r)
            s += "cell " + std::to_string(c) + " " + std::to_string(r) + " " +
                 std::to_string(r >= from ? (c + 2 * r) % 6 + 1 : 0) + "\n";
    return s;
}

std::vector<Play> plays() {
    std::vector<Play> list;
    // The last three gems of stage 1 complete a run under a full board: the jar, then the whole
    // board bursts from its middle outward, and two seconds later the new level's sky.
    {
        std::string setup;
        const int kinds[] = {1, 3, 4, 5, 6, 7, 8, 9};
        for (int c = 1; c <= 10; ++c) {
            const int lowest = c >= 4 && c <= 6 ? 6 : 3;
            for (int r = 2; r <= 10; ++r)
                setup += "cell " + std::to_string(c) + " " + std::to_string(r) + " " +
                         std::to_string(r >= lowest ? kinds[(3 * c + 2 * r) % 8] : 0) + "\n";
            setup += "cell " + std::to_string(c) + " 1 " +
                     std::to_string(c >= 4 && c <= 6 ? 2 : 0) + "\n";
        }
        setup += "set Shape1 2\nset Shape2 2\nset Shape3 2\nkey 38\n";
        list.push_back({"stage-end",
                        {"[Techinfo]", "Gemsleft=3", "Total=300", "[Nextgemshape]", "Nextshape1=1",
                         "Nextshape2=3", "Nextshape3=4"},
                        setup,
                        {{1400, 1800}, {3600, 3800}}});
    }
    // A lost game: the bar cannot leave the launch row under a full board; the cracks spread
    // row by row, then the menu comes back.
    list.push_back({"cracks", {}, fullBoard(2) + "key 38\n", {{0, 800}}});
    return list;
}

TEST(CalmMode, NoAnimationFlashesMoreThanThreeTimesASecond) {
    bool brokenWithoutCalm = false;
    for (const Play& play : plays()) {
        SCOPED_TRACE(play.name);
        const Measure calm = measure(play, true);
        const Measure plain = measure(play, false);
        std::printf(
            "%-10s calm: %d flashes, %d in the worst second, largest change %.2f; "
            "plain: %d flashes, %d in the worst second, largest change %.2f\n",
            play.name, calm.flashes, calm.worstSecond, calm.largestArea, plain.flashes,
            plain.worstSecond, plain.largestArea);
        EXPECT_LE(calm.worstSecond, kFlashesPerSecond);
        if (plain.worstSecond > kFlashesPerSecond) brokenWithoutCalm = true;
    }
    EXPECT_TRUE(brokenWithoutCalm) << "the plain game should break the limit somewhere";
}

}  // namespace
