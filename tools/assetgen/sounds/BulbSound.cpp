// "DyingLightBulb.mp3": the street lamp failing. A mains hum (50 Hz and its
// harmonics, the even ones strongest, as from a ballast) flickers with ever
// more frequent dropouts while the filament crackles, flares once, and goes
// out with a small pop followed by a fading fizz.

#include <algorithm>
#include <cmath>
#include <vector>

#include "lib/AudioBuffer.h"
#include "lib/Biquad.h"
#include "lib/Family.h"
#include "lib/Mp3.h"
#include "lib/Noise.h"
#include "lib/Reverb.h"
#include "sounds/SoundLengths.h"

namespace assetgen {

namespace {

constexpr float kTwoPi = 6.2831853f;
constexpr float kPopSeconds = 1.82f;
constexpr float kFlareSeconds = 0.07f;  // the bright surge just before the pop
constexpr float kFizzSeconds = 0.5f;

float seconds(size_t frame) {
    return float(frame) / kSampleRate;
}

// How strained the filament is: 0 at the start, 1 at the pop.
float strain(float t) {
    return std::clamp(t / kPopSeconds, 0.0f, 1.0f);
}

// The light's current over time (1 is steady): dropouts come faster and
// deeper as the end nears, then the flare, then nothing. Edges are smoothed
// over a few milliseconds so the hum fades rather than clicks.
std::vector<float> current(size_t n, Rng& rng, std::vector<float>& edges) {
    std::vector<float> target(n, 1.0f);
    float t = 0.22f;
    while (t < kPopSeconds - kFlareSeconds - 0.05f) {
        const float s = strain(t);
        const float length = rng.uniform(0.02f, 0.04f + 0.08f * s);
        const float depth = rng.uniform(0.6f, 0.8f + 0.2f * s);
        const size_t a = size_t(t * kSampleRate), b = size_t((t + length) * kSampleRate);
        for (size_t i = a; i < std::min(b, n); ++i) target[i] = 1.0f - depth;
        edges.push_back(t);
        edges.push_back(t + length);
        t += length + rng.uniform(0.5f, 1.5f) * (0.22f - 0.18f * s);
    }
    // Between the dropouts the light flutters, more nervously as it weakens.
    // The smoothed noise is scaled back to about unit spread.
    float flutter = 0.0f;
    const float flutterCoef = 1.0f - std::exp(-kTwoPi * 18.0f / kSampleRate);
    for (size_t i = 0; i < n; ++i) {
        flutter += flutterCoef * (rng.uniform(-1.0f, 1.0f) - flutter);
        const float depth = (0.1f + 0.5f * strain(seconds(i))) * std::fabs(40.0f * flutter);
        target[i] *= 1.0f - std::min(0.9f, depth);
    }
    for (size_t i = 0; i < n; ++i) {
        const float u = seconds(i);
        if (u >= kPopSeconds)
            target[i] = 0.0f;
        else if (u >= kPopSeconds - kFlareSeconds)
            target[i] = 1.35f;
    }
    std::vector<float> out(n);
    const float coef = 1.0f - std::exp(-1.0f / (0.004f * kSampleRate));
    float v = 0.0f;  // also fades the hum in at the start
    for (size_t i = 0; i < n; ++i) {
        v += coef * (target[i] - v);
        out[i] = v;
    }
    return out;
}

void addHum(AudioBuffer& out, const std::vector<float>& amp, Rng& rng) {
    static const float kHarmonics[12] = {0.45f, 1.0f,  0.35f, 0.55f, 0.15f, 0.3f,
                                         0.1f,  0.18f, 0.06f, 0.1f,  0.04f, 0.06f};
    float phase[12];
    for (float& p : phase) p = rng.uniform(0.0f, kTwoPi);
    Biquad buzzFilter;
    buzzFilter.setLowpass(2500.0f);
    for (size_t i = 0; i < out.frames(); ++i) {
        const float t = seconds(i);
        float hum = 0.0f;
        for (int k = 0; k < 12; ++k)
            hum += kHarmonics[k] * std::sin(kTwoPi * 50.0f * (k + 1) * t + phase[k]);
        // A loose part rattling at twice the mains frequency, worse with strain.
        const float rattle = std::tanh(5.0f * std::sin(kTwoPi * 100.0f * t + phase[1]));
        const float buzz = buzzFilter.process(rattle) * (0.05f + 0.3f * strain(t));
        const float v = 0.16f * amp[i] * (hum + buzz);
        out.left[i] += v;
        out.right[i] += v;
    }
}

// One crackle: a spark of band-limited noise lasting a few milliseconds.
void addCrackle(AudioBuffer& out, float t, float amp, Rng& rng) {
    Biquad band;
    band.setBandpass(rng.uniform(1800.0f, 7000.0f), 1.2f);
    const float length = rng.uniform(0.0004f, 0.003f);
    const PanGains g = panGains(rng.uniform(-0.3f, 0.3f));
    const long start = long(t * kSampleRate);
    const long frames = long(length * kSampleRate * 4.0f);
    for (long i = 0; i < frames; ++i) {
        const float decay = std::exp(-float(i) / (length * kSampleRate));
        const float v = amp * decay * band.process(rng.uniform(-1.0f, 1.0f)) * 2.5f;
        out.add(start + i, v * g.left, v * g.right);
    }
}

void addCrackles(AudioBuffer& out, const std::vector<float>& edges, Rng& rng) {
    for (float e : edges) {  // the arc restrikes where the light catches
        const int count = rng.range(1, 3);
        for (int c = 0; c < count; ++c)
            addCrackle(out, e + rng.uniform(-0.004f, 0.012f), rng.uniform(0.15f, 0.45f), rng);
    }
    float t = 0.1f;  // and sparks at random, more and more of them
    while (t < kPopSeconds) {
        const float rate = 3.0f + 40.0f * strain(t) * strain(t);
        t += -std::log(1.0f - rng.uniform()) / rate;
        if (t < kPopSeconds) addCrackle(out, t, rng.uniform(0.08f, 0.3f + 0.3f * strain(t)), rng);
    }
    t = kPopSeconds + 0.01f;  // the fizz spits as it dies
    while (t < kPopSeconds + kFizzSeconds) {
        const float left = 1.0f - (t - kPopSeconds) / kFizzSeconds;
        t += -std::log(1.0f - rng.uniform()) / (5.0f + 70.0f * left);
        addCrackle(out, t, rng.uniform(0.05f, 0.25f) * left, rng);
    }
}

void addPop(AudioBuffer& out, Rng& rng) {
    const long start = long(kPopSeconds * kSampleRate);
    double thumpPhase = 0.0;
    Biquad clickFilter;
    clickFilter.setHighpass(800.0f);
    for (long i = 0; i < long(0.25f * kSampleRate); ++i) {
        const float t = float(i) / kSampleRate;
        const float hz = 70.0f + 150.0f * std::exp(-t / 0.012f);
        thumpPhase += double(hz) / kSampleRate;
        const float thump = 0.6f * std::exp(-t / 0.03f) * float(std::sin(6.283185307 * thumpPhase));
        const float click = clickFilter.process(rng.uniform(-1.0f, 1.0f)) * std::exp(-t / 0.0012f);
        const float tink = 0.1f * std::exp(-t / 0.05f) *
                           (std::sin(kTwoPi * 3150.0f * t) + 0.6f * std::sin(kTwoPi * 4870.0f * t));
        const float v = thump * std::min(1.0f, t / 0.0005f) + 0.6f * click + tink;
        out.add(start + i, v, v * 0.95f);
    }
}

void addFizz(AudioBuffer& out, Rng& rng) {
    Biquad highL, highR;
    highL.setHighpass(2500.0f, 0.8f);
    highR.setHighpass(2500.0f, 0.8f);
    const long start = long(kPopSeconds * kSampleRate);
    float sizzle = 0.0f;
    for (long i = 0; i < long(kFizzSeconds * kSampleRate); ++i) {
        const float t = float(i) / kSampleRate;
        sizzle += 0.002f * (rng.uniform() - sizzle);  // slow random flutter
        const float amp =
            0.22f * std::exp(-t / 0.14f) * (0.4f + 1.2f * sizzle) * std::min(1.0f, t / 0.003f);
        out.add(start + i, amp * highL.process(rng.uniform(-1.0f, 1.0f)),
                amp * highR.process(rng.uniform(-1.0f, 1.0f)));
    }
}

AudioBuffer renderBulb() {
    Rng rng(0x62756c62ULL);
    AudioBuffer out(kBulbFrames);
    std::vector<float> edges;
    const std::vector<float> amp = current(out.frames(), rng, edges);
    addHum(out, amp, rng);
    addCrackles(out, edges, rng);
    addPop(out, rng);
    addFizz(out, rng);
    Reverb(0.45f, 0.5f, 6000.0f, 0.008f).apply(out, 0.2f, false);
    // The last 80 ms fade to true silence.
    const size_t fade = size_t(0.08f * kSampleRate);
    for (size_t k = 0; k < fade; ++k) {
        const float x = float(k + 1) / float(fade);
        const size_t i = out.frames() - fade + k;
        out.left[i] *= (1.0f - x) * (1.0f - x);
        out.right[i] *= (1.0f - x) * (1.0f - x);
    }
    // Several overlapping starts must stay clear of clipping when mixed.
    out.normalize(0.7f);
    return out;
}

}  // namespace

ASSETGEN_FAMILY(bulb) {
    writeMp3(renderBulb(), prepareFile(root / "sounds/DyingLightBulb.mp3"));
}

}  // namespace assetgen
