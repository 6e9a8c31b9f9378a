// The bursts over the field, measured on a black frame: how far a burst's light reaches and
// when, the white-hot core that calm mode leaves out, and that every effect leaves the frame as
// it found it once it is over.
#include "view/field_effects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "toolkit/canvas.h"
#include "toolkit/control.h"

namespace lumcrest::testing {
namespace {

constexpr int kSize = 400, kMid = 200;

int light(tk::Argb p) {
    return tk::redOf(p) + tk::greenOf(p) + tk::blueOf(p);
}

class Effects : public ::testing::Test {
  protected:
    // The effects composed over a frame of BACKGROUND (black unless given) after MS of their
    // clock.
    tk::Image frameAfter(int ms, tk::Argb background = tk::rgb(0, 0, 0)) {
        while (clock < ms) {
            effects.tick();
            clock += FieldEffects::kTickMs;
        }
        tk::Image frame(kSize, kSize, background);
        tk::Canvas canvas(frame, tk::Rect{0, 0, kSize, kSize});
        effects.paint(canvas);
        return frame;
    }
    // How far from the middle the light reaches in most of sixteen directions (the shards may
    // lie on a few of them), and in the farthest.
    static std::pair<int, int> reach(const tk::Image& frame, int threshold) {
        std::vector<int> out;
        for (int k = 0; k < 16; ++k) {
            const double a = k * std::numbers::pi / 8;
            int last = 0;
            for (int d = 0; d < kMid; ++d) {
                const int x = kMid + int(std::lround(d * std::cos(a)));
                const int y = kMid + int(std::lround(d * std::sin(a)));
                if (light(frame.pixel(x, y)) > threshold) last = d;
            }
            out.push_back(last);
        }
        std::sort(out.begin(), out.end());
        return {out[8], out.back()};
    }
    tk::Control root{nullptr, "root"};
    FieldEffects effects{&root};
    int clock = 0;
};

TEST_F(Effects, ABurstSpillsOverItsNeighboursThenFlingsShardsAndLeavesNothing) {
    effects.burst(kMid, kMid, tk::rgb(40, 120, 255), 0, false);
    // A white-hot core where the gem was, for the first frames.
    const tk::Image first = frameAfter(30);
    EXPECT_GE(tk::redOf(first.pixel(kMid, kMid)), 235);
    EXPECT_GE(tk::greenOf(first.pixel(kMid, kMid)), 235);
    // At its widest the glow is 96 to 128 px across: past the cell, short of a third cell.
    const auto [glow, far] = reach(frameAfter(180), 24);
    EXPECT_GE(glow, 44);
    EXPECT_LE(glow, 66);
    // Later the shards have flown one to two cells out, past the fading glow.
    const auto [late, shard] = reach(frameAfter(300), 24);
    EXPECT_GT(shard, late);
    EXPECT_GE(shard, 48);
    EXPECT_LE(shard, 2 * 48 + 20);
    (void)far;
    // About 400 ms in all, then the frame is as it was.
    const tk::Image after = frameAfter(FieldEffects::kBurstMs + FieldEffects::kTickMs);
    EXPECT_EQ(effects.count(), 0);
    EXPECT_FALSE(effects.running());
    for (tk::Argb p : after.pixels()) ASSERT_EQ(light(p), 0);
}

TEST_F(Effects, CalmModeKeepsTheBurstsShapeWithoutTheCoreOrTheFlash) {
    FieldEffects plain{&root};
    plain.burst(kMid, kMid, tk::rgb(255, 40, 40), 0, false);
    effects.burst(kMid, kMid, tk::rgb(255, 40, 40), 0, true);
    plain.tick();
    const tk::Image calm = frameAfter(30);
    tk::Image bright(kSize, kSize, tk::rgb(0, 0, 0));
    tk::Canvas canvas(bright, tk::Rect{0, 0, kSize, kSize});
    plain.paint(canvas);
    // No white in the middle, and far less light there than the plain burst's flash...
    EXPECT_LT(tk::greenOf(calm.pixel(kMid, kMid)), 200);
    EXPECT_LT(light(calm.pixel(kMid, kMid)), light(bright.pixel(kMid, kMid)));
    // ...but the same reach: the glow and shards fly as far.
    const auto [calmGlow, calmFar] = reach(frameAfter(180), 24);
    EXPECT_GE(calmGlow, 44);
    EXPECT_GE(calmFar, calmGlow);
}

TEST_F(Effects, ABurstWaitsForItsTurnAndTextRisesAndGoes) {
    effects.burst(kMid, kMid, tk::rgb(255, 255, 0), 90, false);
    EXPECT_EQ(light(frameAfter(30).pixel(kMid, kMid)), 0);
    EXPECT_GT(light(frameAfter(120).pixel(kMid, kMid)), 300);
    effects.risingFigure(kMid, kMid + 60, "+240");
    effects.mark("x2", kMid - 80, 40, 600);
    EXPECT_EQ(effects.count(), 3);
    const tk::Image shown = frameAfter(300);
    int lit = 0;
    for (int x = 0; x < kSize; ++x) lit += light(shown.pixel(x, kMid - 80)) > 0;
    EXPECT_GT(lit, 10);
    frameAfter(1500);
    EXPECT_EQ(effects.count(), 0);
}

// (The words stand in the middle of the well, right of this frame's middle.)
// A lost game's final score stands on a dark plate that hides the busy gems behind its words, and
// reaches only a little beyond them; a plain mark lets the board show between its letters.
TEST_F(Effects, AMarkOnAPlateDarkensTheBoardBehindItsWordsOnly) {
    // The share of the board (white here) left untouched around the words' middle line.
    auto boardShowing = [](bool plate, double& shareOutside) {
        tk::Control owner{nullptr, "owner"};
        FieldEffects marks(&owner);
        marks.mark("Final score: 1234", kMid, 44, 3000, plate);
        for (int ms = 0; ms < 600; ms += FieldEffects::kTickMs) marks.tick();
        tk::Image frame(kSize, kSize, tk::rgb(255, 255, 255));
        tk::Canvas canvas(frame, tk::Rect{0, 0, kSize, kSize});
        marks.paint(canvas);
        int board = 0, outside = 0;
        for (int y = kMid - 12; y <= kMid + 12; ++y)
            for (int x = kMid; x < kSize; ++x) board += light(frame.pixel(x, y)) == 765;
        for (int x = 0; x < kSize; ++x) outside += light(frame.pixel(x, kMid - 60)) < 700;
        shareOutside = double(outside) / kSize;
        return double(board) / (25 * (kSize - kMid));
    };
    double outsidePlain = 0, outsidePlate = 0;
    const double plain = boardShowing(false, outsidePlain);
    const double plated = boardShowing(true, outsidePlate);
    EXPECT_GT(plain, 0.1) << "the words alone cover the row";
    EXPECT_LT(plated, 0.01) << "the board shows between the words on their plate";
    EXPECT_EQ(outsidePlain, 0);
    EXPECT_EQ(outsidePlate, 0) << "the plate reaches far beyond the words";
}

// A lost game's well darkens to half its light and no further, only inside the well, and a new
// game brings the light back; the points rise inside the well's rim wherever the group was.
TEST_F(Effects, ALostGamesWellDimsToHalfAndPointsStayInsideTheRim) {
    auto grey = [&](int ms) { return frameAfter(ms, tk::rgb(200, 200, 200)); };
    effects.dimWell();
    EXPECT_GT(tk::redOf(grey(0).pixel(kMid, kMid)), 180) << "the well goes dark at once";
    const tk::Image dim = grey(FieldEffects::kDimMs + 300);
    EXPECT_NEAR(tk::redOf(dim.pixel(kMid, kMid)), 100, 3);
    EXPECT_EQ(tk::redOf(dim.pixel(50, 20)), 200) << "the dark spills out of the well";
    EXPECT_TRUE(effects.running());
    EXPECT_FALSE(effects.tick()) << "a steady dark keeps the timer running";
    effects.clear();
    EXPECT_EQ(tk::redOf(grey(clock).pixel(kMid, kMid)), 200);

    // A group in the top row: its figure would rise out over the rim.
    effects.risingFigure(kMid, 50, "+1200");
    for (int ms = 0; ms <= 600; ms += 150) {
        const tk::Image shown = frameAfter(clock + 150);
        int above = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < kSize; ++x) above += light(shown.pixel(x, y)) > 0;
        EXPECT_EQ(above, 0) << "at " << clock << " ms";
    }
}

// The lit rows of FRAME between columns X0 and X1, as bands of rows in a row: (first, last).
std::vector<std::pair<int, int>> litBands(const tk::Image& frame, int x0, int x1) {
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < frame.height(); ++y) {
        bool lit = false;
        for (int x = x0; x < x1 && !lit; ++x) lit = light(frame.pixel(x, y)) > 0;
        if (!lit) continue;
        if (!bands.empty() && bands.back().second == y - 1)
            bands.back().second = y;
        else
            bands.emplace_back(y, y);
    }
    return bands;
}

