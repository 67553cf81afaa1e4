#include "effects/Water.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "core/Globals.h"
#include "effects/WaterFrameBuffers.h"
#include "effects/WaterMath.h"
#include "render/Shader.h"
#include "render/TextureLoader.h"
#include "render/ViewVolume.h"

Shader* deepWaterShader = nullptr;

namespace {

// How far behind the surface the mark lies: four steps of the bound depth
// buffer, and never less than four steps of a 24-bit one (a float depth near
// 1 has that resolution). 0 when the target has no depth.
float markDepthMargin() {
    GLint bits = 0;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &bits);
    if (bits <= 0) return 0.0f;
    const double step = 1.0 / (std::ldexp(1.0, std::min(bits, 32)) - 1.0);
    return float(4.0 * std::max(step, std::ldexp(1.0, -24)));
}

Texture loadWaterMap(const char* path, const char* type) {
    Texture texture;
    texture.id = loadTexture(path);
    texture.type = type;
    texture.path = path;
    return texture;
}

}  // namespace

Water::Water(const std::vector<Shader*>& clipShaders, WaterFrameBuffers* frameBuffers,
             const WaterSettings& settings)
    : shader(waterShader),
      clipShaders(clipShaders),
      frameBuffers(frameBuffers),
      waveSpeed(settings.waveSpeed),
      distortionStrength(settings.distortionStrength),
      position(settings.position) {
    dudvTexture = loadWaterMap(Water::kDudvPath, "dudvMap");
    normalTexture = loadWaterMap(Water::kNormalPath, "normalMap");
    model = glm::translate(glm::mat4(1.0f), position);
    if (shader) {
        const GLuint program = shader->program;
        reflectionTextureLocation = glGetUniformLocation(program, "reflectionTexture");
        refractionTextureLocation = glGetUniformLocation(program, "refractionTexture");
        depthTextureLocation = glGetUniformLocation(program, "depthTexture");
        dudvMapLocation = glGetUniformLocation(program, "DUDVMap");
        normalMapLocation = glGetUniformLocation(program, "normalMap");
        moveFactorLocation = glGetUniformLocation(program, "moveFactor");
        setConstantUniforms(settings);
    }
    buildMesh(settings.halfExtents);
}

Water::~Water() {
    glDeleteVertexArrays(1, &VAO);
    glDeleteBuffers(1, &VBO);
    glDeleteBuffers(1, &EBO);
    glDeleteTextures(1, &dudvTexture.id);
    glDeleteTextures(1, &normalTexture.id);
}

void Water::setConstantUniforms(const WaterSettings& s) {
    shader->use();
    shader->setMat4("model", model);
    shader->setFloat("distortionStrength", s.distortionStrength);
    shader->setFloat("waveLength", s.waveLength);
    shader->setFloat("bumpiness", 1.0f / s.bumpinessDivisor);
    shader->setFloat("shininess", s.shininess);
    shader->setFloat("shineDumper", s.shineDamper);
    shader->setFloat("distortionRange", s.distortionRange);
    shader->setFloat("transparencyRange", s.transparencyRange);
    shader->setFloat("specularRange", s.specularRange);
    shader->setFloat("halfWaterColorRange", s.halfWaterColorRange);
    shader->setVec3("waterColor", s.waterColor.r, s.waterColor.g, s.waterColor.b);
}

void Water::buildMesh(const std::array<glm::vec2, 4>& halfExtents) {
    const std::array<glm::vec3, 4> corners = waterCorners(halfExtents);
    vertices.assign(corners.begin(), corners.end());
    indices = {0, 2, 1, 2, 3, 1};

    glGenVertexArrays(1, &VAO);
    glGenBuffers(1, &VBO);
    glGenBuffers(1, &EBO);
    glBindVertexArray(VAO);
    glBindBuffer(GL_ARRAY_BUFFER, VBO);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(glm::vec3)), vertices.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, EBO);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(unsigned int)),
                 indices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(glm::vec3), nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void Water::draw() {
    moveFactor = advanceMoveFactor(moveFactor, waveSpeed, deltaTime);
    if (!shader || !frameBuffers) return;
    shader->use();

    const unsigned int textures[5] = {
        frameBuffers->reflectionTexture, frameBuffers->refractionTexture,
        frameBuffers->refractionDepthTexture, dudvTexture.id, normalTexture.id};
    const int locations[5] = {reflectionTextureLocation, refractionTextureLocation,
                              depthTextureLocation, dudvMapLocation, normalMapLocation};
    for (int unit = 0; unit < 5; ++unit) {
        glActiveTexture(GL_TEXTURE0 + GLenum(unit));
        glUniform1i(locations[unit], unit);
        glBindTexture(GL_TEXTURE_2D, textures[unit]);
    }
    glUniform1f(moveFactorLocation, moveFactor);

    glBindVertexArray(VAO);
    glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);

    for (int unit = 0; unit < 4; ++unit) {
        glActiveTexture(GL_TEXTURE0 + GLenum(unit));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glUseProgram(0);
}

ViewportArea Water::onScreen(const ViewVolume& view) const {
    if (!shader || vertices.empty()) return {glm::vec2(0.0f), glm::vec2(1.0f), false};
    return onScreen(view, {surfaceBox()});
}

ViewportArea Water::onScreen(const ViewVolume& view, const std::vector<Box>& parts) const {
    if (!shader) return {glm::vec2(0.0f), glm::vec2(1.0f), false};
    const glm::mat4& clipFromWorld = view.clipFromWorld;
    const float y = height();
    ViewportArea all;
    for (const Box& part : parts)
        if (!part.empty)
            all = unite(all, projectPolygon(clipFromWorld, {{part.min.x, y, part.min.z},
                                                            {part.max.x, y, part.min.z},
                                                            {part.max.x, y, part.max.z},
                                                            {part.min.x, y, part.max.z}}));
    return all;
}

Box Water::surfaceBox() const {
    Box box;
    for (const glm::vec3& corner : vertices) box.add(glm::vec3(model * glm::vec4(corner, 1.0f)));
    return box;
}

void Water::setClipPlane(const glm::vec4& plane, const std::string& name) {
    for (Shader* s : clipShaders) {
        if (!s) continue;
        s->use();
        s->setVec4(name.c_str(), plane.x, plane.y, plane.z, plane.w);
    }
}

void Water::markDeepWater(const PixelRect& keepOut) {
    if (!deepWaterShader || !shader || !frameBuffers) return;
    const float margin = markDepthMargin();
    if (margin <= 0.0f) return;
    deepWaterShader->takeOver(*shader);
    deepWaterShader->setVec4("keepOut", float(keepOut.x0), float(keepOut.y0), float(keepOut.x1),
                             float(keepOut.y1));
    deepWaterShader->setFloat("depthMargin", margin);
    deepWaterShader->setInt("depthTexture", 2);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, frameBuffers->refractionDepthTexture);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glBindVertexArray(VAO);
    glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(0);
}
