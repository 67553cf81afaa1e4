#include "scene/SceneLights.h"

#include "lighting/DirectionalLight.h"
#include "lighting/LightMath.h"
#include "lighting/LightReach.h"
#include "lighting/PointLight.h"
#include "lighting/ShadowMap.h"
#include "lighting/SpotLight.h"
#include "scene/Scene.h"

const ShadowMap* shadowTestMap = nullptr;

namespace {

LightValues valuesOf(const Light& light) {
    LightValues v;
    v.position = light.position;
    v.ambient = light.ambient;
    v.diffuse = light.diffuse;
    v.specular = light.specular;
    v.constant = light.constant;
    v.linear = light.linear;
    v.quadratic = light.quadratic;
    return v;
}

}  // namespace

unsigned sceneLightsReaching(const Box& box, const Box* normals) {
    unsigned mask = kEveryLight;
    for (const PointLight* point : {lampLightLeft, lampLightRight, sunPointLight}) {
        if (!point || point->index < 0 || point->index > 2) continue;
        if (!pointLightReaches(valuesOf(*point), box)) mask &= ~(kFirstPointBit << point->index);
    }
    if (lampSpotLight && lampSpotLight->index == 0) {
        LightValues spot = valuesOf(*lampSpotLight);
        spot.direction = lampSpotLight->direction;
        spot.outerCosine = coneCosine(lampSpotLight->outerAngle);
        if (!spotLightReaches(spot, box)) mask &= ~kSpotBit;
    }
    if (normals && sunLight && sunLight->index == 0 &&
        !sunShadowMatters(sunLight->direction, sunLight->diffuse, sunLight->specular, *normals))
        mask &= ~kSunShadowBit;
    if ((mask & kSunShadowBit) && shadowTestMap && !shadowTestMap->shadowMayFall(box))
        mask &= ~kSunShadowBit;
    return mask;
}
