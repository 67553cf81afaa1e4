#pragma once
// An attack-decay-sustain-release envelope evaluated in closed form, so a note
// can be rendered from any sample without running state. The attack rises on
// a half cosine, the decay falls exponentially towards the sustain level and
// the release reaches exactly zero with zero slope, so notes end without a
// click.

namespace assetgen {

class Envelope {
public:
    float attack = 0.01f;  // seconds to full level
    float decay = 0.2f;    // time constant of the fall to sustain, seconds
    float sustain = 0.7f;  // level while held
    float release = 0.3f;  // seconds from note-off to silence

    Envelope() = default;
    Envelope(float a, float d, float s, float r) : attack(a), decay(d), sustain(s), release(r) {}

    // Level t seconds after note-on for a note held for `gate` seconds.
    float level(float t, float gate) const;
    // Seconds from note-on to the end of the release.
    float length(float gate) const { return gate + release; }

private:
    float held(float t) const;
};

}  // namespace assetgen
