#include "app/AdaptiveQuality.h"

#include <GL/glew.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/QualityControl.h"
#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "effects/WaterFrameBuffers.h"
#include "frame/EnvironmentCapture.h"
#include "frame/ShadowPass.h"
#include "lighting/ShadowMap.h"
#include "render/LightVariants.h"
#include "render/Shader.h"

namespace {

QualityMode mode = QualityMode::Auto;
bool statsOn = false;
bool slicesOn = false;  // the line, then one line for each 5 s of the run
RenderScaleController controller;
std::vector<double> frameMs;
std::vector<float> frameScales;  // the scale each timed frame was drawn at
float nextScale = 1.0f;
long builtBefore = 0;  // narrower lighting programs built before the frame

// The start-up capture's reduced scale, and what a full frame costs next to
// a full capture (on a software rasterizer, measured: 180 ms to 850 ms).
constexpr float kProbeScale = 0.3f;
constexpr double kFrameShareOfCapture = 0.2;
constexpr double kSliceSeconds = 5.0;

// The share of a target's sides that the frame draws into.
void setShare(Shader* shader, const char* name, int width, int height,
              int (*drawnSide)(int) = scaledSide) {
    if (!shader || width <= 0 || height <= 0) return;
    shader->use();
    shader->setVec2(name, float(drawnSide(width)) / float(width),
                    float(drawnSide(height)) / float(height));
    glUseProgram(0);
}

// The last and (with `firstName`) the first texel centre of the part a frame
// draws into: 1 and 0 at full scale, where the lookups stay as they are.
void setEdges(Shader* shader, const char* lastName, const char* firstName, int width, int height,
              int (*drawnSide)(int) = scaledSide) {
    if (!shader || width <= 0 || height <= 0) return;
    shader->use();
    const bool reduced = quality.reduced();
    const float w = float(drawnSide(width)), h = float(drawnSide(height));
    shader->setVec2(lastName, reduced ? (w - 0.5f) / float(width) : 1.0f,
                    reduced ? (h - 0.5f) / float(height) : 1.0f);
    if (firstName)
        shader->setVec2(firstName, reduced ? 0.5f / float(width) : 0.0f,
                        reduced ? 0.5f / float(height) : 0.0f);
    glUseProgram(0);
}

void uploadRenderScale() {
    for (Shader* s : {horizontalGlowShader, verticalGlowShader})
        setShare(s, "uvScale", screenWidth, screenHeight);
    setShare(effectShader, "uvScale", screenWidth, screenHeight);
    setEdges(effectShader, "uvMax", nullptr, screenWidth, screenHeight);
    // The stretch of a reduced frame's picture.
    setShare(frameBufferShader, "uvScale", screenWidth, screenHeight);
    setEdges(frameBufferShader, "uvMax", nullptr, screenWidth, screenHeight);
    if (shadowMap)
        for (Shader* s : {modelShader, terrainShader})
            setShare(s, "shadowScale", shadowMap->shadowWidth, shadowMap->shadowHeight,
                     scaledShadowSide);
    setShare(waterShader, "targetScale", WaterFrameBuffers::kWidth, WaterFrameBuffers::kHeight,
             scaledWaterSide);
    setEdges(waterShader, "targetMax", "targetMin", WaterFrameBuffers::kWidth,
             WaterFrameBuffers::kHeight, scaledWaterSide);
}

}  // namespace

void initQuality() {
    bool recognised = true;
    mode = qualityModeFrom(std::getenv("MORROWDOCK_QUALITY"), &recognised);
    if (!recognised)
        std::fprintf(stderr, "MORROWDOCK_QUALITY=%s is not auto or full; using auto\n",
                     std::getenv("MORROWDOCK_QUALITY"));
    const char* stats = std::getenv("MORROWDOCK_STATS");
    statsOn = stats && (std::strcmp(stats, "1") == 0 || std::strcmp(stats, "slices") == 0);
    slicesOn = stats && std::strcmp(stats, "slices") == 0;
    // Shortcuts turned off by name, to trace a difference in the picture.
    const char* without = std::getenv("MORROWDOCK_WITHOUT");
    std::string unknown;
    if (without && !quality.turnOff(without, &unknown))
        std::fprintf(stderr, "MORROWDOCK_WITHOUT: no shortcut is called %s\n", unknown.c_str());
    controller = RenderScaleController();
    frameMs.clear();
    frameScales.clear();
    nextScale = 1.0f;
    builtBefore = LightVariants::totalBuilt();
}

void setRenderScale(float scale) {
    quality.setScale(scale > 0.0f ? scale : 1.0f);
    uploadRenderScale();
}

void captureAtStartUp() {
    if (mode == QualityMode::Full) {
        captureEnvironment();
        return;
    }
    setRenderScale(kProbeScale);
    const auto start = std::chrono::steady_clock::now();
    captureEnvironment();
    glFinish();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Measured here: a full frame costs about a fifth of a full capture.
    const double fullFrame = seconds / double(kProbeScale * kProbeScale) * kFrameShareOfCapture;
    controller.startFor(fullFrame);
    nextScale = controller.scale();
    setRenderScale(nextScale);
    if (nextScale >= 1.0f) captureEnvironment();
}

void beginQualityFrame() {
    if (nextScale != quality.scale) setRenderScale(nextScale);
    if (!quality.reduced() && captureReduced) captureEnvironment();
}

void endQualityFrame(double frameSeconds) {
    quality.wholeClears = false;  // the frame has cleared every target whole
    if (statsOn) {
        frameMs.push_back(frameSeconds * 1000.0);
        frameScales.push_back(quality.scale);
    }
    // A frame that built a narrower lighting program paid for the driver's
    // compiling too.
    const long built = LightVariants::totalBuilt();
    const bool representative = built == builtBefore;
    builtBefore = built;
    if (mode == QualityMode::Auto) nextScale = controller.update(frameSeconds, representative);
}

void reportQuality() {
    if (statsOn) std::fprintf(stderr, "%s\n", frameStatsLine(frameMs, frameScales).c_str());
    if (slicesOn)
        for (const std::string& line : frameSliceLines(frameMs, frameScales, kSliceSeconds))
            std::fprintf(stderr, "%s\n", line.c_str());
}
