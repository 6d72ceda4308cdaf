// Loudness as the ear weighs it (the K-weighting of broadcast loudness meters: a high shelf of
// about +4 dB above 1.7 kHz for the head, then a high-pass at 38 Hz for the ear), at any sample
// rate. The effects are balanced with it in assetgen, and the sound tests measure the game's
// output with it. Header-only, so both can use it.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace loudness {

// A biquad filter in direct form I.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double Next(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The K-weighting filter for one channel at the given rate.
struct KWeighting {
    Biquad shelf, highPass;
    explicit KWeighting(int rate) {
        const double pi = 3.14159265358979323846;
        const double gainDb = 3.999843853973347, q1 = 0.7071752369554196, f1 = 1681.974450955533;
        const double a = std::pow(10.0, gainDb / 40.0), w1 = 2 * pi * f1 / rate, alpha1 = std::sin(w1) / (2 * q1);
        const double c1 = std::cos(w1), sa = 2 * std::sqrt(a) * alpha1, n1 = (a + 1) - (a - 1) * c1 + sa;
        shelf.b0 = a * ((a + 1) + (a - 1) * c1 + sa) / n1;
        shelf.b1 = -2 * a * ((a - 1) + (a + 1) * c1) / n1;
        shelf.b2 = a * ((a + 1) + (a - 1) * c1 - sa) / n1;
        shelf.a1 = 2 * ((a - 1) - (a + 1) * c1) / n1;
        shelf.a2 = ((a + 1) - (a - 1) * c1 - sa) / n1;
        const double q2 = 0.5003270373238773, f2 = 38.13547087602444, w2 = 2 * pi * f2 / rate;
        const double alpha2 = std::sin(w2) / (2 * q2), c2 = std::cos(w2), n2 = 1 + alpha2;
        highPass.b0 = (1 + c2) / 2 / n2;
        highPass.b1 = -(1 + c2) / n2;
        highPass.b2 = (1 + c2) / 2 / n2;
        highPass.a1 = -2 * c2 / n2;
        highPass.a2 = (1 - alpha2) / n2;
    }
    double Next(double x) { return highPass.Next(shelf.Next(x)); }
};

// The squares of the K-weighted signal.
inline std::vector<double> WeightedSquares(const std::vector<double>& samples, int rate) {
    KWeighting k(rate);
    std::vector<double> squares(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const double v = k.Next(samples[i]);
        squares[i] = v * v;
    }
    return squares;
}

// The loudness of the loudest stretch of windowS seconds, in dB of full scale (a sound shorter
// than the window counts as its energy spread over the window: shorter is quieter).
inline double LoudestWindowDb(const std::vector<double>& samples, int rate, double windowS) {
    const std::vector<double> squares = WeightedSquares(samples, rate);
    const auto window = static_cast<size_t>(std::max(1.0, windowS * rate));
    double best = 1e-12, sum = 0.0;
    for (size_t i = 0; i < squares.size(); ++i) {
        sum += squares[i];
        if (i >= window) sum -= squares[i - window];
        best = std::max(best, sum / static_cast<double>(window));
    }
    return 10.0 * std::log10(best);
}

}  // namespace loudness
