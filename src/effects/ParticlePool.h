#pragma once
// The processor side of the smoke: a fixed pool of particles, emission at a
// rate tied to the frame time, straight-line motion, retirement after a quarter
// of a second, the instance data (centre and size per living particle) and the
// far-to-near sort. Needs no GL context.
//
// Random numbers come from the C library's rand(), which the program never
// seeds, so every run draws the same smoke.

#include <array>
#include <glm/glm.hpp>
#include <vector>

#include "effects/Particle.h"

class ParticlePool {
public:
    static constexpr int kPoolSize = 10000;
    static constexpr int kMaxEmittedPerFrame = 160;
    static constexpr double kEmissionRate = 10000.0;  // particles per second of frame time
    static constexpr float kParticleLife = 0.25f;

    std::vector<glm::vec3> emitters;
    std::array<Particle, kPoolSize> particles;
    int particlesCount = 0;    // instances filled by the last simulation step
    int lastUsedParticle = 0;  // where the search for a free slot starts
    float particleLife = kParticleLife;
    // Entry k is (position, size) of the k-th living particle of the last step.
    std::vector<glm::vec4> positionSizeData;

    explicit ParticlePool(const std::vector<glm::vec3>& emitters);
    virtual ~ParticlePool() = default;

    // New particles for a frame of dt seconds: (int)(dt * 10000), at most 160;
    // none for a frame time that is not a positive number.
    static int emissionCount(double dt);

    // A slot whose life has run out (0 or less), searched from lastUsedParticle to the end and then
    // from the start; it becomes lastUsedParticle. With every slot in use the
    // answer is 0 and lastUsedParticle stays.
    int findUnusedParticle();

    // Emits emissionCount(dt) particles, taking the emitters in turn starting
    // with the first. An empty emitter list emits nothing.
    void emitParticles(float dt);

    // Ages and moves every living particle by dt, records its squared distance
    // to eye and refills the instance data in slot order.
    void simulateParticles(float dt, const glm::vec3& eye);

    // Orders the whole pool by cameraDistance, farthest first; dead and free
    // slots (-1) go to the end.
    void sortParticles();

    // One frame: emit, simulate, sort.
    void step(float dt, const glm::vec3& eye);
};
