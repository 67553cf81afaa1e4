#pragma once
// An RGB canvas with a depth buffer: flat-shaded textured triangles, text in
// the 5 x 7 font, thumbnails of pictures, and PNG output.

#include <filesystem>
#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "PreviewModel.h"

namespace preview {

class Canvas {
public:
    Canvas(int width, int height, glm::vec3 background);

    int width() const { return width_; }
    int height() const { return height_; }
    glm::vec3 at(int x, int y) const { return colour_[size_t(y) * width_ + x]; }
    void set(int x, int y, glm::vec3 c);

    // Screen-space triangle: x right, y down, z = distance (smaller wins).
    // With a picture the colour is its texel times shade; texels with
    // alpha below one half are left out when cutout is set.
    void triangle(const glm::vec3 s[3], const glm::vec2 uv[3], const Picture* picture, float shade,
                  bool cutout);

    // Vertical gradient from top colour to bottom colour.
    void gradient(int x, int y, int w, int h, glm::vec3 top, glm::vec3 bottom);
    void fill(int x, int y, int w, int h, glm::vec3 c);
    // Returns the x after the last character.
    int text(int x, int y, const std::string& s, glm::vec3 c, int scale = 1);
    // The picture scaled down into a size x size box (aspect kept), alpha
    // shown over a checkerboard.
    void thumbnail(int x, int y, int size, const Picture& picture);
    // Copies `source` shrunk by an integer factor (box filter) to (x, y).
    void paste(const Canvas& source, int factor, int x, int y);

    void writePng(const std::filesystem::path& file) const;

private:
    int width_, height_;
    std::vector<glm::vec3> colour_;
    std::vector<float> depth_;
};

}  // namespace preview
