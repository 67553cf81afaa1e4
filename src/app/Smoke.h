#pragma once
// The steam over the two coffee cups: one particle system for the whole run.

class ParticleSystem;

extern ParticleSystem* particleSystem;

// Creates the particle system with the two cups as emitters. Needs the
// shaders and the main camera.
void initParticles();
// Moves and draws the steam, added onto what the main pass drew; leaves the
// usual alpha blending behind. Nothing happens before initParticles.
void drawSmoke();
// Moves the steam without drawing it, for frames that are only simulated.
void stepSmoke();
// Deletes the particle system (its GL objects need the context).
void releaseParticles();