// A chain's next step sends its figure while the last one still rises from nearly the same
// place: the new, bigger one stands above it and the two never touch.
TEST_F(Effects, AChainsFiguresStepUpwardGrowAndNeverOverlap) {
    effects.risingFigure(kMid, kMid + 100, "+240");
    frameAfter(300);
    effects.risingFigure(kMid + 12, kMid + 90, "+160", 36);
    for (int ms = 330; ms < 960; ms += 90) {
        const auto bands = litBands(frameAfter(ms), 0, kSize);
        ASSERT_EQ(bands.size(), 2u) << "at " << ms << " ms";
        const int upper = bands[0].second - bands[0].first,
                  lower = bands[1].second - bands[1].first;
        // (Once it has popped in.)
        if (ms >= 450) {
            EXPECT_GT(upper, lower) << "the newer figure stands above and is bigger";
        }
    }
    // At the top of the well the next figure stands below; once the well is full, the older
    // figures give way.
    frameAfter(2000);
    effects.risingFigure(kMid, 40, "+100");
    effects.risingFigure(kMid, 40, "+200");
    EXPECT_EQ(effects.count(), 2);
    EXPECT_EQ(litBands(frameAfter(clock + 30), 0, kSize).size(), 2u);
    for (int k = 0; k < 6; ++k) effects.risingFigure(kMid, 40, "+300");
    EXPECT_GE(effects.count(), 4);
    EXPECT_LT(effects.count(), 8);
    const auto bands = litBands(frameAfter(clock + 150), 0, kSize);
    EXPECT_GE(bands.size(), 4u);
}

