// The generator's audio building blocks: loop-aware mixing, envelopes that
// cannot click, filters, and effects whose tails wrap round a loop.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "lib/AudioBuffer.h"
#include "lib/Biquad.h"
#include "lib/Echo.h"
#include "lib/Envelope.h"
#include "lib/Oscillator.h"
#include "lib/Reverb.h"

using namespace assetgen;

namespace {

AudioBuffer ramp(size_t frames) {
    AudioBuffer b(frames);
    for (size_t i = 0; i < frames; ++i) {
        b.left[i] = float(i + 1);
        b.right[i] = -float(i + 1);
    }
    return b;
}

TEST(GeneratorAudio, MixWrapsRoundALoopOrDropsWhatFallsOutside) {
    const AudioBuffer four = ramp(4);  // 1 2 3 4
    AudioBuffer wrapped(10), before(10), clipped(10), clippedBefore(10);
    wrapped.mix(four, 8, 1.0f, true);
    before.mix(four, -2, 1.0f, true);
    clipped.mix(four, 8, 1.0f, false);
    clippedBefore.mix(four, -2, 2.0f, false);
    for (const AudioBuffer* b : {&wrapped, &before}) {
        EXPECT_EQ(b->left[8], 1.0f);
        EXPECT_EQ(b->left[9], 2.0f);
        EXPECT_EQ(b->left[0], 3.0f);
        EXPECT_EQ(b->right[1], -4.0f);
        EXPECT_EQ(b->left[2], 0.0f);
    }
    EXPECT_EQ(clipped.left[9], 2.0f);
    EXPECT_EQ(clipped.left[0], 0.0f);
    EXPECT_EQ(clippedBefore.left[0], 6.0f);
    EXPECT_EQ(clippedBefore.left[1], 8.0f);
    EXPECT_EQ(clippedBefore.left[2], 0.0f);

    // A note longer than the loop lays over itself, losing nothing.
    AudioBuffer loop(10);
    AudioBuffer ones(25);
    std::fill(ones.left.begin(), ones.left.end(), 1.0f);
    loop.mix(ones, 3, 1.0f, true);
    float sum = 0.0f;
    for (float s : loop.left) sum += s;
    EXPECT_EQ(sum, 25.0f);
    EXPECT_EQ(loop.left[3], 3.0f);
    EXPECT_EQ(loop.left[8], 2.0f);

    AudioBuffer empty;
    empty.mix(four, 0, 1.0f, true);  // nothing to land on
    empty.add(5, 1.0f, 1.0f, true);
    EXPECT_EQ(empty.frames(), 0u);
}

TEST(GeneratorAudio, RotateAndLevelsKeepTheSamples) {
    AudioBuffer b = ramp(5);
    b.rotate(2);
    EXPECT_EQ(b.left[0], 3.0f);
    EXPECT_EQ(b.left[4], 2.0f);
    EXPECT_EQ(b.right[2], -5.0f);
    EXPECT_FLOAT_EQ(b.peak(), 5.0f);
    b.normalize(0.5f);
    EXPECT_FLOAT_EQ(b.peak(), 0.5f);
    AudioBuffer silent(8);
    silent.normalize(1.0f);  // stays silent, no division by zero
    EXPECT_EQ(silent.peak(), 0.0f);
    EXPECT_EQ(silent.rms(), 0.0f);
}

TEST(GeneratorAudio, EnvelopeStartsAndEndsAtZeroWithoutJumps) {
    const Envelope env(0.01f, 0.2f, 0.6f, 0.3f);
    for (float gate : {0.5f, 0.004f}) {  // held, and let go during the attack
        SCOPED_TRACE(gate);
        EXPECT_EQ(env.level(0.0f, gate), 0.0f);
        EXPECT_EQ(env.level(env.length(gate), gate), 0.0f);
        EXPECT_EQ(env.level(env.length(gate) + 1.0f, gate), 0.0f);
        float previous = 0.0f, top = 0.0f, largestStep = 0.0f;
        for (int i = 1; i < int(env.length(gate) * kSampleRate) + 10; ++i) {
            const float v = env.level(float(i) / kSampleRate, gate);
            largestStep = std::max(largestStep, std::fabs(v - previous));
            top = std::max(top, v);
            previous = v;
        }
        EXPECT_LT(largestStep, 0.01f);
        EXPECT_LE(top, 1.0f);
    }
    EXPECT_NEAR(env.level(1.99f, 2.0f), 0.6f, 0.001f);  // settled on the sustain level
}

float steadyGain(Biquad filter, float hz) {
    Oscillator osc(hz);
    float peak = 0.0f;
    for (int i = 0; i < 8820; ++i) {
        const float y = filter.process(osc.sine());
        if (i >= 4410) peak = std::max(peak, std::fabs(y));
    }
    return peak;
}

TEST(GeneratorAudio, FiltersPassAndStopTheRightBands) {
    Biquad low, high, band;
    low.setLowpass(1000.0f);
    high.setHighpass(1000.0f);
    band.setBandpass(2000.0f, 2.0f);
    EXPECT_NEAR(steadyGain(low, 100.0f), 1.0f, 0.03f);
    EXPECT_LT(steadyGain(low, 8000.0f), 0.03f);
    EXPECT_NEAR(steadyGain(high, 8000.0f), 1.0f, 0.03f);
    EXPECT_LT(steadyGain(high, 100.0f), 0.03f);
    EXPECT_NEAR(steadyGain(band, 2000.0f), 1.0f, 0.03f);
    EXPECT_LT(steadyGain(band, 300.0f), 0.1f);
    Biquad wild;
    wild.setLowpass(40000.0f, 0.0f);  // beyond Nyquist, no Q: clamped, stays stable
    EXPECT_LT(steadyGain(wild, 1000.0f), 2.0f);
}

TEST(GeneratorAudio, BandLimitedSawStaysInRangeAndHasNoOffset) {
    Oscillator saw(3001.0f);
    double sum = 0.0;
    float peak = 0.0f;
    const int n = 44100;
    for (int i = 0; i < n; ++i) {
        const float v = saw.saw();
        sum += v;
        peak = std::max(peak, std::fabs(v));
    }
    EXPECT_LT(std::fabs(sum / n), 0.01);
    EXPECT_LT(peak, 1.1f);
    EXPECT_GT(peak, 0.8f);
}

// An effect applied to one turn of a loop must match the same loop after it
// has been playing for ever: here, the last of three turns run straight.
template <typename Effect>
void expectLoopsSeamlessly(Effect effect, const char* name) {
    SCOPED_TRACE(name);
    const size_t n = kSampleRate / 2;
    AudioBuffer loop(n);
    loop.left[n - 200] = 1.0f;  // a click just before the end
    loop.right[n / 3] = 0.5f;
    AudioBuffer three(3 * n);
    for (int k = 0; k < 3; ++k) three.mix(loop, long(k * n), 1.0f, false);
    AudioBuffer once = loop;
    effect.apply(once, 0.5f, true);
    effect.apply(three, 0.5f, false);
    float worst = 0.0f, startEnergy = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        worst = std::max(worst, std::fabs(once.left[i] - three.left[2 * n + i]));
        worst = std::max(worst, std::fabs(once.right[i] - three.right[2 * n + i]));
        if (i < n / 4) startEnergy += std::fabs(once.left[i]) + std::fabs(once.right[i]);
    }
    EXPECT_LT(worst, 1e-4f);
    EXPECT_GT(startEnergy, 1e-3f);  // the end's click rings on at the start

    AudioBuffer plain = loop;  // not a loop: nothing before the first sound
    effect.apply(plain, 0.5f, false);
    for (size_t i = 0; i < n / 3; ++i) ASSERT_EQ(plain.left[i], 0.0f) << i;
}

TEST(GeneratorAudio, ReverbAndEchoTailsWrapRoundALoop) {
    expectLoopsSeamlessly(Reverb(0.8f, 0.3f, 5000.0f), "reverb");
    expectLoopsSeamlessly(Echo(0.09f, 0.3f, 4000.0f), "echo");
}

}  // namespace
