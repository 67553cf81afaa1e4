#include "sounds/Instruments.h"

#include <algorithm>
#include <cmath>

#include "lib/Biquad.h"
#include "lib/Envelope.h"
#include "lib/Oscillator.h"

namespace assetgen {

namespace {

constexpr float kTwoPi = 6.2831853f;

size_t framesFor(float seconds) {
    return size_t(std::max(0.0f, seconds) * kSampleRate) + 1;
}

float centsToRatio(float cents) {
    return std::pow(2.0f, cents / 1200.0f);
}

}  // namespace

AudioBuffer electricPiano(float note, float seconds, float velocity, float pan, Rng& rng) {
    const float hz = midiToHz(note);
    // Lower strings ring longer; the strike is brighter when played harder.
    const float ring = 2.0f * std::pow(0.5f, (note - 60.0f) / 24.0f);
    const Envelope env(0.003f, ring, 0.0f, 0.45f);
    const float brightness = velocity * std::clamp(1.6f - (note - 60.0f) / 30.0f, 0.5f, 1.6f);
    const bool tineFits = hz * 14.0f < 15000.0f;
    const size_t n = framesFor(env.length(seconds));
    AudioBuffer out(n);
    Oscillator modulator(hz, rng.uniform());
    Oscillator carrierA(hz, rng.uniform());
    Oscillator carrierB(hz * centsToRatio(4.0f), rng.uniform());
    Oscillator tine(hz * 14.0f, 0.0);
    const PanGains g = panGains(pan);
    const float amp = std::pow(velocity, 1.5f);
    for (size_t i = 0; i < n; ++i) {
        const float t = float(i) / kSampleRate;
        const float index = brightness * (0.25f + 1.5f * std::exp(-t / 0.22f));
        const float m = modulator.sine() * index;
        const float a = carrierA.sine(m);
        const float b = carrierB.sine(m * 0.8f);
        float tone = 0.0f;
        if (tineFits) tone = 0.12f * velocity * std::exp(-t / 0.02f) * tine.sine();
        const float level = amp * env.level(t, seconds);
        out.left[i] = level * (0.65f * a + 0.35f * b + tone) * g.left;
        out.right[i] = level * (0.35f * a + 0.65f * b + tone) * g.right;
    }
    return out;
}

AudioBuffer padChord(const std::vector<int>& notes, float seconds, float lfoStart, float lfoHz,
                     Rng& rng) {
    const Envelope env(1.3f, 1.0f, 1.0f, 1.9f);
    const size_t n = framesFor(env.length(seconds));
    AudioBuffer out(n);
    if (notes.empty()) return out;
    // Two saws a side, detuned apart, so the chord breathes and spreads.
    static const float kCentsLeft[2] = {-7.0f, 3.0f};
    static const float kCentsRight[2] = {-3.0f, 7.0f};
    std::vector<Oscillator> left, right;
    for (int note : notes)
        for (int k = 0; k < 2; ++k) {
            left.emplace_back(midiToHz(float(note)) * centsToRatio(kCentsLeft[k]), rng.uniform());
            right.emplace_back(midiToHz(float(note)) * centsToRatio(kCentsRight[k]), rng.uniform());
        }
    Biquad lowL, lowR;
    const float scale = 0.5f / float(left.size());
    for (size_t i = 0; i < n; ++i) {
        const float t = float(i) / kSampleRate;
        if (i % 32 == 0) {
            const float wave = std::sin(kTwoPi * (lfoStart + lfoHz * t));
            const float cutoff = 1000.0f * (1.0f + 0.35f * wave);
            lowL.setLowpass(cutoff, 0.8f);
            lowR.setLowpass(cutoff, 0.8f);
        }
        float l = 0.0f, r = 0.0f;
        for (auto& o : left) l += o.saw();
        for (auto& o : right) r += o.saw();
        const float level = scale * env.level(t, seconds);
        out.left[i] = lowL.process(l) * level;
        out.right[i] = lowR.process(r) * level;
    }
    return out;
}

AudioBuffer bass(float note, float seconds, float velocity) {
    const float hz = midiToHz(note);
    const Envelope env(0.02f, 0.9f, 0.55f, 0.25f);
    const size_t n = framesFor(env.length(seconds));
    AudioBuffer out(n);
    Oscillator one(hz), two(hz * 2.0f), three(hz * 3.0f);
    Biquad low;
    low.setLowpass(700.0f);
    const float drive = 1.6f;
    const float norm = 1.0f / std::tanh(drive);
    for (size_t i = 0; i < n; ++i) {
        const float t = float(i) / kSampleRate;
        const float raw = one.sine() + 0.3f * two.sine() + 0.1f * three.sine();
        const float v = low.process(std::tanh(drive * 0.7f * raw) * norm);
        const float s = velocity * env.level(t, seconds) * v;
        out.left[i] = s;
        out.right[i] = s;
    }
    return out;
}

AudioBuffer pluck(float note, float velocity, float pan, Rng& rng) {
    const float seconds = 2.4f;
    const float fade = 0.4f;
    const size_t n = framesFor(seconds);
    const float period = kSampleRate / midiToHz(note);
    // The two-point average in the loop adds half a sample of delay.
    const float delay = period - 0.5f;
    const float loopGain = std::pow(10.0f, -3.0f * period / (1.8f * kSampleRate));
    std::vector<float> y(n, 0.0f);
    auto delayed = [&](long i, float d) {
        const float x = float(i) - d;
        if (x < 0.0f) return 0.0f;
        const long k = long(x);
        const float f = x - float(k);
        return y[size_t(k)] * (1.0f - f) + (k + 1 < i ? y[size_t(k + 1)] : 0.0f) * f;
    };
    const long burst = long(period);
    float soft = 0.0f;  // a softer pick: the burst is low-passed
    for (long i = 0; i < long(n); ++i) {
        float excite = 0.0f;
        if (i < burst) {
            soft += 0.3f * (rng.uniform(-1.0f, 1.0f) - soft);
            excite = soft * velocity;
        }
        y[size_t(i)] = excite + loopGain * 0.5f * (delayed(i, delay) + delayed(i, delay + 1.0f));
    }
    Biquad dc, mellow;
    dc.setHighpass(60.0f);
    mellow.setLowpass(3500.0f);
    const PanGains g = panGains(pan);
    AudioBuffer out(n);
    for (size_t i = 0; i < n; ++i) {
        const float t = float(i) / kSampleRate;
        float level = 1.0f;
        if (t > seconds - fade) {
            const float x = std::min(1.0f, (t - (seconds - fade)) / fade);
            level = (1.0f - x) * (1.0f - x);
        }
        const float v = mellow.process(dc.process(y[i])) * level;
        out.left[i] = v * g.left;
        out.right[i] = v * g.right;
    }
    return out;
}

AudioBuffer birdCall(float pan, Rng& rng) {
    const int syllables = rng.range(2, 5);
    const float syllableMax = 0.09f;
    const float gapMax = 0.12f;
    AudioBuffer out(framesFor(syllables * (syllableMax + gapMax)));
    const PanGains g = panGains(pan);
    long at = 0;
    const float f0 = rng.uniform(2800.0f, 4200.0f);
    for (int s = 0; s < syllables; ++s) {
        const float length = rng.uniform(0.045f, syllableMax);
        const float from = f0 * rng.uniform(0.9f, 1.1f);
        const float to = from * rng.uniform(0.7f, 1.4f);
        const float trillHz = rng.uniform(25.0f, 45.0f);
        const float amp = rng.uniform(0.5f, 1.0f);
        const long frames = long(length * kSampleRate);
        double phase = 0.0;
        for (long i = 0; i < frames && at + i < long(out.frames()); ++i) {
            const float x = float(i) / float(frames);
            const float t = float(i) / kSampleRate;
            const float hz = from + (to - from) * x + 150.0f * std::sin(kTwoPi * trillHz * t);
            phase += double(hz) / kSampleRate;
            const float shape = std::sin(3.14159265f * x);
            const float v = amp * shape * shape * float(std::sin(6.283185307179586 * phase));
            out.left[size_t(at + i)] += v * g.left;
            out.right[size_t(at + i)] += v * g.right;
        }
        at += frames + long(rng.uniform(0.06f, gapMax) * kSampleRate);
    }
    return out;
}

}  // namespace assetgen
