#include "app/AdaptiveQuality.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/QualityControl.h"
#include "app/ShadowPass.h"
#include "core/Globals.h"
#include "effects/WaterFrameBuffers.h"
#include "lighting/ShadowMap.h"
#include "render/Shader.h"

namespace {

QualityMode mode = QualityMode::Auto;
bool statsOn = false;
RenderScaleController controller;
std::vector<double> frameMs;
float nextScale = 1.0f;

// The share of a target's sides that the frame draws into; with `lastName`,
// also the last texel centre inside it (1 at full scale, where the lookups
// stay as they are).
void setShare(Shader* shader, const char* name, int width, int height,
              const char* lastName = nullptr) {
    if (!shader || width <= 0 || height <= 0) return;
    shader->use();
    const float w = float(scaledSide(width)), h = float(scaledSide(height));
    glUniform2f(glGetUniformLocation(shader->program, name), w / float(width), h / float(height));
    if (lastName) {
        const bool reduced = renderScale < 1.0f;
        glUniform2f(glGetUniformLocation(shader->program, lastName),
                    reduced ? (w - 0.5f) / float(width) : 1.0f,
                    reduced ? (h - 0.5f) / float(height) : 1.0f);
    }
    glUseProgram(0);
}

void uploadRenderScale() {
    for (Shader* s : {horizontalGlowShader, verticalGlowShader})
        setShare(s, "uvScale", screenWidth, screenHeight);
    setShare(effectShader, "uvScale", screenWidth, screenHeight, "uvMax");
    if (shadowMap)
        for (Shader* s : {modelShader, terrainShader})
            setShare(s, "shadowScale", shadowMap->shadowWidth, shadowMap->shadowHeight);
    setShare(waterShader, "targetScale", WaterFrameBuffers::kWidth, WaterFrameBuffers::kHeight,
             "targetMax");
}

}  // namespace

void initQuality() {
    bool recognised = true;
    mode = qualityModeFrom(std::getenv("MORROWDOCK_QUALITY"), &recognised);
    if (!recognised)
        std::fprintf(stderr, "MORROWDOCK_QUALITY=%s is not auto or full; using auto\n",
                     std::getenv("MORROWDOCK_QUALITY"));
    const char* stats = std::getenv("MORROWDOCK_STATS");
    statsOn = stats && std::strcmp(stats, "1") == 0;
    controller = RenderScaleController();
    frameMs.clear();
    nextScale = 1.0f;
}

void setRenderScale(float scale) {
    if (!(scale > 0.0f)) scale = 1.0f;
    if (scale > 1.0f) scale = 1.0f;
    renderScaleChanged = scale != renderScale;
    renderScale = scale;
    uploadRenderScale();
}

void beginQualityFrame() {
    if (nextScale != renderScale) {
        setRenderScale(nextScale);
    } else {
        renderScaleChanged = false;
    }
}

void endQualityFrame(double frameSeconds) {
    if (statsOn) frameMs.push_back(frameSeconds * 1000.0);
    if (mode == QualityMode::Auto) nextScale = controller.update(frameSeconds);
}

void reportQuality() {
    if (statsOn) std::fprintf(stderr, "%s\n", frameStatsLine(frameMs, renderScale).c_str());
}