// A chain's count pops in from 0.6 of its size past 1.1 and settles at its size within a fifth
// of a second.
TEST_F(Effects, AMarkPopsInPastItsSizeAndSettles) {
    effects.mark("x2", kMid, 40, 1000);
    auto width = [&](int ms) {
        const tk::Image f = frameAfter(ms);
        int lo = kSize, hi = -1;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (light(f.pixel(x, y)) > 0) lo = std::min(lo, x), hi = std::max(hi, x);
        return double(hi - lo);
    };
    const double first = width(0), peak = width(FieldEffects::kPopMs * 3 / 5 - 6);
    const double settled = width(FieldEffects::kPopMs + 60);
    ASSERT_GT(settled, 40);
    EXPECT_NEAR(first / settled, 0.6, 0.08);
    EXPECT_NEAR(peak / settled, 1.1, 0.06);
    EXPECT_EQ(width(600), settled);
}

// A bomb shakes the well by two to three pixels for a fifth of a second, then it stands still;
// calm mode never shakes it.
TEST_F(Effects, ABombShakesTheWellBrieflyButNotInCalmMode) {
    effects.ring(kMid, kMid, true);
    EXPECT_EQ(effects.shakeOffset(), std::make_pair(0, 0));
    effects.clear();
    effects.ring(kMid, kMid, false);
    int moved = 0, ms = 0;
    for (; ms < 600; ms += FieldEffects::kTickMs) {
        const auto [dx, dy] = effects.shakeOffset();
        const int far = std::max(std::abs(dx), std::abs(dy));
        EXPECT_LE(far, 3);
        if (far == 0) break;
        EXPECT_GE(far, 1);
        moved += far >= 2;
        EXPECT_TRUE(effects.tick());
    }
    EXPECT_GE(moved, 4);
    EXPECT_NEAR(ms, FieldEffects::kShakeMs, 2 * FieldEffects::kTickMs);
    frameAfter(1000);
    EXPECT_EQ(effects.shakeOffset(), std::make_pair(0, 0));
    EXPECT_FALSE(effects.running());
}

// The last frame of a lost game lies over everything and fades out in kCurtainMs, then the top
// layer draws nothing and the clock stops.
TEST_F(Effects, TheCurtainFadesTheLastFrameOutOverTheNextScene) {
    TopLayer top(&root);
    effects.setTopLayer(&top);
    effects.curtainFrom(tk::Image(kSize, kSize, tk::rgb(255, 255, 255)));
    effects.clear();  // a new game behind it leaves the curtain alone
    auto shown = [&] {
        tk::Image frame(kSize, kSize, tk::rgb(0, 0, 0));
        tk::Canvas canvas(frame, tk::Rect{0, 0, kSize, kSize});
        top.paint(canvas);
        return light(frame.pixel(kMid, kMid));
    };
    EXPECT_EQ(shown(), 765);
    int last = 765, ms = 0;
    while (effects.tick()) {
        ms += FieldEffects::kTickMs;
        EXPECT_LE(shown(), last);
        last = shown();
    }
    EXPECT_NEAR(ms, FieldEffects::kCurtainMs, FieldEffects::kTickMs);
    EXPECT_EQ(shown(), 0);
    EXPECT_FALSE(effects.running());
}

}  // namespace
}  // namespace lumcrest::testing
