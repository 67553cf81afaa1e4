#pragma once
// A phase-accumulating oscillator. The phase runs in cycles, [0, 1); the saw
// and square are band-limited with a polynomial correction at each jump so
// high notes do not alias into harsh tones.

namespace assetgen {

float midiToHz(float note);  // 69 is A4 = 440 Hz

class Oscillator {
public:
    double phase = 0.0;
    double increment = 0.0;  // cycles per sample

    Oscillator() = default;
    Oscillator(float hz, double startPhase = 0.0);

    void setFrequency(float hz);
    // Each of these returns the current value, then advances one sample.
    float sine(float phaseShift = 0.0f);  // phaseShift in radians (for FM)
    float saw();
    float square();
    float triangle();

private:
    void advance();
};

}  // namespace assetgen
