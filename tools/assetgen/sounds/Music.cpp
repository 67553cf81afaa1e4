// The background music, "dontYou.mp3": a calm morning piece in D major for
// electric piano, string pad, bass and a plucked arpeggio, over the lapping of
// the lake and a few birds. It is one loop of 16 bars. Every note and effect
// is rendered with wrap-around onto the loop, and the reverb and echo run
// over it twice, so whatever rings past the end sounds again at the start:
// the program loops the file and the seam cannot be heard.

#include <cmath>
#include <vector>

#include "lib/AudioBuffer.h"
#include "lib/Biquad.h"
#include "lib/Echo.h"
#include "lib/Family.h"
#include "lib/Mp3.h"
#include "lib/Noise.h"
#include "lib/Reverb.h"
#include "sounds/Instruments.h"
#include "sounds/SoundLengths.h"

namespace assetgen {

namespace {

constexpr float kTwoPi = 6.2831853f;
constexpr float kBeatSeconds = float(kMusicFramesPerBeat) / kSampleRate;
constexpr float kEighthSeconds = kBeatSeconds / 2.0f;
constexpr float kBarSeconds = kBeatSeconds * 4.0f;
constexpr float kLoopSeconds = float(kMusicFrames) / kSampleRate;

struct Chord {
    int bass;
    std::vector<int> pad;
};

// One chord a bar. The last bar hangs on the suspended dominant, which
// resolves into the first bar when the loop comes round.
const Chord kChords[kMusicBars] = {
    {38, {54, 57, 61, 64}},  // Dmaj9
    {42, {52, 57, 61, 66}},  // F#m7
    {47, {50, 54, 57, 61}},  // Bm9
    {43, {54, 57, 59, 62}},  // Gmaj9
    {40, {55, 59, 62, 66}},  // Em9
    {42, {57, 61, 62, 66}},  // Dmaj7/F#
    {43, {54, 57, 59, 62}},  // Gmaj9
    {45, {55, 59, 62, 64}},  // A9sus4
    {38, {54, 57, 61, 64}},  // Dmaj9
    {42, {52, 57, 61, 66}},  // F#m7
    {47, {50, 54, 57, 61}},  // Bm9
    {43, {54, 57, 59, 62}},  // Gmaj9
    {40, {55, 59, 62, 66}},  // Em9
    {45, {55, 59, 62, 64}},  // A9sus4
    {43, {54, 57, 59, 66}},  // Gmaj7
    {45, {55, 59, 62, 64}},  // A9sus4
};

struct MelodyNote {
    int bar;
    int eighth;  // start within the bar
    int length;  // in eighths
    int note;
};

// Two eight-bar phrases; the second climbs higher and its last notes rise
// through C# and E into the F# that opens the piece.
const MelodyNote kMelody[] = {
    {0, 0, 3, 78},  {0, 3, 1, 76},  {0, 4, 2, 74},  {0, 6, 2, 69},   // bar 1
    {1, 0, 5, 73},  {1, 5, 1, 71},  {1, 6, 2, 73},                   // bar 2
    {2, 0, 3, 74},  {2, 3, 1, 76},  {2, 4, 4, 78},                   // bar 3
    {3, 0, 2, 81},  {3, 2, 2, 78},  {3, 4, 4, 74},                   // bar 4
    {4, 0, 3, 79},  {4, 3, 1, 78},  {4, 4, 4, 76},                   // bar 5
    {5, 0, 2, 73},  {5, 2, 2, 74},  {5, 4, 4, 69},                   // bar 6
    {6, 0, 3, 71},  {6, 3, 1, 74},  {6, 4, 2, 78},  {6, 6, 2, 76},   // bar 7
    {7, 0, 4, 76},  {7, 4, 2, 74},  {7, 6, 2, 76},                   // bar 8
    {8, 0, 3, 81},  {8, 3, 1, 78},  {8, 4, 2, 76},  {8, 6, 2, 78},   // bar 9
    {9, 0, 3, 76},  {9, 3, 1, 78},  {9, 4, 4, 73},                   // bar 10
    {10, 0, 2, 74}, {10, 2, 2, 76}, {10, 4, 2, 78}, {10, 6, 2, 81},  // bar 11
    {11, 0, 6, 83}, {11, 6, 2, 81},                                  // bar 12
    {12, 0, 3, 79}, {12, 3, 1, 78}, {12, 4, 2, 76}, {12, 6, 2, 74},  // bar 13
    {13, 0, 4, 76}, {13, 4, 2, 74}, {13, 6, 2, 71},                  // bar 14
    {14, 0, 3, 71}, {14, 3, 1, 74}, {14, 4, 4, 76},                  // bar 15
    {15, 0, 4, 74}, {15, 4, 2, 71}, {15, 6, 1, 73}, {15, 7, 1, 76},  // bar 16
};

long frameOf(int bar, float eighths) {
    return long(bar) * 4 * kMusicFramesPerBeat + long(eighths * 0.5f * kMusicFramesPerBeat);
}

// A few milliseconds of looseness so the parts do not sound machine-made.
long humanize(Rng& rng) {
    return long(rng.uniform(-0.004f, 0.004f) * kSampleRate);
}

void addPads(AudioBuffer& track, Rng& rng) {
    const float lfoHz = 1.0f / (4.0f * kBarSeconds);  // four slow breaths a loop
    for (int bar = 0; bar < kMusicBars; ++bar) {
        const AudioBuffer chord =
            padChord(kChords[bar].pad, kBarSeconds + 0.1f, float(bar) / 4.0f, lfoHz, rng);
        track.mix(chord, frameOf(bar, 0), 0.55f, true);
    }
}

void addBass(AudioBuffer& track, Rng& rng) {
    for (int bar = 0; bar < kMusicBars; ++bar) {
        const float root = float(kChords[bar].bass);
        track.mix(bass(root, 5.5f * kEighthSeconds, 0.8f), frameOf(bar, 0) + humanize(rng), 0.11f,
                  true);
        track.mix(bass(root, 1.6f * kEighthSeconds, 0.5f), frameOf(bar, 6) + humanize(rng), 0.11f,
                  true);
    }
}

void addMelody(AudioBuffer& track, Rng& rng) {
    for (const MelodyNote& m : kMelody) {
        const float velocity = (m.eighth % 4 == 0 ? 0.72f : 0.62f) + rng.uniform(-0.06f, 0.06f);
        const float seconds = float(m.length) * kEighthSeconds * 0.95f;
        const AudioBuffer note = electricPiano(float(m.note), seconds, velocity, 0.15f, rng);
        track.mix(note, frameOf(m.bar, float(m.eighth)) + humanize(rng), 0.5f, true);
    }
}

// Quarter notes through the chord from bar 5, eighths in the second half.
void addArpeggio(AudioBuffer& track, Rng& rng) {
    static const int kOrder[8] = {0, 1, 2, 3, 2, 1, 3, 2};
    for (int bar = 4; bar < kMusicBars; ++bar) {
        const std::vector<int>& pad = kChords[bar].pad;
        const int step = bar < 8 ? 2 : 1;
        for (int e = 0; e < 8; e += step) {
            if (step == 1 && e == 7) continue;  // a breath before the next chord
            const float note = float(pad[size_t(kOrder[e]) % pad.size()] + 12);
            const float velocity = 0.5f + rng.uniform(-0.08f, 0.08f);
            track.mix(pluck(note, velocity, -0.45f, rng), frameOf(bar, float(e)) + humanize(rng),
                      0.7f, true);
        }
    }
}

// Low, slowly swelling noise: small waves on the shore. Its swells repeat a
// whole number of times per loop, and its filter runs over the loop twice.
void addWater(AudioBuffer& track, Rng& rng) {
    const size_t n = track.frames();
    AudioBuffer water(n);
    Biquad lowL, lowR, highL, highR;
    lowL.setLowpass(420.0f, 0.7f);
    lowR.setLowpass(420.0f, 0.7f);
    highL.setHighpass(70.0f);
    highR.setHighpass(70.0f);
    std::vector<float> noiseL(n), noiseR(n);
    for (size_t i = 0; i < n; ++i) {
        noiseL[i] = rng.uniform(-1.0f, 1.0f);
        noiseR[i] = rng.uniform(-1.0f, 1.0f);
    }
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < n; ++i) {
            water.left[i] = highL.process(lowL.process(noiseL[i]));
            water.right[i] = highR.process(lowR.process(noiseR[i]));
        }
    for (size_t i = 0; i < n; ++i) {
        const float x = float(i) / float(n);
        const float swellL = 0.55f + 0.3f * std::sin(kTwoPi * 11.0f * x) +
                             0.15f * std::sin(kTwoPi * 29.0f * x + 1.3f);
        const float swellR = 0.55f + 0.3f * std::sin(kTwoPi * 11.0f * x + 0.9f) +
                             0.15f * std::sin(kTwoPi * 23.0f * x + 2.1f);
        water.left[i] *= swellL;
        water.right[i] *= swellR;
    }
    track.mix(water, 0, 0.13f, true);
}

void addBirds(AudioBuffer& track, Rng& rng) {
    const int calls = 6;
    for (int c = 0; c < calls; ++c) {
        const float at = (float(c) + rng.uniform(0.1f, 0.8f)) * kLoopSeconds / calls;
        const AudioBuffer call = birdCall(rng.uniform(-0.8f, 0.8f), rng);
        track.mix(call, long(at * kSampleRate), 0.05f, true);
    }
}

// FM at a 1:1 ratio and the bass's saturation leave a slight offset; a
// gentle high-pass, run over the loop twice like the effects, removes it.
void removeOffset(AudioBuffer& track) {
    Biquad highL, highR;
    highL.setHighpass(25.0f);
    highR.setHighpass(25.0f);
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < track.frames(); ++i) {
            const float l = highL.process(track.left[i]);
            const float r = highR.process(track.right[i]);
            if (pass == 1) {
                track.left[i] = l;
                track.right[i] = r;
            }
        }
}

