#pragma once
// A second-order IIR filter (transposed direct form II) with the usual
// low-pass, high-pass and band-pass designs. Setting new coefficients keeps
// the state, so a cutoff can sweep while a sound plays.

namespace assetgen {

class Biquad {
public:
    void setLowpass(float hz, float q = 0.7071f);
    void setHighpass(float hz, float q = 0.7071f);
    void setBandpass(float hz, float q);  // 0 dB at the centre
    void reset() { z1_ = z2_ = 0.0f; }

    float process(float x) {
        const float y = b0_ * x + z1_;
        z1_ = b1_ * x - a1_ * y + z2_;
        z2_ = b2_ * x - a2_ * y;
        return y;
    }

private:
    void set(double b0, double b1, double b2, double a0, double a1, double a2);

    float b0_ = 1.0f, b1_ = 0.0f, b2_ = 0.0f, a1_ = 0.0f, a2_ = 0.0f;
    float z1_ = 0.0f, z2_ = 0.0f;
};

}  // namespace assetgen
