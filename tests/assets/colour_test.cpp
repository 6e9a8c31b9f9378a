// The colour measures the picture tests stand on: CIEDE2000 against published
// pairs (Sharma, Wu and Dalal 2005), chosen where the formula's corrections for
// hue, greys and blues matter, and the contrast ratio's ends.

#include "tests/assets/colour.h"

#include <gtest/gtest.h>

namespace {

using forge_test::Vec3;

TEST(Colour, Ciede2000MatchesPublishedPairs) {
    const struct {
        Vec3 p, q;
        double expected;
    } pairs[] = {
        {{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},  // blue: the hue rotation
        {{50, 0, 0}, {50, -1, 2}, 2.3669},                    // near grey
        {{50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792},    // hue across the a axis
        {{50, 2.5, 0}, {73, 25, -18}, 27.1492},               // far apart
        {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
        {{22.7233, 20.0904, -46.694}, {23.0331, 14.973, -42.5619}, 2.0373},
    };
    for (const auto& pair : pairs) {
        EXPECT_NEAR(forge_test::deltaE2000Lab(pair.p, pair.q), pair.expected, 1e-4);
        EXPECT_NEAR(forge_test::deltaE2000Lab(pair.q, pair.p), pair.expected, 1e-4);
    }
}

TEST(Colour, ContrastRunsFromOneToTwentyOne) {
    const Vec3 black{0, 0, 0}, white{1, 1, 1};
    EXPECT_NEAR(forge_test::contrast(black, white), 21, 1e-9);
    EXPECT_NEAR(forge_test::contrast(white, black), 21, 1e-9);
    EXPECT_NEAR(forge_test::contrast(white, white), 1, 1e-9);
    // #800000 on black: the old blink red on a dark panel.
    const double red = forge_test::toLinear(128);
    EXPECT_NEAR(forge_test::contrast({red, 0, 0}, black), (0.2126 * red + 0.05) / 0.05, 1e-9);
}

}  // namespace
