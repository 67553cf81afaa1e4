#include "Canvas.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "Font.h"

namespace preview {

Canvas::Canvas(int width, int height, glm::vec3 background)
    : width_(width),
      height_(height),
      colour_(size_t(width) * height, background),
      depth_(size_t(width) * height, 1e30f) {}

void Canvas::set(int x, int y, glm::vec3 c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) colour_[size_t(y) * width_ + x] = c;
}

void Canvas::triangle(const glm::vec3 s[3], const glm::vec2 uv[3], const Picture* picture,
                      float shade, bool cutout) {
    const float area =
        (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
    if (std::abs(area) < 1e-8f) return;
    const int x0 = std::max(0, int(std::floor(std::min({s[0].x, s[1].x, s[2].x}))));
    const int x1 = std::min(width_ - 1, int(std::ceil(std::max({s[0].x, s[1].x, s[2].x}))));
    const int y0 = std::max(0, int(std::floor(std::min({s[0].y, s[1].y, s[2].y}))));
    const int y1 = std::min(height_ - 1, int(std::ceil(std::max({s[0].y, s[1].y, s[2].y}))));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            float w[3];
            for (int k = 0; k < 3; ++k) {
                const glm::vec3& a = s[(k + 1) % 3];
                const glm::vec3& b = s[(k + 2) % 3];
                w[k] = ((b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y)) / area;
            }
            if (w[0] < 0.0f || w[1] < 0.0f || w[2] < 0.0f) continue;
            const float z = w[0] * s[0].z + w[1] * s[1].z + w[2] * s[2].z;
            float& depth = depth_[size_t(y) * width_ + x];
            if (z >= depth) continue;
            glm::vec3 c(0.8f);
            if (picture) {
                const glm::vec4 t = picture->sample(w[0] * uv[0] + w[1] * uv[1] + w[2] * uv[2]);
                if (cutout && t.a < 0.5f) continue;
                c = glm::vec3(t);
            }
            depth = z;
            colour_[size_t(y) * width_ + x] = c * shade;
        }
    }
}

void Canvas::gradient(int x, int y, int w, int h, glm::vec3 top, glm::vec3 bottom) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            set(x + i, y + j, glm::mix(top, bottom, float(j) / std::max(1, h - 1)));
}

void Canvas::fill(int x, int y, int w, int h, glm::vec3 c) {
    gradient(x, y, w, h, c, c);
}

int Canvas::text(int x, int y, const std::string& s, glm::vec3 c, int scale) {
    for (char ch : s) {
        const uint8_t* rows = glyphRows(ch);
        for (int r = 0; r < kGlyphHeight; ++r)
            for (int col = 0; col < kGlyphWidth; ++col)
                if (rows[r] & (1u << (kGlyphWidth - 1 - col)))
                    fill(x + col * scale, y + r * scale, scale, scale, c);
        x += (kGlyphWidth + 1) * scale;
    }
    return x;
}

void Canvas::thumbnail(int x, int y, int size, const Picture& picture) {
    if (picture.width == 0 || picture.height == 0) return;
    const float scale = float(size) / std::max(picture.width, picture.height);
    const int w = std::max(1, int(picture.width * scale)),
              h = std::max(1, int(picture.height * scale));
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            // Box filter over the source texels that fall into this pixel.
            const int sx0 = i * picture.width / w,
                      sx1 = std::max(sx0 + 1, (i + 1) * picture.width / w);
            const int sy0 = j * picture.height / h,
                      sy1 = std::max(sy0 + 1, (j + 1) * picture.height / h);
            glm::vec4 sum(0.0f);
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0; sx < sx1; ++sx) sum += picture.texel(sx, sy);
            sum /= float((sx1 - sx0) * (sy1 - sy0));
            const glm::vec3 checker(((i / 6 + j / 6) & 1) ? 0.55f : 0.75f);
            set(x + i, y + j, glm::mix(checker, glm::vec3(sum), sum.a));
        }
    }
}

void Canvas::paste(const Canvas& source, int factor, int x, int y) {
    for (int j = 0; j < source.height_ / factor; ++j) {
        for (int i = 0; i < source.width_ / factor; ++i) {
            glm::vec3 sum(0.0f);
            for (int b = 0; b < factor; ++b)
                for (int a = 0; a < factor; ++a) sum += source.at(i * factor + a, j * factor + b);
            set(x + i, y + j, sum / float(factor * factor));
        }
    }
}

void Canvas::writePng(const std::filesystem::path& file) const {
    std::vector<unsigned char> bytes(colour_.size() * 3);
    for (size_t i = 0; i < colour_.size(); ++i)
        for (int k = 0; k < 3; ++k)
            bytes[i * 3 + k] =
                (unsigned char)std::lround(std::clamp(colour_[i][k], 0.0f, 1.0f) * 255.0f);
    if (!file.parent_path().empty()) std::filesystem::create_directories(file.parent_path());
    if (!stbi_write_png(file.c_str(), width_, height_, 3, bytes.data(), width_ * 3))
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace preview
