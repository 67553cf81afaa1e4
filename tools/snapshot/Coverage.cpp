#include "Coverage.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <string>

#include "ToolRun.h"
#include "app/AppGlobals.h"
#include "app/FrameLoop.h"
#include "app/Startup.h"
#include "app/Window.h"
#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "render/Model.h"
#include "render/Shader.h"
#include "scene/Entity.h"
#include "scene/Scene.h"

namespace {

constexpr int kDaySeconds = 150;
constexpr float kThreshold = 0.08f;

std::vector<Entity*> subjects() {
    std::vector<Entity*> list{boat,      streetLamp, lightBulbs, jetty,   sun,  furniture,
                              breakfast, coffeeCup,  juice,      glasses, vase, flower};
    list.insert(list.end(), treeEntities.begin(), treeEntities.end());
    list.insert(list.end(), grassEntities.begin(), grassEntities.end());
    return list;
}

void drawGrid(const Shader& mask, unsigned int vao, size_t indexCount, glm::vec3 at,
              glm::vec3 colour) {
    mask.use();
    mask.setInt("cutOut", 0);
    mask.setVec3("colour", colour.x, colour.y, colour.z);
    mask.setMat4("model", glm::translate(glm::mat4(1.0f), at));
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, GLsizei(indexCount), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

// Draws the mask of the main camera's current view into the back buffer
// (terrain black, so it hides what lies behind it) and reads it back.
std::vector<unsigned char> drawMask(Shader& mask, int width, int height) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, width, height);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mask.use();
    mask.setMat4("projection", screenProjection(width, height));
    mask.setMat4("view", mainCamera->viewMatrix());
    mask.setInt("texture_diffuse1", 0);
    glDisable(GL_CULL_FACE);
    drawGrid(mask, terrain->VAO, terrain->indices.size(), terrain->position, glm::vec3(0.0f));
    drawGrid(mask, water->VAO, water->indices.size(), water->position, glm::vec3(1.0f));
    for (Entity* e : subjects()) {
        mask.use();
        mask.setInt("cutOut", e->model->cullFaces ? 0 : 1);
        e->draw(&mask);
        glDisable(GL_CULL_FACE);
    }
    glEnable(GL_CULL_FACE);
    glActiveTexture(GL_TEXTURE0);

    return readBackBuffer(width, height);
}

// Steps the day, 60 frames a second without drawing, to `seconds` after the
// first frame (a moment before the clock is refused: false).
bool advanceTo(double firstFrameAt, double seconds) {
    if (!advanceToMoment("snapshot", firstFrameAt, seconds)) return false;
    simulateFrame();
    return true;
}

int printDay(Shader& mask, double firstFrameAt) {
    std::vector<float> shares;
    for (int s = 0; s <= kDaySeconds; ++s) {
        advanceTo(firstFrameAt, s);
        shares.push_back(whiteFraction(drawMask(mask, screenWidth, screenHeight)));
        glfwSwapBuffers(appWindow->window);
        std::printf("coverage %3d s %5.1f %%\n", s, double(shares.back()) * 100.0);
    }
    const CoverageSummary sum = summariseCoverage(shares, kThreshold);
    std::printf(
        "coverage: %d of %d seconds (%.1f %%) at or above %.0f %%; longest run below: %d s\n",
        sum.covered, sum.seconds, 100.0 * sum.covered / std::max(sum.seconds, 1),
        double(kThreshold) * 100.0, sum.longestGap);
    return 0;
}

int saveMasks(Shader& mask, double firstFrameAt, int count, char** pairs) {
    for (int i = 0; i + 1 < count; i += 2) {
        const double seconds = std::atof(pairs[i]);
        if (!advanceTo(firstFrameAt, seconds)) return 2;
        const std::vector<unsigned char> rgb = drawMask(mask, screenWidth, screenHeight);
        glfwSwapBuffers(appWindow->window);
        if (!writePng(pairs[i + 1], screenWidth, screenHeight, rgb)) {
            std::fprintf(stderr, "snapshot: cannot write %s\n", pairs[i + 1]);
            return 1;
        }
        std::printf("coverage %s at %.1f s: %.1f %%\n", pairs[i + 1], seconds,
                    double(whiteFraction(rgb)) * 100.0);
    }
    return 0;
}

}  // namespace

float whiteFraction(const std::vector<unsigned char>& rgb) {
    const size_t pixels = rgb.size() / 3;
    if (pixels == 0) return 0.0f;
    size_t white = 0;
    for (size_t i = 0; i < pixels; ++i) white += rgb[3 * i] >= 128 ? 1 : 0;
    return float(double(white) / double(pixels));
}

CoverageSummary summariseCoverage(const std::vector<float>& shares, float threshold) {
    CoverageSummary sum;
    int gap = 0;
    for (const float share : shares) {
        ++sum.seconds;
        if (share >= threshold) {
            ++sum.covered;
            gap = 0;
        } else {
            sum.longestGap = std::max(sum.longestGap, ++gap);
        }
    }
    return sum;
}

int runCoverage(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0 || std::atoi(argv[1]) <= 0 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr,
                     "usage: snapshot <width> <height> --coverage [<seconds> <mask.png> ...]\n");
        return 2;
    }
    prepareToolRun(std::atoi(argv[1]), std::atoi(argv[2]));
    init();
    int status;
    {
        Shader mask(MD_COVERAGE_SHADERS "/coverageVert.txt",
                    MD_COVERAGE_SHADERS "/coverageFrag.txt");
        simulatedTime = 1.0;
        runFrame();  // the first frame: the clock jumps to its start
        const double firstFrameAt = simulatedTime;
        status = argc == 4 ? printDay(mask, firstFrameAt)
                           : saveMasks(mask, firstFrameAt, argc - 4, argv + 4);
    }
    cleanup();
    return status;
}
