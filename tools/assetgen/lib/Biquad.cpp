#include "lib/Biquad.h"

#include <algorithm>
#include <cmath>

#include "lib/AudioBuffer.h"

namespace assetgen {

namespace {

struct Angle {
    double cosw;
    double alpha;
};

// The cutoff is kept below Nyquist so the design stays stable.
Angle angleFor(float hz, float q) {
    const double f = std::clamp(double(hz), 1.0, 0.49 * kSampleRate);
    const double w = 2.0 * 3.141592653589793 * f / kSampleRate;
    return {std::cos(w), std::sin(w) / (2.0 * std::max(0.05, double(q)))};
}

}  // namespace

void Biquad::set(double b0, double b1, double b2, double a0, double a1, double a2) {
    b0_ = float(b0 / a0);
    b1_ = float(b1 / a0);
    b2_ = float(b2 / a0);
    a1_ = float(a1 / a0);
    a2_ = float(a2 / a0);
}

void Biquad::setLowpass(float hz, float q) {
    const Angle a = angleFor(hz, q);
    const double k = (1.0 - a.cosw) * 0.5;
    set(k, 2.0 * k, k, 1.0 + a.alpha, -2.0 * a.cosw, 1.0 - a.alpha);
}

void Biquad::setHighpass(float hz, float q) {
    const Angle a = angleFor(hz, q);
    const double k = (1.0 + a.cosw) * 0.5;
    set(k, -2.0 * k, k, 1.0 + a.alpha, -2.0 * a.cosw, 1.0 - a.alpha);
}

void Biquad::setBandpass(float hz, float q) {
    const Angle a = angleFor(hz, q);
    set(a.alpha, 0.0, -a.alpha, 1.0 + a.alpha, -2.0 * a.cosw, 1.0 - a.alpha);
}

}  // namespace assetgen
