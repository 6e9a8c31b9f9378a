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
#include "assets/palette.h"
#include "tests/assets/colour.h"
#include "tests/assets/image_reader.h"

namespace {

namespace asset = lumcrest::asset;

using forge_test::contrast;
using forge_test::deltaE2000;
using forge_test::deltaE76;
using forge_test::Image;
using forge_test::lab;
using forge_test::luminance;
using forge_test::Matrix;
using forge_test::seenBy;
using forge_test::toLinear;
using forge_test::Vec3;

const std::string kEmbedded = std::string(LUMCREST_FORGE_DIR) + "/embedded/";

Vec3 linearAt(const Image& img, int x, int y) {
    const unsigned char* p = img.at(x, y);
    return {toLinear(p[0]), toLinear(p[1]), toLinear(p[2])};
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

// The colour of the body of Blockimage frame V: the median of each channel over the ball's
// disc, which leaves out the symbol, the highlight and the darkest shading.
Vec3 gemBody(const Image& img, int v) {
    Vec3 out{};
    for (int k = 0; k < 3; ++k) {
        std::vector<int> values;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                if ((x - 23.5) * (x - 23.5) + (y - 23.5) * (y - 23.5) <= 18 * 18)
                    values.push_back(img.at((v % 4) * 48 + x, (v / 4) * 48 + y)[k]);
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        out[k] = toLinear(values[values.size() / 2]);
    }
    return out;
}

// Mean linear colour of the whole 48 px tile of Blockimage frame V, gold rim and setting with it.
Vec3 tileMean(const Image& img, int v) {
    Vec3 sum{};
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const Vec3 c = linearAt(img, (v % 4) * 48 + x, (v / 4) * 48 + y);
            for (int k = 0; k < 3; ++k) sum[k] += c[k] / (48.0 * 48.0);
        }
    return sum;
}

// Kinds 1..9 all share a board from stage 4 on, and the bomb joins them.
constexpr int kSharing[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12};

// Every two kinds that share a board, told apart by colour: in CIELAB (dE76) and by CIEDE2000,
// which weighs differences as the eye does (two blues or two purples come out closer).
TEST(Gems, EveryTwoKindsDifferForEveryEye) {
    const Image img = forge_test::readPng(kEmbedded + asset::kGems.file);
    ASSERT_GT(img.width, 0);
    const struct {
        const char* name;
        const Matrix* m;
        double least76, least2000;
    } visions[] = {{"normal vision", &forge_test::kNormalVision, 20, 20},
                   {"protanopia", &forge_test::kProtanopia, 10, 10},
                   {"deuteranopia", &forge_test::kDeuteranopia, 10, 10}};
    // The whole ball as a glance takes it in, and its body without the symbol.
    const struct {
        const char* name;
        Vec3 (*colour)(const Image&, int);
    } measures[] = {{"ball", gemMean}, {"body", gemBody}};
    for (const auto& measure : measures)
        for (const auto& vision : visions) {
            double worst76 = 1e9, worst2000 = 1e9;
            int worstA = 0, worstB = 0;
            for (int a : kSharing)
                for (int b : kSharing) {
                    if (b <= a) continue;
                    const Vec3 p = seenBy(*vision.m, measure.colour(img, a)),
                               q = seenBy(*vision.m, measure.colour(img, b));
                    const double d76 = deltaE76(p, q), d2000 = deltaE2000(p, q);
                    const std::string pair = std::string(measure.name) + ", " + vision.name +
                                             ": kinds " + std::to_string(a) + " and " +
                                             std::to_string(b);
                    EXPECT_GE(d76, vision.least76) << pair;
                    EXPECT_GE(d2000, vision.least2000) << pair << " (CIEDE2000)";
                    worst76 = std::min(worst76, d76);
                    if (d2000 < worst2000) worst2000 = d2000, worstA = a, worstB = b;
                }
            std::printf(
                "  %s, %-13s closest pair %d/%d at CIEDE2000 %.1f (needs %.0f); least dE76 %.1f "
                "(needs %.0f)\n",
                measure.name, vision.name, worstA, worstB, worst2000, vision.least2000, worst76,
                vision.least76);
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

// Frame I of a 48 px list: its pixels by their distance from the cell's middle.
struct Frame48 {
    const Image& img;
    int x0, y0;
    Frame48(const Image& image, int i) : img(image), x0((i % 4) * 48), y0((i / 4) * 48) {}

    static double radius(int x, int y) { return std::hypot(x - 23.5, y - 23.5); }
    // Mean lightness (0..100) over black, the darkest well a cell can show through, of the
    // pixels from radius R0 up to R1.
    double lightnessOverBlack(double r0 = 0, double r1 = 99) const {
        double sum = 0;
        int n = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                if (radius(x, y) < r0 || radius(x, y) >= r1) continue;
                const unsigned char* p = img.at(x0 + x, y0 + y);
                const double a = p[3] / 255.0;
                sum += lab({toLinear(p[0]) * a, toLinear(p[1]) * a, toLinear(p[2]) * a})[0];
                ++n;
            }
        return n ? sum / n : 0;
    }
    // Mean alpha (0..255) of the ring from R to R + 1, or of its eighth K (0..7) going round.
    double ringAlpha(int r, int k = -1) const {
        double sum = 0;
        int n = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const double d = radius(x, y);
                if (d < r || d >= r + 1) continue;
                const double a = std::atan2(y - 23.5, x - 23.5) + M_PI;  // 0 .. 2 pi
                if (k >= 0 && std::min(7, static_cast<int>(a / (M_PI / 4))) != k) continue;
                sum += img.alpha(x0 + x, y0 + y);
                ++n;
            }
        return n ? sum / n : 0;
    }
    // How far the light reaches: the outermost ring whose mean alpha is a quarter or more of
    // the frame's most opaque ring.
    int reach() const {
        double most = 0;
        for (int k = 0; k < 24; ++k) most = std::max(most, ringAlpha(k));
        int r = 0;
        for (int k = 0; k < 24; ++k)
            if (ringAlpha(k) >= most / 4) r = k + 1;
        return r;
    }
    // The light the frame gives over black: its mean luminance, 0..100.
    double lightOverBlack() const {
        double sum = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const unsigned char* p = img.at(x0 + x, y0 + y);
                sum += luminance({toLinear(p[0]), toLinear(p[1]), toLinear(p[2])}) * p[3] / 255.0;
            }
        return 100 * sum / (48 * 48);
    }
    // The highest alpha in the corners: every pixel more than 26 px from the middle.
    int cornerAlpha() const {
        int most = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                if (radius(x, y) > 26) most = std::max(most, img.alpha(x0 + x, y0 + y));
        return most;
    }
};

