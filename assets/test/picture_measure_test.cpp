// Measures what a player sees: how far apart the gem kinds lie in colour for
// normal and colour-blind eyes, how bold their symbols are, how explosions
// light up their cell, how different the six stages look, and whether the
// jar stays inside its frames. Every figure is printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/catalogue.h"
#include "assets/test/image_reader.h"

namespace {

namespace asset = lumcrest::asset;

using forge_test::Image;
using Vec3 = std::array<double, 3>;

const std::string kEmbedded = std::string(LUMCREST_FORGE_DIR) + "/embedded/";

double toLinear(double c) {
    c /= 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Vec3 linearAt(const Image& img, int x, int y) {
    const unsigned char* p = img.at(x, y);
    return {toLinear(p[0]), toLinear(p[1]), toLinear(p[2])};
}

Vec3 lab(const Vec3& rgb) {
    const double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047;
    const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
    const double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double deltaE(const Vec3& a, const Vec3& b) {
    const Vec3 p = lab(a), q = lab(b);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

// Colour-blind vision simulated on linear RGB (Machado, Oliveira and
// Fernandes 2009, full severity).
using Matrix = std::array<Vec3, 3>;
constexpr Matrix kNormal{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix kProtanopia{{{0.152286, 1.052583, -0.204868},
                              {0.114503, 0.786281, 0.099216},
                              {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia{{{0.367322, 0.860646, -0.227968},
                                {0.280085, 0.672501, 0.047413},
                                {-0.011820, 0.042940, 0.968881}}};

Vec3 seenBy(const Matrix& m, const Vec3& c) {
    Vec3 out{};
    for (int i = 0; i < 3; ++i)
        out[i] = std::clamp(m[i][0] * c[0] + m[i][1] * c[1] + m[i][2] * c[2], 0.0, 1.0);
    return out;
}

// Mean linear colour of the ball of Blockimage frame V: the disc of radius 18
// around the cell's middle.
Vec3 gemMean(const Image& img, int v) {
    Vec3 sum{};
    int n = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            if ((x - 23.5) * (x - 23.5) + (y - 23.5) * (y - 23.5) <= 18 * 18) {
                const Vec3 c = linearAt(img, (v % 4) * 48 + x, (v / 4) * 48 + y);
                for (int k = 0; k < 3; ++k) sum[k] += c[k];
                ++n;
            }
    for (double& s : sum) s /= n;
    return sum;
}

// Kinds 1..9 all share a board from stage 4 on, and the bomb joins them.
constexpr int kSharing[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12};

TEST(Gems, EveryTwoKindsDifferForEveryEye) {
    const Image img = forge_test::readPng(kEmbedded + asset::kGems.file);
    ASSERT_GT(img.width, 0);
    const struct {
        const char* name;
        const Matrix* m;
        double least;
    } visions[] = {{"normal vision", &kNormal, 20},
                   {"protanopia", &kProtanopia, 10},
                   {"deuteranopia", &kDeuteranopia, 10}};
    for (const auto& vision : visions) {
        double worst = 1e9;
        int worstA = 0, worstB = 0;
        for (int a : kSharing)
            for (int b : kSharing) {
                if (b <= a) continue;
                const double d =
                    deltaE(seenBy(*vision.m, gemMean(img, a)), seenBy(*vision.m, gemMean(img, b)));
                EXPECT_GE(d, vision.least) << vision.name << ": kinds " << a << " and " << b;
                if (d < worst) worst = d, worstA = a, worstB = b;
            }
        std::printf("  %-13s closest pair %d/%d at dE %.1f (needs %.0f)\n", vision.name, worstA,
                    worstB, worst, vision.least);
    }
}

// Lightness (0..100) of a pixel.
double lightness(const Image& img, int x, int y) {
    return lab(linearAt(img, x, y))[0];
}

TEST(Gems, EveryKindCarriesABoldSymbolAndTheBombIsDarkAndRound) {
    const Image img = forge_test::readPng(kEmbedded + asset::kGems.file);
    ASSERT_GT(img.width, 0);
    for (int v = 1; v <= 9; ++v) {
        const int x0 = (v % 4) * 48, y0 = (v / 4) * 48;
        // The symbol: pixels of the middle far from the ball's own median lightness.
        std::vector<double> ls;
        for (int y = 8; y < 40; ++y)
            for (int x = 8; x < 40; ++x) ls.push_back(lightness(img, x0 + x, y0 + y));
        std::vector<double> sorted = ls;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        const double median = sorted[sorted.size() / 2];
        auto ink = [&](int x, int y) {
            return x >= 8 && x < 40 && y >= 8 && y < 40 &&
                   std::fabs(ls[(y - 8) * 32 + (x - 8)] - median) > 22;
        };
        // Strokes of 3 px or more survive shaving a pixel off every side.
        int left = 48, right = -1, core = 0;
        for (int y = 9; y < 39; ++y)
            for (int x = 9; x < 39; ++x) {
                bool solid = true;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) solid = solid && ink(x + dx, y + dy);
                if (!solid) continue;
                ++core;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        const int span = core ? right - left + 3 : 0;  // the shaved pixels back on both sides
        std::printf("  kind %d: symbol %d px wide in strokes of 3 px or more (%d core pixels)\n", v,
                    span, core);
        EXPECT_GE(span, 24) << "kind " << v << " has no bold symbol half the gem wide";
        EXPECT_GE(core, 40) << "kind " << v;
    }
    // The bomb: dark in the middle, round, and a bright spark at its fuse.
    const int bx = 0, by = 3 * 48;  // frame 12
    double mid = 0;
    for (int y = 16; y < 36; ++y)
        for (int x = 12; x < 32; ++x) mid += lightness(img, bx + x, by + y) / 400;
    const double lightnessOfBomb = lab(gemMean(img, 12))[0];
    std::printf("  bomb: mean lightness %.1f, middle %.1f\n", lightnessOfBomb, mid);
    EXPECT_LT(lightnessOfBomb, 35);
    double spark = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 34; x < 46; ++x) spark = std::max(spark, lightness(img, bx + x, by + y));
    EXPECT_GT(spark, 85) << "no lit fuse";
}

// Mean lightness (0..100) of frame I of a 48 px list laid over black: the
// darkest well a cell can show through.
double frameLightnessOverBlack(const Image& img, int i) {
    const int x0 = (i % 4) * 48, y0 = (i / 4) * 48;
    double sum = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const unsigned char* p = img.at(x0 + x, y0 + y);
            const double a = p[3] / 255.0;
            const Vec3 c{toLinear(p[0]) * a, toLinear(p[1]) * a, toLinear(p[2]) * a};
            sum += lab(c)[0];
        }
    return sum / (48 * 48);
}

TEST(Explosions, FlashThenBurstToTheEdgesAndFade) {
    const Image img = forge_test::readPng(kEmbedded + asset::kBursts.file);
    ASSERT_GT(img.width, 0);
    for (int s = 0; s < 3; ++s) {
        SCOPED_TRACE("style " + std::to_string(s));
        const int frames[] = {2 + 10 * s, 3 + 10 * s, 4 + 10 * s, 5 + 10 * s, 6 + 10 * s, 32 + s};
        std::vector<double> light;
        for (int f : frames) light.push_back(frameLightnessOverBlack(img, f));
        // The burst's first step reaches the cell's outermost pixels all round.
        const int x0 = (frames[1] % 4) * 48, y0 = (frames[1] / 4) * 48;
        int edge = 0, lit = 0;
        for (int k = 0; k < 48; ++k)
            for (const auto& [x, y] :
                 {std::pair{k, 0}, std::pair{k, 47}, std::pair{0, k}, std::pair{47, k}}) {
                ++edge;
                lit += img.alpha(x0 + x, y0 + y) > 100;
            }
        std::printf(
            "  style %d: lightness over black %.0f (flash) %.0f %.0f %.0f %.0f %.0f (wisp); "
            "%d%% of the border lit after the flash\n",
            s, light[0], light[1], light[2], light[3], light[4], light[5], lit * 100 / edge);
        EXPECT_GT(light[0], 70) << "the flash is dim";
        for (std::size_t k = 1; k < light.size(); ++k)
            EXPECT_LT(light[k], light[k - 1]) << "step " << k << " does not fade";
        EXPECT_GE(lit * 100, 95 * edge) << "the burst stays inside the cell";
        EXPECT_GT(light[1], 45) << "the burst reads as a hole";
    }
}

// A background shrunk to 85 x 59 by averaging blocks of pixels, sRGB 0..1.
std::vector<Vec3> thumbnail(const Image& img) {
    constexpr int kTw = 85, kTh = 59;
    std::vector<Vec3> out;
    for (int ty = 0; ty < kTh; ++ty)
        for (int tx = 0; tx < kTw; ++tx) {
            const int x0 = tx * img.width / kTw, x1 = (tx + 1) * img.width / kTw;
            const int y0 = ty * img.height / kTh, y1 = (ty + 1) * img.height / kTh;
            Vec3 sum{};
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    for (int c = 0; c < 3; ++c) sum[c] += img.at(x, y)[c] / 255.0;
            for (double& v : sum) v /= (x1 - x0) * (y1 - y0);
            out.push_back(sum);
        }
    return out;
}

TEST(Stages, SixBackgroundsLookDifferentAndKeepTheGemsReadable) {
    std::vector<Image> bgs;
    std::vector<std::vector<Vec3>> thumbs;
    for (int b = 0; b < 6; ++b) {
        bgs.push_back(forge_test::readPng(kEmbedded + asset::kBackgrounds.file(b)));
        ASSERT_EQ(bgs.back().width, 850);
        thumbs.push_back(thumbnail(bgs.back()));
    }
    double least = 1;
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b) {
            double sum = 0;
            for (std::size_t i = 0; i < thumbs[a].size(); ++i)
                for (int c = 0; c < 3; ++c) sum += std::pow(thumbs[a][i][c] - thumbs[b][i][c], 2);
            const double rmse = std::sqrt(sum / (3.0 * thumbs[a].size()));
            std::printf("  bg%d/bg%d thumbnail RMSE %.3f\n", 101 + a, 101 + b, rmse);
            EXPECT_GE(rmse, 0.12) << "bg" << 101 + a << " and bg" << 101 + b << " look alike";
            least = std::min(least, rmse);
        }
    std::printf("  least thumbnail RMSE %.3f (needs 0.12)\n", least);

    // The well's mean colour against every gem kind's.
    const Image gems = forge_test::readPng(kEmbedded + asset::kGems.file);
    ASSERT_GT(gems.width, 0);
    for (int b = 0; b < 6; ++b) {
        Vec3 well{};
        for (int y = 40; y < 520; ++y)
            for (int x = 108; x < 588; ++x) {
                const Vec3 c = linearAt(bgs[b], x, y);
                for (int k = 0; k < 3; ++k) well[k] += c[k] / (480.0 * 480.0);
            }
        double closest = 1e9;
        int closestKind = 0;
        for (int v : kSharing) {
            const double d = deltaE(well, gemMean(gems, v));
            if (d < closest) closest = d, closestKind = v;
            EXPECT_GE(d, 20) << "kind " << v << " fades into the well of bg" << 101 + b;
        }
        const Vec3 l = lab(well);
        std::printf("  bg%d well L*a*b* (%.0f, %.0f, %.0f), closest gem kind %d at dE %.1f\n",
                    101 + b, l[0], l[1], l[2], closestKind, closest);
    }
}

bool gold(const Image& img, int x, int y) {
    const unsigned char* p = img.at(x, y);
    return p[0] >= 135 && p[1] >= 90 && p[0] - p[2] >= 70 && p[0] >= p[1];
}

TEST(Panels, StandInOneColumnAboveTheBottomEdge) {
    // Rows through the NEXT, SCORE, level and MENU panels, clear of their titles.
    const int rows[] = {100, 280, 449, 550};
    int columnLeft = -1, columnRight = -1;
    for (int b = 0; b < 6; ++b) {
        const Image bg = forge_test::readPng(kEmbedded + asset::kBackgrounds.file(b));
        ASSERT_EQ(bg.width, 850);
        for (int y : rows) {
            int left = -1, right = -1;
            for (int x = 632; x < 850; ++x)
                if (gold(bg, x, y)) {
                    if (left < 0) left = x;
                    right = x;
                }
            if (columnLeft < 0) columnLeft = left, columnRight = right;
            EXPECT_NEAR(left, columnLeft, 1) << "bg" << 101 + b << " row " << y;
            EXPECT_NEAR(right, columnRight, 1) << "bg" << 101 + b << " row " << y;
        }
        int lowest = -1;
        for (int y = 587; y > 500 && lowest < 0; --y)
            if (gold(bg, 650, y)) lowest = y;
        const int margin = 587 - lowest;
        if (b == 0)
            std::printf(
                "  panels' frames from x %d to %d, the lowest %d px above the bottom edge\n",
                columnLeft, columnRight, margin);
        EXPECT_GE(margin, 5) << "the MENU panel runs off the window in bg" << 101 + b;
    }
    // Around everything the game draws there: preview gems 657..801, MENU 664..799.
    EXPECT_LT(columnLeft, 657);
    EXPECT_GT(columnRight, 801);
    EXPECT_LT(columnRight, 849);
}

TEST(Jar, BeamAndStarsStayInsideTheFrames) {
    const Image img = forge_test::readPng(kEmbedded + asset::kJar.file);
    ASSERT_GT(img.width, 0);
    int framesTouching = 0, highest = 0;
    for (int f = 0; f < 28; ++f) {
        const int x0 = (f % 4) * 100, y0 = (f / 4) * 100;
        int touching = 0;
        for (int k = 0; k < 100; ++k)
            for (const auto& [x, y] :
                 {std::pair{k, 0}, std::pair{k, 99}, std::pair{0, k}, std::pair{99, k}}) {
                const int a = img.alpha(x0 + x, y0 + y);
                touching += a != 0;
                highest = std::max(highest, a);
            }
        framesTouching += touching > 0;
        EXPECT_EQ(touching, 0) << "frame " << f << " is cut at its edge";
    }
    std::printf("  jar: %d of 28 frames touch their edge (highest alpha there %d)\n",
                framesTouching, highest);
}

}  // namespace
