#include "lib/Echo.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Echo::Echo(float delaySeconds, float feedback, float dampingHz)
    : left_(std::max<size_t>(1, size_t(delaySeconds * kSampleRate)), 0.0f),
      right_(left_.size(), 0.0f),
      feedback_(feedback),
      dampCoef_(1.0f - std::exp(-2.0f * 3.14159265f * dampingHz / kSampleRate)) {}

void Echo::apply(AudioBuffer& buffer, float wet, bool periodic) {
    std::fill(left_.begin(), left_.end(), 0.0f);
    std::fill(right_.begin(), right_.end(), 0.0f);
    const size_t n = buffer.frames();
    const size_t len = left_.size();
    size_t pos = 0;
    float lowL = 0.0f, lowR = 0.0f;
    for (int pass = periodic ? 0 : 1; pass < 2; ++pass) {
        for (size_t i = 0; i < n; ++i) {
            const float outL = left_[pos];
            const float outR = right_[pos];
            lowL += dampCoef_ * (outL - lowL);
            lowR += dampCoef_ * (outR - lowR);
            const float in = 0.5f * (buffer.left[i] + buffer.right[i]);
            // The left line takes the input, then each side feeds the other.
            left_[pos] = in + feedback_ * lowR;
            right_[pos] = feedback_ * lowL;
            if (++pos == len) pos = 0;
            if (pass == 1) {
                buffer.left[i] += wet * outL;
                buffer.right[i] += wet * outR;
            }
        }
    }
}

}  // namespace assetgen
