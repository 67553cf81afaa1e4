#pragma once
// An 8-bit image with 3 or 4 channels, written as PNG or JPEG through
// stb_image_write. Colours go in as floats in [0, 1].

#include <cstdint>
#include <filesystem>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen {

struct Image {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<uint8_t> pixels;  // rows top to bottom

    Image(int w, int h, int c);

    void set(int x, int y, glm::vec3 rgb);
    void set(int x, int y, glm::vec4 rgba);
    glm::vec4 get(int x, int y) const;  // alpha 1 for 3-channel images

    // Calls f(x, y, u, v) for every pixel, u and v in [0, 1) at pixel corners.
    template <typename F>
    void fill(F f) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                set(x, y, f(x, y, float(x) / width, float(y) / height));
    }
};

uint8_t toByte(float v);  // clamps to [0, 1] and rounds

void writePng(const Image& image, const std::filesystem::path& file);
void writeJpg(const Image& image, const std::filesystem::path& file, int quality = 90);

}  // namespace assetgen
