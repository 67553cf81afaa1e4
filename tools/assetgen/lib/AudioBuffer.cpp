#include "lib/AudioBuffer.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// Maps a frame index into [0, n) when wrapping, or returns -1 if it falls out.
long placeFrame(long frame, long n, bool wrap) {
    if (n == 0) return -1;
    if (wrap) return ((frame % n) + n) % n;
    return (frame >= 0 && frame < n) ? frame : -1;
}

}  // namespace

void AudioBuffer::mix(const AudioBuffer& source, long at, float gain, bool wrap) {
    const long n = long(frames());
    const long m = long(source.frames());
    if (n == 0) return;
    if (!wrap) {
        const long first = std::max(0L, -at);
        const long last = std::min(m, n - at);
        for (long i = first; i < last; ++i) {
            left[at + i] += source.left[i] * gain;
            right[at + i] += source.right[i] * gain;
        }
        return;
    }
    long j = placeFrame(at, n, true);
    for (long i = 0; i < m; ++i) {
        left[j] += source.left[i] * gain;
        right[j] += source.right[i] * gain;
        if (++j == n) j = 0;
    }
}

void AudioBuffer::add(long frame, float l, float r, bool wrap) {
    const long j = placeFrame(frame, long(frames()), wrap);
    if (j < 0) return;
    left[j] += l;
    right[j] += r;
}

void AudioBuffer::scale(float gain) {
    for (float& s : left) s *= gain;
    for (float& s : right) s *= gain;
}

float AudioBuffer::peak() const {
    float p = 0.0f;
    for (float s : left) p = std::max(p, std::fabs(s));
    for (float s : right) p = std::max(p, std::fabs(s));
    return p;
}

float AudioBuffer::rms() const {
    if (frames() == 0) return 0.0f;
    double sum = 0.0;
    for (float s : left) sum += double(s) * s;
    for (float s : right) sum += double(s) * s;
    return float(std::sqrt(sum / (2.0 * frames())));
}

void AudioBuffer::normalize(float target) {
    const float p = peak();
    if (p > 0.0f) scale(target / p);
}

void AudioBuffer::rotate(size_t start) {
    if (frames() == 0) return;
    start %= frames();
    std::rotate(left.begin(), left.begin() + long(start), left.end());
    std::rotate(right.begin(), right.begin() + long(start), right.end());
}

PanGains panGains(float pan) {
    const float a = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
    return {std::cos(a), std::sin(a)};
}

}  // namespace assetgen