// A burst is round and soft: a white-hot core flashes where the gem was, a ball of light grows
// from it to the cell's edge and fades, and nothing lights the corners, so a cleared group never
// reads as a grid of squares.
TEST(Explosions, ARoundBurstGrowsFromAFlashToTheEdgeAndFades) {
    const Image img = forge_test::readPng(kEmbedded + asset::kBursts.file);
    ASSERT_GT(img.width, 0);
    for (int s = 0; s < 3; ++s) {
        SCOPED_TRACE("style " + std::to_string(s));
        const int frames[] = {2 + 10 * s, 3 + 10 * s, 4 + 10 * s, 5 + 10 * s, 6 + 10 * s, 32 + s};
        std::vector<double> light;
        std::vector<int> reach;
        int corner = 0;
        for (int f : frames) {
            const Frame48 frame(img, f);
            light.push_back(frame.lightOverBlack());
            reach.push_back(frame.reach());
            corner = std::max(corner, frame.cornerAlpha());
        }
        const Frame48 flash(img, frames[0]);
        const double core = flash.lightnessOverBlack(0, 8), ball = flash.lightnessOverBlack(0, 20);
        const double secondCore = Frame48(img, frames[1]).lightnessOverBlack(0, 5);
        // Round: at the middle step, every eighth of the ring halfway out equally lit.
        const Frame48 middle(img, frames[2]);
        double leastEighth = 255, mostEighth = 0;
        for (int k = 0; k < 8; ++k) {
            double alpha = 0;
            for (int r = 10; r < 16; ++r) alpha += middle.ringAlpha(r, k) / 6;
            leastEighth = std::min(leastEighth, alpha);
            mostEighth = std::max(mostEighth, alpha);
        }
        std::printf(
            "  style %d: flash core L* %.0f, ball L* %.0f; light over black %.1f %.1f %.1f "
            "%.1f %.1f %.1f (wisp); reach %d %d %d %d %d px; corners' alpha at most %d; "
            "eighths of the ring %.0f..%.0f\n",
            s, core, ball, light[0], light[1], light[2], light[3], light[4], light[5], reach[1],
            reach[2], reach[3], reach[4], reach[5], corner, leastEighth, mostEighth);
        EXPECT_GT(core, 95) << "the flash has no white-hot core";
        EXPECT_GT(ball, 70) << "the flash is dim";
        EXPECT_GT(secondCore, 85) << "the core is gone after the flash";
        EXPECT_LE(corner, 8) << "a frame lights the cell's corners";
        EXPECT_GE(leastEighth, 0.8 * mostEighth) << "the burst is not round";
        for (std::size_t k = 1; k < light.size(); ++k)
            EXPECT_LT(light[k], light[k - 1]) << "step " << k << " does not fade";
        for (std::size_t k = 2; k < 5; ++k)
            EXPECT_GT(reach[k], reach[k - 1]) << "step " << k << " does not grow";
        EXPECT_LE(reach[1], 18) << "the burst starts at the cell's edge, not at the gem";
        EXPECT_GE(reach[4], 21) << "the burst stops short of the cell's edge";
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

// How far apart by CIEDE2000 the mean colours of any two stages' wells lie.
constexpr double kWellsApart = 15;

TEST(Stages, SixBackgroundsLookDifferentAndKeepTheGemsReadable) {
    std::vector<Image> bgs;
    std::vector<std::vector<Vec3>> thumbs;
    for (int b = 0; b < 6; ++b) {
        bgs.push_back(forge_test::readPng(kEmbedded + asset::kBackgrounds.file(b)));
        ASSERT_EQ(bgs.back().width, 850);
        thumbs.push_back(thumbnail(bgs.back()));
    }
    // The whole picture, the dark well (half of it) included; how the scenes differ where they
    // show is held more closely below (TheScenesAroundThePanelsLookDifferent).
    double least = 1;
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b) {
            double sum = 0;
            for (std::size_t i = 0; i < thumbs[a].size(); ++i)
                for (int c = 0; c < 3; ++c) sum += std::pow(thumbs[a][i][c] - thumbs[b][i][c], 2);
            const double rmse = std::sqrt(sum / (3.0 * thumbs[a].size()));
            std::printf("  bg%d/bg%d thumbnail RMSE %.3f\n", 101 + a, 101 + b, rmse);
            EXPECT_GE(rmse, 0.11) << "bg" << 101 + a << " and bg" << 101 + b << " look alike";
            least = std::min(least, rmse);
        }
    std::printf("  least thumbnail RMSE %.3f (needs 0.11)\n", least);

    // The well's mean colour against every gem kind's: apart in colour, and in light, the ball
    // or the whole gem with its gold rim a good step lighter or darker than the well.
    const Image gems = forge_test::readPng(kEmbedded + asset::kGems.file);
    ASSERT_GT(gems.width, 0);
    std::vector<Vec3> wells(6);
    for (int b = 0; b < 6; ++b) {
        Vec3& well = wells[b];
        for (int y = 40; y < 520; ++y)
            for (int x = 108; x < 588; ++x) {
                const Vec3 c = linearAt(bgs[b], x, y);
                for (int k = 0; k < 3; ++k) well[k] += c[k] / (480.0 * 480.0);
            }
        double closest = 1e9, leastRatio = 1e9;
        int closestKind = 0, dimmestKind = 0;
        for (int v : kSharing) {
            const double d = deltaE2000(well, gemMean(gems, v));
            const double ratio =
                std::max(contrast(well, gemMean(gems, v)), contrast(well, tileMean(gems, v)));
            if (d < closest) closest = d, closestKind = v;
            if (ratio < leastRatio) leastRatio = ratio, dimmestKind = v;
            EXPECT_GE(d, 20) << "kind " << v << " fades into the well of bg" << 101 + b;
            EXPECT_GE(ratio, 1.5) << "kind " << v << " is as light as the well of bg" << 101 + b;
        }
        const Vec3 l = lab(well);
        std::printf(
            "  bg%d well L*a*b* (%.0f, %.0f, %.0f): closest gem kind %d at CIEDE2000 %.1f "
            "(needs 20), least luminance ratio %.2f:1 for kind %d (needs 1.5)\n",
            101 + b, l[0], l[1], l[2], closestKind, closest, leastRatio, dimmestKind);
    }
    // Each stage's well has a tint of its own: a new stage is seen at once, even with the board
    // full of gems.
    double leastWells = 1e9;
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b) {
            const double d = deltaE2000(wells[a], wells[b]);
            EXPECT_GE(d, kWellsApart) << "the wells of bg" << 101 + a << " and bg" << 101 + b;
            leastWells = std::min(leastWells, d);
        }
    std::printf("  wells: least CIEDE2000 between two stages %.1f (needs %.0f)\n", leastWells,
                kWellsApart);
}

