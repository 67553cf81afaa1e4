#pragma once
// A ping-pong echo: each repeat alternates between the channels, a little
// darker and quieter than the one before.

#include <vector>

#include "lib/AudioBuffer.h"

namespace assetgen {

class Echo {
public:
    Echo(float delaySeconds, float feedback, float dampingHz);

    // Adds the echoes times `wet` to the buffer; a periodic buffer is one turn
    // of a loop, and the echoes of its end sound again at its start.
    void apply(AudioBuffer& buffer, float wet, bool periodic);

private:
    std::vector<float> left_, right_;
    float feedback_;
    float dampCoef_;
};

}  // namespace assetgen
