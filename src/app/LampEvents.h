#pragma once
// What the glow pass does at a given clock value: whether the sun glows (and
// the sun's point light follows it), whether the lamp fails (bulb sound, the
// lamp's three lights moved away), whether the bulbs glow, and whether the
// lamp's two point lights are put back at their places.

#include <glm/glm.hpp>

struct LampState {
    bool sunGlows;          // 5600 < t < 20000
    bool lampFails;         // 7200 < t < 7210 (always inside the sun's window)
    bool bulbsGlow;         // t < 7200 or t > 20000
    bool lampLightsPlaced;  // bulbs glow and t < 20010: the two point lights go to their places
};

LampState lampStateAt(float timeOfDay);
// The same for a frame that moved the clock from previousTimeOfDay: a slow
// frame that jumps over the failure (7200, 7210) or the return (20000, 20010)
// still makes the lamp fail or come back.
LampState lampStateAt(float timeOfDay, float previousTimeOfDay);
bool sunGlowsAt(float timeOfDay);

// Where the lamp's lights stand while the lamp is lit, and where they go
// when it fails.
constexpr glm::vec3 kLampLeftPosition(-2.5f, 16.5f, -20.0f);
constexpr glm::vec3 kLampRightPosition(2.5f, 16.5f, -20.0f);
constexpr glm::vec3 kLampOutPosition(0.0f, -100.0f, 0.0f);

// The light changes of the glow pass, without drawing or sound: the sun's
// point light follows the sun, the lamp's lights go out or are put back.
// Used where frames are stepped without being drawn. Missing objects are
// skipped.
void applyLampLights(const LampState& state);
