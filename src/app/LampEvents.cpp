#include "app/LampEvents.h"

#include "app/DayClock.h"
#include "lighting/PointLight.h"
#include "lighting/SpotLight.h"
#include "scene/Entity.h"
#include "scene/Scene.h"

bool sunGlowsAt(float t) {
    return t > 5600.0f && t < 20000.0f;
}

LampState lampStateAt(float t) {
    return lampStateAt(t, t);
}

LampState lampStateAt(float t, float previous) {
    LampState s;
    s.sunGlows = sunGlowsAt(t);
    s.lampFails = clockReachedWindow(previous, t, 7200.0f, 7210.0f, false);
    s.bulbsGlow = t < 7200.0f || t > 20000.0f;
    s.lampLightsPlaced =
        s.bulbsGlow && (t < 20010.0f || clockReachedWindow(previous, t, 20000.0f, 20010.0f, false));
    return s;
}

void applyLampLights(const LampState& state) {
    if (state.sunGlows && sun && sunPointLight) sunPointLight->setPosition(sun->getPosition());
    if (state.lampFails) {
        if (lampSpotLight) lampSpotLight->setPosition(kLampOutPosition);
        if (lampLightLeft) lampLightLeft->setPosition(kLampOutPosition);
        if (lampLightRight) lampLightRight->setPosition(kLampOutPosition);
    }
    if (state.lampLightsPlaced) {
        if (lampLightLeft) lampLightLeft->setPosition(kLampLeftPosition);
        if (lampLightRight) lampLightRight->setPosition(kLampRightPosition);
    }
}
