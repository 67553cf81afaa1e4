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

// The share of a target's sides that the frame draws into.
void setShare(Shader* shader, const char* name, int width, int height) {
    if (!shader || width <= 0 || height <= 0) return;
    shader->use();
    glUniform2f(glGetUniformLocation(shader->program, name),
                float(scaledSide(width)) / float(width), float(scaledSide(height)) / float(height));
    glUseProgram(0);
}

void uploadRenderScale() {
    for (Shader* s : {horizontalGlowShader, verticalGlowShader, effectShader})
        setShare(s, "uvScale", screenWidth, screenHeight);
    if (effectShader && screenWidth > 0 && screenHeight > 0) {
        // The resolve's filter stays half a texel inside the drawn part.
        const bool reduced = renderScale < 1.0f;
        effectShader->use();
        glUniform2f(glGetUniformLocation(effectShader->program, "uvMax"),
                    reduced ? (float(scaledSide(screenWidth)) - 0.5f) / float(screenWidth) : 1.0f,
                    reduced ? (float(scaledSide(screenHeight)) - 0.5f) / float(screenHeight) : 1.0f);
        glUseProgram(0);
    }
    if (shadowMap)
        for (Shader* s : {modelShader, terrainShader})
            setShare(s, "shadowScale", shadowMap->shadowWidth, shadowMap->shadowHeight);
    setShare(waterShader, "targetScale", WaterFrameBuffers::kWidth, WaterFrameBuffers::kHeight);
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
