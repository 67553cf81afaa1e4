#pragma once
// Cube-map faces as OpenGL samples them: face i is the target
// GL_TEXTURE_CUBE_MAP_POSITIVE_X + i (+X, -X, +Y, -Y, +Z, -Z), and the image's
// first row is the face's t = 0. Filling every texel from its direction makes
// the six faces meet without seams.

#include <functional>
#include <glm/glm.hpp>

#include "lib/Image.h"

namespace assetgen {

constexpr int kCubeFaces = 6;

// The (unnormalised) direction through face coordinates s, t in [0, 1].
glm::vec3 cubeDirection(int face, float s, float t);

// A square face image whose texels take their colour from the unit direction
// through their centres.
Image cubeFace(int face, int size, const std::function<glm::vec3(glm::vec3)>& colourOf);

}  // namespace assetgen
