#pragma once
// Colour as the player sees it: CIELAB, the CIEDE2000 difference, colour-blind
// vision and the contrast of two luminances.

#include <array>

namespace forge_test {

using Vec3 = std::array<double, 3>;
using Matrix = std::array<Vec3, 3>;

// An sRGB channel 0..255 as linear light 0..1.
double toLinear(double c);
// Linear RGB (0..1) as CIELAB under D65.
Vec3 lab(const Vec3& linearRgb);
// Relative luminance (0..1) of linear RGB.
double luminance(const Vec3& linearRgb);
// The contrast ratio of two colours, the larger luminance over the smaller, 1..21.
double contrast(const Vec3& a, const Vec3& b);

// The plain CIELAB distance (dE76) and CIEDE2000 between two linear RGB colours.
double deltaE76(const Vec3& a, const Vec3& b);
double deltaE2000(const Vec3& a, const Vec3& b);
// CIEDE2000 between two CIELAB colours.
double deltaE2000Lab(const Vec3& p, const Vec3& q);

// Colour-blind vision on linear RGB (Machado, Oliveira and Fernandes 2009, full severity).
extern const Matrix kNormalVision;
extern const Matrix kProtanopia;
extern const Matrix kDeuteranopia;
Vec3 seenBy(const Matrix& m, const Vec3& linearRgb);

}  // namespace forge_test
