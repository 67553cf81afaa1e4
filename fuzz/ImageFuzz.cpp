// The image path behind every texture and the terrain: bounded decode, the
// channel handling, and the terrain grid built from what was decoded.
#include "FuzzTarget.h"
#include "effects/TerrainGrid.h"
#include "render/ImageDecode.h"

namespace {

// Grids are built for narrow maps only: a 2048-wide one takes a second and a
// quarter gigabyte, which would starve the search without finding more.
constexpr int kFuzzGridSide = 300;

}  // namespace

int fuzzImage(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte picks the channel request: the file's own (widened),
    // three for 2D and cube textures and the terrain, or four.
    const int requests[] = {0, 3, 4};
    const int channels = requests[data[0] % 3];
    const DecodedImage image = decodeImageMemory(data + 1, size - 1, channels, kMaxImageSide);
    if (!image) {
        FUZZ_CHECK(!image.problem.empty());
        return 0;
    }
    FUZZ_CHECK(image.width >= 1 && image.width <= kMaxImageSide);
    FUZZ_CHECK(image.height >= 1 && image.height <= kMaxImageSide);
    FUZZ_CHECK(image.bufferChannels == 3 || image.bufferChannels == 4);
    FUZZ_CHECK(image.fileChannels >= 1 && image.fileChannels <= 4);
    // Touch the last byte of the buffer: it must be as large as promised.
    const size_t bytes = size_t(image.width) * size_t(image.height) * size_t(image.bufferChannels);
    volatile unsigned char last = image.pixels.get()[bytes - 1];
    (void)last;

    if (image.bufferChannels == 3 && image.width <= kFuzzGridSide) {
        const TerrainGrid grid = buildTerrainGrid(image.pixels.get(), image.width, image.height);
        const size_t n = size_t(grid.vertexCount);
        FUZZ_CHECK(grid.vertices.size() == n * n);
        FUZZ_CHECK(grid.indices.size() == (n < 2 ? 0 : 6 * (n - 1) * (n - 1)));
        for (unsigned int index : grid.indices) FUZZ_CHECK(index < grid.vertices.size());
        const float h = heightOfTerrainGrid(grid, glm::vec3(0.0f), 500.0f, 500.0f);
        FUZZ_CHECK(h >= -kTerrainHeightRange && h <= kTerrainHeightRange);
    }
    return 0;
}

MD_FUZZ_EXPORT(fuzzImage)
