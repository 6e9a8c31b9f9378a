#include "assets/forge/loudness.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
};

// The two K-weighting stages, designed for any sample rate.
std::vector<double> kWeighted(const std::vector<double>& x, int rate) {
    const double pi = M_PI;
    Biquad shelf{}, cut{};
    {
        const double f0 = 1681.974450955533, gain = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(pi * f0 / rate);
        const double vh = std::pow(10.0, gain / 20.0), vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1.0 + k / q + k * k;
        shelf = {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0,
                 (vh - vb * k / q + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
                 (1.0 - k / q + k * k) / a0};
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(pi * f0 / rate);
        const double a0 = 1.0 + k / q + k * k;
        cut = {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    }
    std::vector<double> y(x);
    for (const Biquad& f : {shelf, cut}) {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (double& v : y) {
            const double in = v;
            const double out = f.b0 * in + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
            x2 = x1;
            x1 = in;
            y2 = y1;
            y1 = out;
            v = out;
        }
    }
    return y;
}

double toLufs(double meanSquare) {
    return meanSquare <= 0 ? -120.0 : -0.691 + 10.0 * std::log10(meanSquare);
}

// Summed channel mean squares of the 400 ms blocks ending every 100 ms, with
// PAD seconds of silence after the sound (and silence before it).
std::vector<double> blocks(const Channels& channels, int rate, double pad, bool fromStart) {
    const std::size_t hop = static_cast<std::size_t>(rate) / 10, window = hop * 4;
    std::size_t length = 0;
    for (const auto& c : channels) length = std::max(length, c.size());
    length += static_cast<std::size_t>(pad * rate);
    std::vector<double> out;
    std::vector<std::vector<double>> weighted;
    for (const auto& c : channels) {
        std::vector<double> padded(c);
        padded.resize(length, 0.0);
        weighted.push_back(kWeighted(padded, rate));
    }
    // Energy per 100 ms hop, then four hops make a block.
    std::vector<double> hops(length / hop, 0.0);
    for (const auto& w : weighted)
        for (std::size_t i = 0; i < hops.size() * hop; ++i) hops[i / hop] += w[i] * w[i];
    const std::size_t first = fromStart ? 0 : 3;
    for (std::size_t end = first; end < hops.size(); ++end) {
        double sum = 0;
        for (std::size_t k = 0; k < 4; ++k)
            if (end >= k) sum += hops[end - k];
        out.push_back(sum / static_cast<double>(window));
    }
    return out;
}

}  // namespace

double momentaryMaxLufs(const Channels& channels, int rate) {
    double best = 0;
    for (double e : blocks(channels, rate, 0.5, true)) best = std::max(best, e);
    return toLufs(best);
}

double integratedLufs(const Channels& channels, int rate) {
    const std::vector<double> all = blocks(channels, rate, 0.0, false);
    auto gatedMean = [&](double threshold) {
        double sum = 0;
        int n = 0;
        for (double e : all)
            if (toLufs(e) > threshold) {
                sum += e;
                ++n;
            }
        return n ? sum / n : 0.0;
    };
    const double absolute = gatedMean(-70.0);
    if (absolute <= 0) return -120.0;
    return toLufs(gatedMean(toLufs(absolute) - 10.0));
}

double truePeakDb(const Channels& channels) {
    // Four phases of a Hann-windowed sinc, 12 samples either side.
    constexpr int kPhases = 4, kHalf = 12;
    std::vector<std::vector<double>> taps(kPhases);
    for (int p = 0; p < kPhases; ++p)
        for (int k = -kHalf + 1; k <= kHalf; ++k) {
            const double x = k - static_cast<double>(p) / kPhases;
            const double sinc = x == 0 ? 1.0 : std::sin(M_PI * x) / (M_PI * x);
            const double w = 0.5 + 0.5 * std::cos(M_PI * x / kHalf);
            taps[static_cast<std::size_t>(p)].push_back(sinc * w);
        }
    double peak = 0;
    for (const auto& c : channels) {
        const long n = static_cast<long>(c.size());
        for (long i = 0; i < n; ++i) {
            peak = std::max(peak, std::fabs(c[static_cast<std::size_t>(i)]));
            for (std::size_t p = 1; p < taps.size(); ++p) {
                double v = 0;
                for (int k = -kHalf + 1; k <= kHalf; ++k) {
                    const long j = i + k;
                    if (j >= 0 && j < n)
                        v += c[static_cast<std::size_t>(j)] *
                             taps[p][static_cast<std::size_t>(k + kHalf - 1)];
                }
                peak = std::max(peak, std::fabs(v));
            }
        }
    }
    return peak > 0 ? 20 * std::log10(peak) : -200.0;
}

}  // namespace forge
