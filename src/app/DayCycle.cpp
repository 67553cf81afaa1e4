#include "app/DayCycle.h"

#include <GL/glew.h>

#include "app/AppGlobals.h"
#include "core/Globals.h"
#include "lighting/DirectionalLight.h"
#include "render/Shader.h"
#include "scene/Entity.h"
#include "scene/Scene.h"

namespace {

constexpr float kSunRadius = 500.0f;    // half the side of the sun's square path
constexpr float kLightRadius = 100.0f;  // the light keeps a fifth of it
constexpr float kLowSun = -70.0f;
constexpr float kHighSun = 200.0f;
constexpr float kNightExposure = 0.8f;
constexpr float kDayExposure = 2.0f;

float exposureAt(float t) {
    if (t < 5000.0f) return kNightExposure;
    if (t < 8000.0f) return kNightExposure + 1.2f * (t - 5000.0f) / 3000.0f;
    if (t < 17000.0f) return kDayExposure;
    return kDayExposure - 1.2f * (t - 17000.0f) / 7000.0f;
}

float sunHeightAt(float t) {
    if (t < 5000.0f) return kLowSun;
    if (t < 8000.0f) return kLowSun + 270.0f * (t - 5000.0f) / 3000.0f;
    if (t < 17000.0f) return kHighSun;
    if (t < 20800.0f) return kHighSun - 270.0f * (t - 17000.0f) / 3800.0f;
    return kLowSun;
}

// Where on the unit square path (x, z) the sun stands: three legs of 5500
// units each, from (1, 0) through (0, -1) and (-1, 0) to (0, 1); (1, 0)
// outside them.
glm::vec2 pathPointAt(float t) {
    if (t >= 5000.0f && t < 10500.0f) {
        const float u = (t - 5000.0f) / 5500.0f;
        return {1.0f - u, -u};
    }
    if (t >= 10500.0f && t < 16000.0f) {
        const float u = (t - 10500.0f) / 5500.0f;
        return {-u, -(1.0f - u)};
    }
    if (t >= 16000.0f && t < 21500.0f) {
        const float u = (t - 16000.0f) / 5500.0f;
        return {-(1.0f - u), u};
    }
    return {1.0f, 0.0f};
}

}  // namespace

DayCycleState dayCycleAt(float t) {
    const float y = sunHeightAt(t);
    const glm::vec2 path = pathPointAt(t);
    const glm::vec3 sunPosition(kSunRadius * path.x, y, kSunRadius * path.y);
    return {exposureAt(t), sunPosition, glm::vec3(kLightRadius * path.x, y, kLightRadius * path.y),
            -sunPosition};
}

void updateDayCycle() {
    const DayCycleState state = dayCycleAt(timeOfDay);
    exposure = state.exposure;
    if (sun) sun->setPosition(state.sunPosition);
    if (sunLight) {
        sunLight->setPosition(state.lightPosition);
        sunLight->setDirection(state.lightDirection);
    }
    if (effectShader) {
        effectShader->use();
        effectShader->setFloat("exposure", exposure);
        glUseProgram(0);
    }
}
