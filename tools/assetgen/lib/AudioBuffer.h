#pragma once
// A stereo buffer of float samples at 44.1 kHz, full scale +/- 1. Sounds are
// built by rendering notes into small buffers and mixing them into a track;
// a looping track mixes with wrap-around so tails that run past the end come
// back in at the start.

#include <cstddef>
#include <vector>

namespace assetgen {

constexpr int kSampleRate = 44100;

class AudioBuffer {
public:
    std::vector<float> left;
    std::vector<float> right;

    explicit AudioBuffer(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}

    size_t frames() const { return left.size(); }

    // Adds source * gain starting at frame `at` (which may be negative). Frames
    // outside the buffer are dropped, or wrap round when `wrap` is set.
    void mix(const AudioBuffer& source, long at, float gain = 1.0f, bool wrap = false);

    // Adds one stereo sample at `frame`, with the same rules as mix.
    void add(long frame, float l, float r, bool wrap = false);

    void scale(float gain);
    float peak() const;  // largest magnitude over both channels
    float rms() const;   // over both channels
    // Scales so the peak becomes `target`; a silent buffer stays silent.
    void normalize(float target);
    // Makes frame `start` the first frame, keeping the order of the rest.
    void rotate(size_t start);
};

// Equal-power pan gains; pan -1 is hard left, 0 centre, +1 hard right.
struct PanGains {
    float left;
    float right;
};
PanGains panGains(float pan);

}  // namespace assetgen
