#include "effects/Skybox.h"

#include <GL/glew.h>

#include "camera/Camera.h"
#include "core/Globals.h"
#include "effects/SkyMath.h"
#include "render/Shader.h"
#include "render/TextureLoader.h"

Shader* oneMapSkyShader = nullptr;

const std::vector<std::string> Skybox::dayFaces = {
    "../textures/skybox/right.png",  "../textures/skybox/left.png", "../textures/skybox/top.png",
    "../textures/skybox/bottom.png", "../textures/skybox/back.png", "../textures/skybox/front.png"};

const std::vector<std::string> Skybox::nightFaces = {
    "../textures/skybox/nightRight.png", "../textures/skybox/nightLeft.png",
    "../textures/skybox/nightTop.png",   "../textures/skybox/nightBottom.png",
    "../textures/skybox/nightBack.png",  "../textures/skybox/nightFront.png"};

Skybox::Skybox(Shader* shader, Camera* camera)
    : shader(shader), camera(camera), rotationSpeed(kSkyRotationSpeed) {
    glGenVertexArrays(1, &VAO);
    glGenBuffers(1, &VBO);
    glBindVertexArray(VAO);
    glBindBuffer(GL_ARRAY_BUFFER, VBO);
    glBufferData(GL_ARRAY_BUFFER, sizeof(kSkyCubeVertices), kSkyCubeVertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    dayTexture = loadCubemap(dayFaces);
    nightTexture = loadCubemap(nightFaces);
}

Skybox::~Skybox() = default;

void Skybox::update() {
    skyRotation = advanceSkyRotation(skyRotation, rotationSpeed, deltaTime);
    if (!shader || !camera) return;
    shader->use();
    shader->setMat4("view", turnedSkyView(camera->view, skyRotation));
    glUseProgram(0);
}

void Skybox::draw(const FrameChoices& choices) {
    const SkyBlend blend = skyBlendAt(timeOfDay);
    fromTexture = blend.fromDay ? dayTexture : nightTexture;
    toTexture = blend.toDay ? dayTexture : nightTexture;
    blendFactor = blend.factor;
    if (!shader) return;

    // The cube lands exactly on the far plane; LEQUAL lets it through where
    // nothing has been drawn yet.
    glDepthFunc(GL_LEQUAL);
    Shader* program = shader;
    if (choices.oneMapSky && oneMapSkyShader && fromTexture == toTexture) {
        // With the view and projection each pass gave the sky's program.
        oneMapSkyShader->takeOver(*shader);
        program = oneMapSkyShader;
    }
    program->use();
    glBindVertexArray(VAO);
    glActiveTexture(GL_TEXTURE0);
    program->setInt("skybox", 0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, fromTexture);
    glActiveTexture(GL_TEXTURE1);
    program->setInt("skyboxNight", 1);
    glBindTexture(GL_TEXTURE_CUBE_MAP, toTexture);
    program->setFloat("blendFactor", blendFactor);
    glDrawArrays(GL_TRIANGLES, 0, kSkyCubeVertexCount);
    glBindVertexArray(0);
    glDepthFunc(GL_LESS);
    glUseProgram(0);
}
