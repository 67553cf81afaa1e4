#pragma once
// Which lights can add anything to the surfaces inside a world box, as the
// terrain and model shaders light them. A light whose share there is cut to
// exactly nothing by the shaders' own tests (too faint at that distance, or
// outside the spot's cone with no ambient term, or a sun that cannot reach a
// surface turned away from it) is left out of a narrower program for that
// draw, and the picture stays the same. Every answer errs towards "can".

#include <glm/glm.hpp>

#include "render/ScreenRect.h"

// The bits of a program's LIGHT_MASK: the sun's shadow lookup, the three
// point lights and the spot.
enum LightBits : unsigned {
    kSunShadowBit = 1u,
    kFirstPointBit = 2u,  // point light i is kFirstPointBit << i
    kSpotBit = 16u,
    kEveryLight = 31u,
};

// The values of a point or spot light as the shaders receive them.
struct LightValues {
    glm::vec3 position{0.0f};
    glm::vec3 ambient{0.0f};
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
    float constant = 1.0f;
    float linear = 0.0f;
    float quadratic = 0.0f;
    // Spot only: the uploaded direction and the outer cone's cosine.
    glm::vec3 direction{0.0f};
    float outerCosine = -1.0f;
};

// Below this a light's share of a colour channel is lost in the 8-bit
// picture: the shaders drop a point or spot light whose attenuated strength
// is under it.
constexpr float kNegligibleLight = 1.0f / 2048.0f;

// False only when the light's attenuation at the box's nearest point already
// makes it negligible, with room to spare.
bool pointLightReaches(const LightValues& light, const Box& box);

// As for a point light, and also false when the spot has no ambient term and
// the whole box lies outside its outer cone.
bool spotLightReaches(const LightValues& light, const Box& box);

// False when the sun's shadow lookup cannot matter for surfaces whose
// normals (as interpolated, or the up vector the shaders use for a zero
// normal) lie in `normals` componentwise: the sun's direction is not set,
// its light is negligible, or it shines on the back of every such normal.
bool sunShadowMatters(glm::vec3 sunDirection, glm::vec3 sunDiffuse, glm::vec3 sunSpecular,
                      const Box& normals);
