#include "lib/Oscillator.h"

#include <cmath>

#include "lib/AudioBuffer.h"

namespace assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Smooths a unit step at phase 0: t is the phase, dt the increment.
double blepCorrection(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

float midiToHz(float note) {
    return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

Oscillator::Oscillator(float hz, double startPhase) : phase(startPhase - std::floor(startPhase)) {
    setFrequency(hz);
}

void Oscillator::setFrequency(float hz) {
    increment = double(hz) / kSampleRate;
}

void Oscillator::advance() {
    phase += increment;
    if (phase >= 1.0) phase -= std::floor(phase);
}

float Oscillator::sine(float phaseShift) {
    const double v = std::sin(kTwoPi * phase + phaseShift);
    advance();
    return float(v);
}

float Oscillator::saw() {
    const double v = 2.0 * phase - 1.0 - blepCorrection(phase, increment);
    advance();
    return float(v);
}

float Oscillator::square() {
    double half = phase + 0.5;
    if (half >= 1.0) half -= 1.0;
    const double v = (phase < 0.5 ? 1.0 : -1.0) + blepCorrection(phase, increment) -
                     blepCorrection(half, increment);
    advance();
    return float(v);
}

float Oscillator::triangle() {
    const double v = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    advance();
    return float(v);
}

}  // namespace assetgen
