// Calm mode's promise, measured from the driver's frames one by one at the timers'
// ticks: no animation changes the lightness of more than a quarter of the window by more than
// 20 % more than three times a second. A pixel changes when its lightness (CIE L*) moves by more
// than a fifth of the lighter of its two values (near black, by more than 2 of L*'s 100); at every
// frame, the pixels that changed more than three times in the second up to it must be a quarter
// of the window at most. The play: a chain under a full board that ends in the flash of every
// gem, a stage's end (the whole board's burst, then the new level's sky) and a lost game's cracks
// (then the menu); calm mode is never harsher than the plain game on the same play. That the
// measurement can tell is shown on the menu blinking over a game: four changes of the whole
// window within a second break the limit, three do not.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "toolkit/image.h"
#include "tools/lumcrest-drive/driver.h"

namespace {

namespace fs = std::filesystem;

constexpr float kChange = 0.2f;       // of the lighter value: a pixel's change of lightness
constexpr float kDarkest = 10;        // below this L*, changes count as from and to 10
constexpr double kMostArea = 0.25;    // of the window, that may change too often
constexpr int kChangesPerSecond = 3;  // allowed to every pixel

// One stretch of play to measure: the settings file, the commands that set it up and start it,
// then SPANS of [from, to) milliseconds after the start in which a shot is taken every TICK
// milliseconds (no longer than any animation's timer there). Between spans only small areas
// move (the bar's flight, the jar, the level banner waiting); a change across a gap is not
// counted.
struct Play {
    const char* name;
    std::vector<std::string> settings;
    std::string setup;
    int tick;
    std::vector<std::pair<int, int>> spans;
    // Commands given at time t, before its shot; none when empty.
    std::function<std::string(int t)> at = {};
};

// L* of every pixel of a frame.
std::vector<float> lightness(const tk::Image& image) {
    static const std::vector<float> table = [] {
        // L* by linear luminance, finely enough sampled for the steps measured.
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

// Every pixel's last changes, and the worst moment so far.
class ChangeCounter {
  public:
    // The frame of time T (ms) after the frame BEFORE.
    void add(int t, const std::vector<float>& before, const std::vector<float>& now) {
        if (last_.size() != now.size())
            last_.assign(now.size(), {-100000, -100000, -100000, -100000});
        std::size_t often = 0, changed = 0;
        for (std::size_t i = 0; i < now.size(); ++i) {
            auto& times = last_[i];  // the times of its last four changes, oldest first
            const float lighter = std::max({before[i], now[i], kDarkest});
            if (std::abs(now[i] - before[i]) > kChange * lighter) {
                times = {times[1], times[2], times[3], t};
                ++changed;
            }
            // Four changes within the second up to now: more than three.
            if (times[0] > t - 1000) ++often;
        }
        largestStep = std::max(largestStep, double(changed) / double(now.size()));
        const double area = double(often) / double(now.size());
        worstArea = std::max(worstArea, area);
    }
    double worstArea = 0;    // the largest part of the window that changed too often
    double largestStep = 0;  // the largest part that changed from one frame to the next

  private:
    std::vector<std::array<int, 4>> last_;
};

// Runs the lines of TEXT on DRIVER; each must be answered without an error.
void execute(lumcrest::Driver& driver, std::ostringstream& answers, const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto before = answers.str().size();
        driver.execute(line);
        const std::string said = answers.str().substr(before);
        EXPECT_EQ(said.rfind("error", 0), std::string::npos) << line << ": " << said;
    }
}

// Plays PLAY on the driver, calm or not, and measures every frame (the driver runs in this
// process, and its frames are measured as they are composed: no files between them).
ChangeCounter measure(const Play& play, bool calm) {
    // In the build's own folder: a run stopped halfway leaves nothing in /tmp, and the next run
    // starts from a clean folder.
    const fs::path dir = fs::path(LUMCREST_CALM_WORK) / play.name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    {
        std::ofstream ini(dir / "lumcrest.ini");
        ini << "[Settings]\nFirst=0\nSound=0\nMusic=0\nCalm=" << (calm ? 1 : 0) << "\n";
        for (const std::string& line : play.settings) ini << line << "\n";
    }
    lumcrest::DriverOptions options;
    options.home = dir.string();
    options.dataDir = LUMCREST_TEST_DATA_DIR;
    options.seed = 1;
    std::ostringstream answers;
    ChangeCounter counter;
    {
        lumcrest::Driver driver(options, answers);
        execute(driver, answers, "start\nshow overpanel 0\nshow Menupanel 0\n" + play.setup);
        std::vector<float> before;
        int now = 0, last = -1;
        for (const auto& [from, to] : play.spans)
            for (int t = from; t < to; t += play.tick) {
                if (t > now) execute(driver, answers, "wait " + std::to_string(t - now));
                now = t;
                if (play.at) execute(driver, answers, play.at(t));
                std::vector<float> frame = lightness(driver.frame());
                if (t - last == play.tick) counter.add(t, before, frame);
                before = std::move(frame);
                last = t;
            }
        driver.execute("close");
    }
    fs::remove_all(dir);
    return counter;
}

// Every cell of the board, row 1 the launch row, as KIND(c, r) gives it.
template <typename Kind>
std::string board(Kind kind) {
    std::string s;
    for (int c = 1; c <= 10; ++c)
        for (int r = 1; r <= 10; ++r)
            s += "cell " + std::to_string(c) + " " + std::to_string(r) + " " +
                 std::to_string(kind(c, r)) + "\n";
    return s;
}

std::vector<Play> plays() {
    std::vector<Play> list;
    // A chain under a full board: the bar completes three 1s, the 2s under them rise into three
    // 2s, and the gems that rise after them make a third group; at the chain's third step every
    // gem on the board flashes.
    list.push_back({"chain",
                    {},
                    "set Blocks 6\n" + board([](int c, int r) {
                        if (c == 1 && r == 5) return 2;
                        if ((c == 2 || c == 3) && (r == 4 || r == 5)) return r == 5 ? 1 : 2;
                        if (r == 1 || (c >= 4 && c <= 6 && r <= 5)) return 0;
                        return (c + 2 * r) % 6 + 1;
                    }) + "set Shape1 1\nset Shape2 3\nset Shape3 4\nkey 38\n",
                    10,
                    {{1750, 1960}}});
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
                        5,
                        {{1430, 1700}, {3630, 3680}}});
    }
    // A lost game: the bar cannot leave the launch row under a full board; the cracks spread
    // row by row, then the menu comes back.
    list.push_back(
        {"cracks",
         {},
         board([](int c, int r) { return r >= 2 ? (c + 2 * r) % 6 + 1 : 0; }) + "key 38\n",
         10,
         {{0, 640}}});
    return list;
}