// Whether the play screen's pixel (x, y) shows the night scene: not under the well, the tube and
// its jar, or the right-hand panels and the MENU plinth.
bool sceneShows(int x, int y) {
    auto inside = [&](int x0, int y0, int x1, int y1) {
        return x >= x0 && x < x1 && y >= y0 && y < y1;
    };
    return !(inside(88, 26, 608, 542) || inside(0, 0, 110, 100) || inside(30, 40, 78, 487) ||
             inside(636, 36, 840, 146) || inside(636, 200, 840, 310) ||
             inside(636, 414, 840, 484) || inside(616, 478, 850, 589));
}

// What a player sees of each stage's night around the panels: the scenes stand apart in their
// colours and their shapes (RMSE of 10 x 10 blocks wholly in view), and so does their mean colour.
TEST(Stages, TheScenesAroundThePanelsLookDifferent) {
    constexpr int kBlock = 10;
    std::vector<std::vector<Vec3>> blocks(6);
    std::vector<Vec3> mean(6);
    for (int b = 0; b < 6; ++b) {
        const Image bg = forge_test::readPng(kEmbedded + asset::kBackgrounds.file(b));
        ASSERT_EQ(bg.width, 850);
        int seen = 0;
        for (int by = 0; by + kBlock <= bg.height; by += kBlock)
            for (int bx = 0; bx + kBlock <= bg.width; bx += kBlock) {
                bool whole = true;
                for (int y = by; y < by + kBlock; ++y)
                    for (int x = bx; x < bx + kBlock; ++x) whole = whole && sceneShows(x, y);
                if (!whole) continue;
                Vec3 sum{};
                for (int y = by; y < by + kBlock; ++y)
                    for (int x = bx; x < bx + kBlock; ++x)
                        for (int c = 0; c < 3; ++c) {
                            sum[c] += bg.at(x, y)[c] / 255.0 / (kBlock * kBlock);
                            mean[b][c] += toLinear(bg.at(x, y)[c]);
                        }
                blocks[b].push_back(sum);
                seen += kBlock * kBlock;
            }
        for (double& m : mean[b]) m /= seen;
    }
    double leastRmse = 1, leastDe = 1e9;
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b) {
            double sum = 0;
            for (std::size_t i = 0; i < blocks[a].size(); ++i)
                for (int c = 0; c < 3; ++c) sum += std::pow(blocks[a][i][c] - blocks[b][i][c], 2);
            const double rmse = std::sqrt(sum / (3.0 * blocks[a].size()));
            const double de = deltaE2000(mean[a], mean[b]);
            std::printf("  bg%d/bg%d around the panels: RMSE %.3f, mean colours CIEDE2000 %.1f\n",
                        101 + a, 101 + b, rmse, de);
            EXPECT_GE(rmse, 0.12) << "bg" << 101 + a << " and bg" << 101 + b << " look alike";
            EXPECT_GE(de, 12) << "bg" << 101 + a << " and bg" << 101 + b << " share a colour";
            leastRmse = std::min(leastRmse, rmse);
            leastDe = std::min(leastDe, de);
        }
    std::printf(
        "  around the panels (%zu blocks): least RMSE %.3f (needs 0.12), least CIEDE2000 "
        "%.1f (needs 12)\n",
        blocks[0].size(), leastRmse, leastDe);
}

