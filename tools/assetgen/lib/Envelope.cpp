#include "lib/Envelope.h"

#include <cmath>

namespace assetgen {

float Envelope::held(float t) const {
    if (t <= 0.0f) return 0.0f;
    if (t < attack) return 0.5f - 0.5f * std::cos(3.14159265f * t / attack);
    if (decay <= 0.0f) return sustain;
    return sustain + (1.0f - sustain) * std::exp(-(t - attack) / decay);
}

float Envelope::level(float t, float gate) const {
    if (t < gate) return held(t);
    if (release <= 0.0f) return 0.0f;
    const float x = (t - gate) / release;
    if (x >= 1.0f) return 0.0f;
    const float fall = 1.0f - x;
    return held(gate) * fall * fall;
}

}  // namespace assetgen