TEST(CalmMode, NoAnimationChangesAQuarterOfTheWindowMoreThanThreeTimesASecond) {
    for (const Play& play : plays()) {
        SCOPED_TRACE(play.name);
        const ChangeCounter calm = measure(play, true);
        const ChangeCounter plain = measure(play, false);
        std::printf(
            "%-10s changed too often: %.3f of the window in calm mode, %.3f without; "
            "changed at once: %.3f in calm mode, %.3f without\n",
            play.name, calm.worstArea, plain.worstArea, calm.largestStep, plain.largestStep);
        EXPECT_LE(calm.worstArea, kMostArea);
        // Softened, never harsher.
        EXPECT_LE(calm.worstArea, plain.worstArea);
    }
}

TEST(CalmMode, TheMeasurementSeesAWholeWindowBlinking) {
    // The menu shown and hidden every 100 ms over a game: four changes of the whole window within
    // a second break the limit, three do not.
    auto blinking = [](int changes) {
        return [changes](int t) {
            const int i = t / 100;
            return i >= 1 && i <= changes ? "show Menupanel " + std::to_string(i % 2) + "\n"
                                          : std::string();
        };
    };
    const Play three{"blink3", {}, "", 100, {{0, 700}}, blinking(3)};
    const Play four{"blink4", {}, "", 100, {{0, 700}}, blinking(4)};
    EXPECT_LE(measure(three, false).worstArea, kMostArea);
    EXPECT_GT(measure(four, false).worstArea, kMostArea);
}

}  // namespace
