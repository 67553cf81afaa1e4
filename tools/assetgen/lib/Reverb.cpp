#include "lib/Reverb.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// Mutually unrelated lengths in milliseconds, so the echoes do not pile up.
constexpr float kLineMs[8] = {29.7f, 37.1f, 41.1f, 43.7f, 53.3f, 59.9f, 67.1f, 73.3f};
constexpr float kDiffuserMs[4] = {4.77f, 1.63f, 5.31f, 1.93f};
constexpr float kDiffuserGain = 0.6f;

size_t toFrames(float ms) {
    return std::max<size_t>(1, size_t(ms * 0.001f * kSampleRate));
}

}  // namespace

Reverb::Reverb(float size, float decaySeconds, float dampingHz, float preDelaySeconds) {
    for (int i = 0; i < kLines; ++i) {
        const size_t n = toFrames(kLineMs[i] * size);
        lines_[i].data.assign(n, 0.0f);
        // Each pass through a line of n frames loses 60 dB * n / decay.
        gain_[i] = std::pow(10.0f, -3.0f * float(n) / (decaySeconds * kSampleRate));
    }
    for (int i = 0; i < 4; ++i) diffusers_[i].data.assign(toFrames(kDiffuserMs[i]), 0.0f);
    preL_.data.assign(toFrames(preDelaySeconds * 1000.0f), 0.0f);
    preR_.data.assign(preL_.data.size(), 0.0f);
    dampCoef_ = 1.0f - std::exp(-2.0f * 3.14159265f * dampingHz / kSampleRate);
}

void Reverb::clear() {
    for (auto& l : lines_) std::fill(l.data.begin(), l.data.end(), 0.0f);
    for (auto& d : diffusers_) std::fill(d.data.begin(), d.data.end(), 0.0f);
    std::fill(preL_.data.begin(), preL_.data.end(), 0.0f);
    std::fill(preR_.data.begin(), preR_.data.end(), 0.0f);
    lowState_.fill(0.0f);
}

float Reverb::diffuse(Delay& line, float x) {
    const float delayed = line.read();
    const float v = x + kDiffuserGain * delayed;
    line.write(v);
    return delayed - kDiffuserGain * v;
}

void Reverb::step(float inL, float inR, float& outL, float& outR) {
    const float dl = preL_.read();
    const float dr = preR_.read();
    preL_.write(inL);
    preR_.write(inR);
    const float l = diffuse(diffusers_[1], diffuse(diffusers_[0], dl));
    const float r = diffuse(diffusers_[3], diffuse(diffusers_[2], dr));

    std::array<float, kLines> v;
    for (int i = 0; i < kLines; ++i) {
        lowState_[i] += dampCoef_ * (lines_[i].read() - lowState_[i]);
        v[i] = lowState_[i] * gain_[i];
    }
    outL = v[0] - v[2] + v[4] - v[6];
    outR = v[1] - v[3] + v[5] - v[7];

    // Fast Walsh-Hadamard transform, scaled to keep the energy.
    for (int h = 1; h < kLines; h *= 2)
        for (int i = 0; i < kLines; i += 2 * h)
            for (int j = i; j < i + h; ++j) {
                const float a = v[j], b = v[j + h];
                v[j] = a + b;
                v[j + h] = a - b;
            }
    const float norm = 0.35355339f;  // 1 / sqrt(8)
    for (int i = 0; i < kLines; ++i) lines_[i].write(v[i] * norm + ((i & 1) ? r : l));
}

void Reverb::apply(AudioBuffer& buffer, float wet, bool periodic) {
    clear();
    const size_t n = buffer.frames();
    float outL = 0.0f, outR = 0.0f;
    if (periodic)
        for (size_t i = 0; i < n; ++i) step(buffer.left[i], buffer.right[i], outL, outR);
    const float g = wet * 0.5f;
    for (size_t i = 0; i < n; ++i) {
        step(buffer.left[i], buffer.right[i], outL, outR);
        buffer.left[i] += g * outL;
        buffer.right[i] += g * outR;
    }
}

}  // namespace assetgen
