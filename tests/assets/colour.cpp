#include "tests/assets/colour.h"

#include <algorithm>
#include <cmath>

namespace forge_test {

const Matrix kNormalVision{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
const Matrix kProtanopia{{{0.152286, 1.052583, -0.204868},
                          {0.114503, 0.786281, 0.099216},
                          {-0.003882, -0.048116, 1.051998}}};
const Matrix kDeuteranopia{{{0.367322, 0.860646, -0.227968},
                            {0.280085, 0.672501, 0.047413},
                            {-0.011820, 0.042940, 0.968881}}};

double toLinear(double c) {
    c /= 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Vec3 lab(const Vec3& rgb) {
    const double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047;
    const double y = luminance(rgb);
    const double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double luminance(const Vec3& rgb) {
    return 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
}

double contrast(const Vec3& a, const Vec3& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double deltaE76(const Vec3& a, const Vec3& b) {
    const Vec3 p = lab(a), q = lab(b);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

double deltaE2000(const Vec3& a, const Vec3& b) {
    return deltaE2000Lab(lab(a), lab(b));
}

namespace {

constexpr double kDeg = M_PI / 180.0;

// The hue angle in degrees 0..360 of (a, b); 0 for a grey.
double hueAngle(double a, double b) {
    if (a == 0 && b == 0) return 0;
    const double h = std::atan2(b, a) / kDeg;
    return h < 0 ? h + 360 : h;
}

}  // namespace

// Sharma, Wu and Dalal (2005), with kL = kC = kH = 1.
double deltaE2000Lab(const Vec3& p, const Vec3& q) {
    const double c1 = std::hypot(p[1], p[2]), c2 = std::hypot(q[1], q[2]);
    const double cMean7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * p[1], a2 = (1 + g) * q[1];
    const double cp1 = std::hypot(a1, p[2]), cp2 = std::hypot(a2, q[2]);
    const double h1 = hueAngle(a1, p[2]), h2 = hueAngle(a2, q[2]);
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = h2 - h1;
        if (dh > 180) dh -= 360;
        if (dh < -180) dh += 360;
    }
    const double dL = q[0] - p[0], dC = cp2 - cp1;
    const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(dh / 2 * kDeg);
    const double lMean = (p[0] + q[0]) / 2, cpMean = (cp1 + cp2) / 2;
    double hMean = h1 + h2;
    if (cp1 * cp2 != 0) {
        if (std::fabs(h1 - h2) <= 180)
            hMean = (h1 + h2) / 2;
        else
            hMean = h1 + h2 < 360 ? (h1 + h2 + 360) / 2 : (h1 + h2 - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos((hMean - 30) * kDeg) + 0.24 * std::cos(2 * hMean * kDeg) +
                     0.32 * std::cos((3 * hMean + 6) * kDeg) -
                     0.20 * std::cos((4 * hMean - 63) * kDeg);
    const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double cp7 = std::pow(cpMean, 7);
    const double rc = 2 * std::sqrt(cp7 / (cp7 + std::pow(25.0, 7)));
    const double l50 = (lMean - 50) * (lMean - 50);
    const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sc = 1 + 0.045 * cpMean, sh = 1 + 0.015 * cpMean * t;
    const double rt = -std::sin(2 * dTheta * kDeg) * rc;
    const double l = dL / sl, c = dC / sc, h = dH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

Vec3 seenBy(const Matrix& m, const Vec3& c) {
    Vec3 out{};
    for (int i = 0; i < 3; ++i)
        out[i] = std::clamp(m[i][0] * c[0] + m[i][1] * c[1] + m[i][2] * c[2], 0.0, 1.0);
    return out;
}

}  // namespace forge_test
