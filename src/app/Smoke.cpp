#include "app/Smoke.h"

#include <GL/glew.h>

#include "effects/ParticleSystem.h"

ParticleSystem* particleSystem = nullptr;

void initParticles() {
    particleSystem =
        new ParticleSystem({glm::vec3(-1.0f, 8.5f, -0.8f), glm::vec3(-2.3f, 8.5f, 6.3f)});
}

void drawSmoke() {
    if (!particleSystem) return;
    glBlendFunc(GL_ONE, GL_ONE);
    particleSystem->update();
    particleSystem->draw();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void stepSmoke() {
    if (particleSystem) particleSystem->update();
}

void releaseParticles() {
    delete particleSystem;
    particleSystem = nullptr;
}
