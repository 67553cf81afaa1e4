// The smoke particle's texture: a soft round puff, white on black, because the
// particles are added onto the scene and black adds nothing.

#include <algorithm>
#include <cmath>

#include "lib/Family.h"
#include "lib/Image.h"
#include "lib/Noise.h"

using namespace assetgen;

namespace {

constexpr int kSize = 128;

Image puff() {
    Image image(kSize, kSize, 3);
    image.fill([](int x, int y, float, float) {
        const float px = (x + 0.5f) / kSize * 2.0f - 1.0f, py = (y + 0.5f) / kSize * 2.0f - 1.0f;
        // A billowy edge: the radius swells and shrinks with noise.
        const float billow = 0.12f * fbm2(px * 2.5f, py * 2.5f, 0x5a0cu, 3);
        const float r = std::sqrt(px * px + py * py) / (0.92f + billow);
        const float falloff = std::pow(std::clamp(1.0f - r * r, 0.0f, 1.0f), 2.0f);
        const float texture = 0.8f + 0.2f * fbm2(px * 6.0f, py * 6.0f, 0x5a0du, 3);
        return glm::vec3(falloff * texture);
    });
    return image;
}

}  // namespace

ASSETGEN_FAMILY(smoke) {
    writePng(puff(), root / "textures/smoke/smoke.png");
}
