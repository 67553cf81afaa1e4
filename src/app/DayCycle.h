#pragma once
// The day cycle: the day clock turned into the light of the sky. The sun
// climbs from height -70 to 200 at dawn (5000 to 8000), crosses the square
// (500, 0) -> (0, -500) -> (-500, 0) -> (0, 500) in x and z between 5000 and
// 21500, sinks back to -70 from 17000 to 20800 and waits there for the next
// dawn; the exposure rises from 0.8 to 2.0 with the sun and falls back by
// midnight.

#include <glm/glm.hpp>

struct DayCycleState {
    float exposure;
    glm::vec3 sunPosition;     // the sun entity
    glm::vec3 lightPosition;   // the sun light: the sun's height, a fifth of its x and z
    glm::vec3 lightDirection;  // from the sun towards the origin
};

// The state for a clock value in [0, 24000). Outside the sun's crossing
// (before 5000 and from 21500 on) the sun waits at x = 500, z = 0 and the
// light at x = 100, z = 0, a fifth of the sun's as everywhere else.
DayCycleState dayCycleAt(float timeOfDay);

// Once a frame, after the day clock: sets exposure, moves the sun entity and
// the sun light (position and direction, uploaded to every listed program)
// and uploads "exposure" to the effect shader. Objects that do not exist
// yet are skipped.
void updateDayCycle();
