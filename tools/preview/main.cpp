// Contact sheet of the scene data:
//   preview <build dir> <output.png> [view pixels] [name filter]
// Renders every model under <build dir>/models from three sides (flat shaded,
// with its diffuse maps; back faces culled as the program does, except for
// cut-out materials, which are drawn from both sides) and shows every texture
// under models/ and textures/ as a labelled thumbnail.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <glm/gtc/matrix_transform.hpp>
#include <string>
#include <vector>

#include "Canvas.h"
#include "PreviewModel.h"

namespace fs = std::filesystem;
using preview::Canvas;

namespace {

int kView = 180;  // one rendered view, in sheet pixels (third argument)
constexpr int kSupersample = 2;
constexpr int kThumb = 84;
constexpr int kThumbCell = 94;
constexpr int kMargin = 8;
const glm::vec3 kPaper(0.16f, 0.17f, 0.19f), kInk(0.92f, 0.92f, 0.88f);

std::vector<fs::path> filesUnder(const fs::path& dir, const std::vector<std::string>& extensions) {
    std::vector<fs::path> out;
    if (!fs::is_directory(dir)) return out;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (std::find(extensions.begin(), extensions.end(), ext) != extensions.end())
            out.push_back(entry.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// One orthographic view turned by yaw about y, then pitched down, framing
// `frame` (by default the whole model) in the tile.
Canvas renderView(const preview::PreviewModel& model, float yawDegrees, float pitchDegrees,
                  const preview::PreviewModel* frame = nullptr) {
    if (!frame) frame = &model;
    const int size = kView * kSupersample;
    Canvas canvas(size, size, glm::vec3(0.0f));
    canvas.gradient(0, 0, size, size, glm::vec3(0.55f, 0.62f, 0.70f),
                    glm::vec3(0.30f, 0.31f, 0.30f));
    glm::mat4 turn = glm::rotate(glm::mat4(1.0f), glm::radians(pitchDegrees), glm::vec3(1, 0, 0));
    turn = glm::rotate(turn, glm::radians(yawDegrees), glm::vec3(0, 1, 0));
    const glm::mat3 r(turn);
    const glm::vec3 centre = 0.5f * (frame->lo + frame->hi);
    glm::vec2 lo(1e30f), hi(-1e30f);
    for (const auto& t : frame->triangles)
        for (const glm::vec3& p : t.p) {
            const glm::vec3 v = r * (p - centre);
            lo = glm::min(lo, glm::vec2(v));
            hi = glm::max(hi, glm::vec2(v));
        }
    const float scale = 0.92f * size / std::max({hi.x - lo.x, hi.y - lo.y, 1e-6f});
    const glm::vec2 mid = 0.5f * (lo + hi);
    const glm::vec3 light = glm::normalize(glm::vec3(0.45f, 0.8f, 0.55f));
    for (const auto& t : model.triangles) {
        glm::vec3 n = glm::cross(t.p[1] - t.p[0], t.p[2] - t.p[0]);
        if (glm::dot(n, n) == 0.0f) continue;
        n = glm::normalize(n);
        const preview::Picture* picture =
            t.picture >= 0 ? &model.pictures[size_t(t.picture)] : nullptr;
        const bool cutout = picture && picture->channels == 4;
        if ((r * n).z <= 0.0f) {
            if (!cutout) continue;  // a back face, culled
            n = -n;
        }
        glm::vec3 s[3];
        for (int k = 0; k < 3; ++k) {
            const glm::vec3 v = r * (t.p[k] - centre);
            s[k] = glm::vec3(size * 0.5f + (v.x - mid.x) * scale,
                             size * 0.5f - (v.y - mid.y) * scale, -v.z);
        }
        const float shade = 0.35f + 0.65f * std::max(0.0f, glm::dot(n, light));
        canvas.triangle(s, t.uv, picture, shade, cutout);
    }
    return canvas;
}

std::string shortName(const fs::path& file, const fs::path& base, size_t maxChars) {
    std::string s = fs::relative(file, base).generic_string();
    if (s.size() > maxChars) s = s.substr(s.size() - maxChars);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr,
                     "usage: preview <build dir> <output.png> [view pixels] [name filter]\n");
        return 2;
    }
    const fs::path root = argv[1];
    if (argc >= 4) kView = std::clamp(std::atoi(argv[3]), 64, 1024);
    const std::string filter = argc == 5 ? argv[4] : "";
    std::vector<fs::path> models = filesUnder(root / "models", {".obj"});
    std::vector<fs::path> pictures = filesUnder(root / "models", {".png", ".jpg", ".jpeg"});
    const std::vector<fs::path> more = filesUnder(root / "textures", {".png", ".jpg", ".jpeg"});
    pictures.insert(pictures.end(), more.begin(), more.end());
    auto unwanted = [&](const fs::path& p) { return p.string().find(filter) == std::string::npos; };
    models.erase(std::remove_if(models.begin(), models.end(), unwanted), models.end());
    pictures.erase(std::remove_if(pictures.begin(), pictures.end(), unwanted), pictures.end());

    const int blockWidth = 3 * kView + 2 * 4;
    const int width = std::max(2 * blockWidth + 3 * kMargin + 8, 400);
    const int blockHeight = 14 + kView + 10;
    // The table as the scene sets it: everything at the origin but the vase
    // and the flower, framed on what stands on the top.
    preview::PreviewModel table, tableTop;
    bool assembled = true;
    const std::pair<const char*, glm::vec3> tableParts[] = {
        {"furniture/furniture.obj", {0, 0, 0}},
        {"breakfast/breakfast/breakfast.obj", {0, 0, 0}},
        {"breakfast/coffeeCup/coffee.obj", {0, 0, 0}},
        {"breakfast/waterGlass/juice.obj", {0, 0, 0}},
        {"breakfast/waterGlass/glasses.obj", {0, 0, 0}},
        {"vase/vase.obj", {1.0f, 8.0f, 1.5f}},
        {"flower/flower.obj", {1.0f, 8.0f, 1.5f}}};
    for (const auto& [file, offset] : tableParts) {
        std::string error;
        const auto part = preview::loadPreviewModel(root / "models" / file, error);
        if (!part) {
            assembled = false;
            break;
        }
        table.append(*part, offset);
        if (std::string(file) != "furniture/furniture.obj") tableTop.append(*part, offset);
    }
    assembled = assembled && filter.empty();

    const size_t blocks = models.size() + (assembled ? 1 : 0);
    const int modelRows = int(blocks + 1) / 2;
    const int perRow = (width - kMargin) / kThumbCell;
    const int thumbRows = int(pictures.size() + perRow - 1) / std::max(1, perRow);
    const int height = 30 + modelRows * blockHeight + 24 + thumbRows * (kThumb + 30) + kMargin;
    Canvas sheet(width, height, kPaper);
    sheet.text(kMargin, 8, "MORROWDOCK SCENE DATA", kInk, 2);

    const float views[3][2] = {{0.0f, 0.0f}, {-90.0f, 0.0f}, {35.0f, 30.0f}};
    int y = 30;
    for (size_t i = 0; i < blocks; ++i) {
        const int x = kMargin + int(i % 2) * (blockWidth + kMargin + 8);
        const int top = y + int(i / 2) * blockHeight;
        if (i == models.size()) {
            sheet.text(x, top, "THE TABLE AS PLACED (VASE AND FLOWER AT 1, 8, 1.5)", kInk);
            for (int v = 0; v < 3; ++v)
                sheet.paste(renderView(table, views[v][0], views[v][1], &tableTop), kSupersample,
                            x + v * (kView + 4), top + 12);
            continue;
        }
        std::string error;
        const auto model = preview::loadPreviewModel(models[i], error);
        std::string label = shortName(models[i], root / "models", 60);
        if (!model) {
            sheet.text(x, top, label + " : cannot import", glm::vec3(1.0f, 0.4f, 0.3f));
            continue;
        }
        const glm::vec3 size = model->hi - model->lo;
        char info[96];
        std::snprintf(info, sizeof info, "  %zu tris  %.4gx%.4gx%.4g", model->triangles.size(),
                      size.x, size.y, size.z);
        sheet.text(x, top, label + info, kInk);
        for (int v = 0; v < 3; ++v)
            sheet.paste(renderView(*model, views[v][0], views[v][1]), kSupersample,
                        x + v * (kView + 4), top + 12);
    }
    y += modelRows * blockHeight + 4;
    sheet.text(kMargin, y, "TEXTURES", kInk, 2);
    y += 20;
    const size_t maxChars = size_t(kThumbCell - 4) / 6;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int x = kMargin + int(i % size_t(perRow)) * kThumbCell;
        const int top = y + int(i / size_t(perRow)) * (kThumb + 30);
        const auto picture = preview::loadPicture(pictures[i]);
        if (picture) {
            sheet.thumbnail(x, top, kThumb, *picture);
            char dims[48];
            std::snprintf(dims, sizeof dims, "%dx%d %dch", picture->width, picture->height,
                          picture->channels);
            sheet.text(x, top + kThumb + 10, dims, glm::vec3(0.6f));
        }
        std::string stem = pictures[i].stem().string(),
                    folder = pictures[i].parent_path().filename().string();
        sheet.text(x, top + kThumb + 2, stem.substr(0, maxChars), kInk);
        sheet.text(x, top + kThumb + 18, folder.substr(0, maxChars), glm::vec3(0.5f, 0.6f, 0.7f));
    }
    sheet.writePng(argv[2]);
    std::printf("preview: %zu models, %zu textures -> %s (%dx%d)\n", models.size(), pictures.size(),
                argv[2], width, height);
    return 0;
}
