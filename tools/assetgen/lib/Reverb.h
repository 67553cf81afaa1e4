#pragma once
// A soft stereo reverb: two short all-pass diffusers smear the input, then
// eight delay lines feed back into each other through a Hadamard mix. Each
// line loses level in proportion to its length, so every path decays at the
// same rate, and a low-pass in each line makes the tail darker as it fades.

#include <array>
#include <vector>

#include "lib/AudioBuffer.h"

namespace assetgen {

class Reverb {
public:
    // size scales the delay lengths (1 is a medium hall); decaySeconds is the
    // time to fall by 60 dB; dampingHz the cutoff of the in-loop low-pass.
    Reverb(float size, float decaySeconds, float dampingHz, float preDelaySeconds = 0.015f);

    // Adds the reverberated signal times `wet` to the buffer. A periodic
    // buffer is one turn of a loop: the reverb runs over it twice and keeps
    // the second turn, so the tail of the end rings on at the start.
    void apply(AudioBuffer& buffer, float wet, bool periodic);

private:
    static constexpr int kLines = 8;

    struct Delay {
        std::vector<float> data;
        size_t pos = 0;
        float read() const { return data[pos]; }
        void write(float v) {
            data[pos] = v;
            if (++pos == data.size()) pos = 0;
        }
    };

    void clear();
    void step(float inL, float inR, float& outL, float& outR);
    float diffuse(Delay& line, float x);

    std::array<Delay, kLines> lines_;
    std::array<float, kLines> gain_{};
    std::array<float, kLines> lowState_{};
    std::array<Delay, 4> diffusers_;  // two per channel
    Delay preL_, preR_;
    float dampCoef_;
};

}  // namespace assetgen
