#include "core/Globals.h"

#include <cmath>

int screenWidth = 1080;
int screenHeight = 720;

float deltaTime = 0.0f;
float timeOfDay = 0.0f;

Shader* modelShader = nullptr;
Shader* terrainShader = nullptr;
Shader* cubemapShader = nullptr;
Shader* waterShader = nullptr;
Shader* depthShader = nullptr;
Shader* horizontalGlowShader = nullptr;
Shader* verticalGlowShader = nullptr;
Shader* frameBufferShader = nullptr;
Shader* reflectionShader = nullptr;
Shader* effectShader = nullptr;
Shader* particleShader = nullptr;

std::vector<Shader*> sceneShaders;

float renderScale = 1.0f;
bool renderScaleChanged = false;

namespace {
int sideAt(int side, double scale) {
    const int scaled = static_cast<int>(std::lround(static_cast<double>(side) * scale));
    return scaled < 1 ? 1 : scaled;
}
}  // namespace

int scaledSide(int side) {
    if (renderScale >= 1.0f) return side;
    return sideAt(side, renderScale);
}

int scaledShadowSide(int side) {
    if (renderScale >= 1.0f) return side;
    return sideAt(side, double(renderScale) * kReducedShadowShare);
}
