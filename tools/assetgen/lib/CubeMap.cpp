#include "lib/CubeMap.h"

#include <stdexcept>

namespace assetgen {

glm::vec3 cubeDirection(int face, float s, float t) {
    const float sc = 2.0f * s - 1.0f, tc = 2.0f * t - 1.0f;
    switch (face) {
        case 0:
            return {1.0f, -tc, -sc};
        case 1:
            return {-1.0f, -tc, sc};
        case 2:
            return {sc, 1.0f, tc};
        case 3:
            return {sc, -1.0f, -tc};
        case 4:
            return {sc, -tc, 1.0f};
        case 5:
            return {-sc, -tc, -1.0f};
        default:
            throw std::invalid_argument("a cube has six faces");
    }
}

Image cubeFace(int face, int size, const std::function<glm::vec3(glm::vec3)>& colourOf) {
    Image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.set(x, y,
                      colourOf(glm::normalize(
                          cubeDirection(face, (x + 0.5f) / size, (y + 0.5f) / size))));
    return image;
}

}  // namespace assetgen
