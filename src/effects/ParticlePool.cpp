#include "effects/ParticlePool.h"

#include <algorithm>
#include <cstdlib>

namespace {

// From -1 to 0.999 in steps of 0.001.
float randomUnit() {
    return static_cast<float>(std::rand() % 2000 - 1000) / 1000.0f;
}

}  // namespace

ParticlePool::ParticlePool(const std::vector<glm::vec3>& emitters)
    : emitters(emitters), positionSizeData(kPoolSize, glm::vec4(0.0f)) {}

int ParticlePool::emissionCount(double dt) {
    const double wanted = dt * kEmissionRate;
    if (!(wanted > 0.0)) return 0;  // zero, negative or not a number
    if (wanted >= kMaxEmittedPerFrame) return kMaxEmittedPerFrame;
    return static_cast<int>(wanted);
}

// A life that has run out is 0 or less. A slot whose life came out exactly 0
// is as dead as any other; if it stayed taken, frames that use up a life
// exactly (eighth-second frames, or float clock steps that happen to) would
// leak one slot per particle and exhaust the pool within a second.
int ParticlePool::findUnusedParticle() {
    for (int i = lastUsedParticle; i < kPoolSize; ++i) {
        if (particles[i].life <= 0.0f) {
            lastUsedParticle = i;
            return i;
        }
    }
    for (int i = 0; i < lastUsedParticle; ++i) {
        if (particles[i].life <= 0.0f) {
            lastUsedParticle = i;
            return i;
        }
    }
    return 0;
}

void ParticlePool::emitParticles(float dt) {
    if (emitters.empty()) return;
    const int count = emissionCount(static_cast<double>(dt));
    for (int i = 0; i < count; ++i) {
        Particle& p = particles[findUnusedParticle()];
        p.life = particleLife;
        p.position = emitters[i % emitters.size()];
        const float u1 = randomUnit();
        const float u2 = randomUnit();
        const float u3 = randomUnit();
        // Mostly upwards, with a random spread of 2 in every direction.
        p.speed = glm::vec3(2.0f * u3, 2.0f * u2 + 1.5f, 2.0f * u1);
        p.size = static_cast<float>(std::rand() % 10 + 1) * 0.005f;
    }
}

void ParticlePool::simulateParticles(float dt, const glm::vec3& eye) {
    particlesCount = 0;
    for (Particle& p : particles) {
        if (!(p.life > 0.0f)) continue;
        p.life -= dt;
        if (p.life > 0.0f) {
            p.position += p.speed * dt * 0.5f;
            const glm::vec3 d = p.position - eye;
            p.cameraDistance = glm::dot(d, d);
            positionSizeData[particlesCount] = glm::vec4(p.position, p.size);
            ++particlesCount;
        } else {
            p.cameraDistance = -1.0f;
        }
    }
}

void ParticlePool::sortParticles() {
    // The living (a distance of 0 or more) go first and only they are
    // sorted, farthest first: the dead slots, most of the pool, all carry -1
    // and need no order among themselves. A distance that is not a number
    // (an eye that is not a point) counts as dead.
    const auto living = std::partition(particles.begin(), particles.end(),
                                       [](const Particle& p) { return p.cameraDistance >= 0.0f; });
    std::sort(particles.begin(), living, [](const Particle& a, const Particle& b) {
        return a.cameraDistance > b.cameraDistance;
    });
}

void ParticlePool::step(float dt, const glm::vec3& eye) {
    emitParticles(dt);
    simulateParticles(dt, eye);
    sortParticles();
}
