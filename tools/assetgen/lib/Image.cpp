#include "lib/Image.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "lib/Family.h"

namespace assetgen {

Image::Image(int w, int h, int c)
    : width(w), height(h), channels(c), pixels(size_t(w) * h * c, 0) {
    if (c != 3 && c != 4) throw std::invalid_argument("images have 3 or 4 channels");
}

uint8_t toByte(float v) {
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

void Image::set(int x, int y, glm::vec3 rgb) { set(x, y, glm::vec4(rgb, 1.0f)); }

void Image::set(int x, int y, glm::vec4 rgba) {
    uint8_t* p = &pixels[(size_t(y) * width + x) * channels];
    for (int i = 0; i < channels; ++i) p[i] = toByte(rgba[i]);
}

glm::vec4 Image::get(int x, int y) const {
    const uint8_t* p = &pixels[(size_t(y) * width + x) * channels];
    glm::vec4 c(1.0f);
    for (int i = 0; i < channels; ++i) c[i] = p[i] / 255.0f;
    return c;
}

void writePng(const Image& image, const std::filesystem::path& file) {
    prepareFile(file);
    if (!stbi_write_png(file.c_str(), image.width, image.height, image.channels,
                        image.pixels.data(), image.width * image.channels))
        throw std::runtime_error("cannot write " + file.string());
}

void writeJpg(const Image& image, const std::filesystem::path& file, int quality) {
    prepareFile(file);
    if (!stbi_write_jpg(file.c_str(), image.width, image.height, image.channels,
                        image.pixels.data(), quality))
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace assetgen
