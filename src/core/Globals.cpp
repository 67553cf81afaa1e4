#include "core/Globals.h"

int screenWidth = 1080;
int screenHeight = 720;
int windowWidth = 0;
int windowHeight = 0;

int shownWidth() {
    return windowWidth > 0 ? windowWidth : screenWidth;
}

int shownHeight() {
    return windowHeight > 0 ? windowHeight : screenHeight;
}

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