// The newest high-score line blinks in red over the table's rows: readable against every row.
TEST(Panels, TheNewScoreRedStandsOutOfEveryRow) {
    const Image panel = forge_test::readJpeg(kEmbedded + asset::kScoresPanel.file);
    ASSERT_EQ(panel.width, asset::kScoresPanel.width);
    constexpr asset::Colour kRed = asset::kNewScoreBlink;
    const Vec3 red{toLinear(kRed.r), toLinear(kRed.g), toLinear(kRed.b)};
    double least = 21;
    for (int k = 0; k < 10; ++k) {
        // The row behind the line's words, from the number at x 66 to the score's end.
        const int top = 89 + 35 * k;
        double most = 0;
        for (int y = top; y < top + 18; ++y)
            for (int x = 66; x < 336; ++x) most = std::max(most, luminance(linearAt(panel, x, y)));
        const double ratio = contrast(red, {most, most, most});
        EXPECT_GE(ratio, 3) << "row " << k + 1;
        least = std::min(least, ratio);
    }
    std::printf(
        "  the new score's red against the lightest pixel of its row: at least %.1f:1 "
        "(needs 3)\n",
        least);
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

// The volume lights on the music and sound switches: large enough to count at a glance, a lit
// light plainly brighter than an unlit one, and the unlit one still drawn (a socket, not a gap).
TEST(Panels, TheVolumeLightsAreLargeAndPlainlyLitOrNot) {
    const Image lights = forge_test::readPng(kEmbedded + asset::kVolumeLights.file);
    ASSERT_EQ(lights.width, asset::kVolumeLights.width());
    const int w = asset::kVolumeLights.frameWidth, mid = asset::kVolumeLights.frameHeight / 2;
    double centre[2] = {0, 0};
    for (int s = 0; s < 2; ++s) {
        int across = 0;
        for (int x = 0; x < w; ++x) across += lights.alpha(s * w + x, mid) > 128;
        std::printf("  light %s: %d px across\n", s ? "lit" : "unlit", across);
        EXPECT_GE(across, 14) << (s ? "lit" : "unlit");
        centre[s] = forge_test::luminance(linearAt(lights, s * w + w / 2, mid + 1));
    }
    const double ratio = (centre[1] + 0.05) / (centre[0] + 0.05);
    std::printf("  lit over unlit luminance %.1f:1 (needs 4)\n", ratio);
    EXPECT_GE(ratio, 4);
}

// A lost game's cracks, held against the whole gem they break: hairlines (few pixels much darker
// than the gem at every stage, so the gems still show through), each with a light edge beside it
// (most dark pixels have a lighter one within two pixels: lighter than the gem, or near white on
// the palest gems), so they read as broken glass rather than strokes of a black pen; and every
// kind, the darkest too, shows its cracks by the last stage.
TEST(Gems, CracksAreHairlinesWithALightEdge) {
    const Image gems = forge_test::readPng(kEmbedded + asset::kGems.file);
    const Image cracks = forge_test::readPng(kEmbedded + asset::kCracks.file);
    ASSERT_GT(gems.width, 0);
    ASSERT_GT(cracks.width, 0);
    auto luma = [](const Image& img, int frame, int x, int y) {
        const unsigned char* p = img.at((frame % 4) * 48 + x, (frame / 4) * 48 + y);
        return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
    };
    for (int stage = 0; stage < 3; ++stage) {
        int mostDark = 0, leastShown = 48 * 48, allDark = 0, allBeside = 0;
        for (int kind = 1; kind <= 12; ++kind) {
            const int f = 3 * (kind - 1) + stage;
            std::vector<int> change(48 * 48);  // -1 much darker, 1 lighter
            int shown = 0;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x) {
                    const double now = luma(cracks, f, x, y), d = now - luma(gems, kind, x, y);
                    change[std::size_t(y * 48 + x)] =
                        d < -50 ? -1 : (d > 25 || (d > 5 && now > 225) ? 1 : 0);
                    shown += std::abs(d) > 30;
                }
            int dark = 0, beside = 0;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x) {
                    if (change[std::size_t(y * 48 + x)] != -1) continue;
                    ++dark;
                    bool lit = false;
                    for (int dy = -2; dy <= 2 && !lit; ++dy)
                        for (int dx = -2; dx <= 2 && !lit; ++dx) {
                            const int nx = x + dx, ny = y + dy;
                            lit = nx >= 0 && ny >= 0 && nx < 48 && ny < 48 &&
                                  change[std::size_t(ny * 48 + nx)] == 1;
                        }
                    beside += lit;
                }
            mostDark = std::max(mostDark, dark);
            leastShown = std::min(leastShown, shown);
            allDark += dark;
            allBeside += beside;
        }
        const double besideShare = double(allBeside) / std::max(1, allDark);
        std::printf(
            "  cracks, stage %d: at most %d dark pixels a gem, %.0f %% of them beside a "
            "light edge; at least %d pixels changed a gem\n",
            stage, mostDark, 100 * besideShare, leastShown);
        EXPECT_LE(mostDark, 170) << "stage " << stage << ": the cracks are thick strokes";
        EXPECT_GE(besideShare, 0.75) << "stage " << stage << ": the cracks have no light edge";
        if (stage == 2) {
            EXPECT_GE(leastShown, 40) << "a gem hardly shows its cracks";
        }
    }
}
