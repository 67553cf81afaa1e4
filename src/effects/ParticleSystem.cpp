#include "effects/ParticleSystem.h"

#include <GL/glew.h>

#include "camera/Camera.h"
#include "core/Globals.h"
#include "render/Shader.h"
#include "render/TextureLoader.h"
#include "scene/Scene.h"

namespace {

constexpr float kBillboard[] = {-0.5f, -0.5f, 0.0f, 0.5f, -0.5f, 0.0f,
                                -0.5f, 0.5f,  0.0f, 0.5f, 0.5f,  0.0f};
constexpr GLsizeiptr kInstanceBytes = ParticlePool::kPoolSize * sizeof(glm::vec4);

}  // namespace

ParticleSystem::ParticleSystem(const std::vector<glm::vec3>& emitters)
    : ParticleSystem(emitters, particleShader, mainCamera) {}

ParticleSystem::ParticleSystem(const std::vector<glm::vec3>& emitters, Shader* shader,
                               Camera* camera)
    : ParticlePool(emitters), shader(shader), camera(camera) {
    smokeTexture = loadTexture(kSmokeTexturePath);

    glGenBuffers(1, &billboardVBO);
    glBindBuffer(GL_ARRAY_BUFFER, billboardVBO);
    glBufferData(GL_ARRAY_BUFFER, sizeof(kBillboard), kBillboard, GL_STATIC_DRAW);
    glGenBuffers(1, &positionSizeVBO);
    glBindBuffer(GL_ARRAY_BUFFER, positionSizeVBO);
    glBufferData(GL_ARRAY_BUFFER, kInstanceBytes, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glGenVertexArrays(1, &VAO);
}

ParticleSystem::~ParticleSystem() {
    glDeleteBuffers(1, &positionSizeVBO);
    glDeleteBuffers(1, &billboardVBO);
    glDeleteVertexArrays(1, &VAO);
}

void ParticleSystem::update() {
    step(deltaTime, camera ? camera->position : glm::vec3(0.0f));
}

void ParticleSystem::draw() {
    if (!shader) return;
    const GLint vertices = glGetAttribLocation(shader->program, "vertices");
    const GLint centerPos = glGetAttribLocation(shader->program, "centerPos");
    if (vertices < 0 || centerPos < 0) return;

    glBindVertexArray(VAO);
    // Orphan the old storage so the driver need not wait for the last frame's draw.
    glBindBuffer(GL_ARRAY_BUFFER, positionSizeVBO);
    glBufferData(GL_ARRAY_BUFFER, kInstanceBytes, nullptr, GL_STREAM_DRAW);
    // WebGL refuses an update of no bytes.
    if (particlesCount > 0)
        glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(particlesCount) * sizeof(glm::vec4),
                        positionSizeData.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    shader->use();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, smokeTexture);
    shader->setInt("smokeTexture", 0);

    glBindBuffer(GL_ARRAY_BUFFER, billboardVBO);
    glVertexAttribPointer(GLuint(vertices), 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glVertexAttribDivisor(GLuint(vertices), 0);
    glBindBuffer(GL_ARRAY_BUFFER, positionSizeVBO);
    glVertexAttribPointer(GLuint(centerPos), 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glVertexAttribDivisor(GLuint(centerPos), 1);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnableVertexAttribArray(GLuint(vertices));
    glEnableVertexAttribArray(GLuint(centerPos));

    glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, particlesCount);

    // The arrays' enabled flags belong to the vertex array, so they are
    // switched off while it is still bound.
    glDisableVertexAttribArray(GLuint(vertices));
    glDisableVertexAttribArray(GLuint(centerPos));
    glBindVertexArray(0);
    glUseProgram(0);
}
