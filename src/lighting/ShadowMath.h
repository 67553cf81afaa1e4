#pragma once
// The shadow map's arithmetic, apart from any GL: the light's view and its
// orthographic box, and where a world point lands in the depth map.

#include <glm/glm.hpp>
#include <vector>

#include "render/ScreenRect.h"

// Depth range of the light's box, in world units along the light direction.
constexpr float kShadowNearPlane = 10.0f;
constexpr float kShadowFarPlane = 300.0f;
// Half the side of the box across the light direction (a 400 x 400 box).
constexpr float kShadowHalfExtent = 200.0f;
// The depth map has this many texels per window pixel along each axis.
constexpr int kShadowMapScale = 5;

// Looks from the light's position along its direction, up = (0, 1, 0). A
// direction along the vertical takes (0, 0, -1) as up instead, and a zero
// (or non-finite) direction looks straight down, so the matrix is always
// finite.
glm::mat4 lightViewMatrix(const glm::vec3& position, const glm::vec3& direction);

// The light's box: ortho(-200, 200, -200, 200, nearPlane, farPlane).
glm::mat4 lightProjectionMatrix(float nearPlane, float farPlane);

// Depth-map coordinates of a world point: x and y in [0, 1] across the map,
// z the depth in [0, 1] from the near to the far plane (outside those ranges
// when the point is outside the box).
glm::vec3 shadowMapCoordinates(const glm::mat4& lightSpaceMatrix, const glm::vec3& world);

// True when all three coordinates lie in [0, 1].
bool insideShadowMap(const glm::vec3& coordinates);

// How far, in world units across the ground, the shadow of any of the boxes
// moves when the light's direction turns from `from` to `to`: each box's top
// casts onto the level of its bottom, so the shadow's end moves by the box's
// height times the change of the ray's horizontal run per unit of descent.
// Infinite when either light does not come down (at or below the horizon);
// empty boxes are left out.
float shadowShiftOnGround(const std::vector<Box>& boxes, const glm::vec3& from,
                          const glm::vec3& to);

// The depth map's side for a window side: kShadowMapScale times as large,
// but never above what the device can hold (maxSize), nor below 1.
int shadowMapSide(int windowSide, int maxSize);