// The encoder sees silence before the first frame and after the last, so
// the file starts where both channels are close to zero and barely moving,
// in the last few milliseconds before the first downbeat.
size_t quietStart(const AudioBuffer& track) {
    const size_t n = track.frames();
    const size_t window = size_t(0.04f * kSampleRate);
    size_t best = 0;
    float bestScore = 1e9f;
    for (size_t i = n - window; i < n; ++i) {
        const size_t p = i - 1;
        const float score = std::fabs(track.left[i]) + std::fabs(track.right[i]) +
                            2.0f * (std::fabs(track.left[i] - track.left[p]) +
                                    std::fabs(track.right[i] - track.right[p]));
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

AudioBuffer renderMusic() {
    Rng rng(0x4d6f72726f77ULL);
    AudioBuffer track(kMusicFrames);
    AudioBuffer keys(kMusicFrames);
    addPads(track, rng);
    addMelody(keys, rng);
    addArpeggio(keys, rng);
    Echo(3.0f * kEighthSeconds, 0.35f, 3000.0f).apply(keys, 0.22f, true);
    track.mix(keys, 0, 1.0f, true);
    addWater(track, rng);
    addBirds(track, rng);
    Reverb(1.3f, 3.2f, 4500.0f, 0.02f).apply(track, 0.35f, true);
    AudioBuffer low(kMusicFrames);
    addBass(low, rng);
    track.mix(low, 0, 1.0f, true);
    removeOffset(track);
    track.normalize(0.6f);
    track.rotate(quietStart(track));
    return track;
}

}  // namespace

ASSETGEN_FAMILY(music) {
    writeMp3(renderMusic(), prepareFile(root / "sounds/dontYou.mp3"));
}

}  // namespace assetgen
