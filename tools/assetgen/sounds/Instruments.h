#pragma once
// The voices of the music. Each renders one note (or one chord) into a
// stereo buffer that starts at note-on and ends, silent, after the release.

#include <vector>

#include "lib/AudioBuffer.h"
#include "lib/Noise.h"

namespace assetgen {

// A soft electric piano: two-operator FM whose brightness falls after the
// strike, with a faint metallic tine at the attack.
AudioBuffer electricPiano(float note, float seconds, float velocity, float pan, Rng& rng);

// A warm string pad: detuned band-limited saws through a low-pass whose
// cutoff drifts with a slow wave. lfoStart is the wave's phase (in cycles)
// at note-on and lfoHz its rate, so the drift follows the song, not the note.
AudioBuffer padChord(const std::vector<int>& notes, float seconds, float lfoStart, float lfoHz,
                     Rng& rng);

// A round bass: a sine with a little second and third harmonic.
AudioBuffer bass(float note, float seconds, float velocity);

// A plucked string: a burst of noise circulating in a tuned, damped loop.
AudioBuffer pluck(float note, float velocity, float pan, Rng& rng);

// A small bird call: a few quick whistled sweeps.
AudioBuffer birdCall(float pan, Rng& rng);

}  // namespace assetgen
