// The smoke pool without GL: how many particles a frame emits, where from and
// with what motion, their life and death, the instance data and the
// far-to-near order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "effects/ParticlePool.h"

namespace {

const glm::vec3 kCupA(-1.0f, 8.5f, -0.8f);
const glm::vec3 kCupB(-2.3f, 8.5f, 6.3f);
const glm::vec3 kEye(0.0f, 12.0f, 10.0f);

std::unique_ptr<ParticlePool> twoCups() {
    return std::make_unique<ParticlePool>(std::vector<glm::vec3>{kCupA, kCupB});
}

int living(const ParticlePool& pool) {
    int n = 0;
    for (const Particle& p : pool.particles) n += p.life > 0.0f;
    return n;
}

// Slots are filled from the start of the pool while nothing has died yet.
void expectFreshParticle(const Particle& p, const glm::vec3& emitter) {
    EXPECT_EQ(p.life, 0.25f);
    EXPECT_EQ(p.position, emitter);
    EXPECT_GE(p.speed.x, -2.0f);
    EXPECT_LT(p.speed.x, 2.0f);
    EXPECT_GE(p.speed.y, -0.5f);
    EXPECT_LT(p.speed.y, 3.5f);
    EXPECT_GE(p.speed.z, -2.0f);
    EXPECT_LT(p.speed.z, 2.0f);
    const float steps = p.size / 0.005f;
    EXPECT_NEAR(steps, std::round(steps), 1e-3f);
    EXPECT_GE(p.size, 0.005f - 1e-7f);
    EXPECT_LE(p.size, 0.05f + 1e-7f);
}

}  // namespace

TEST(ParticlePool, FreshPoolIsEmpty) {
    auto pool = twoCups();
    EXPECT_EQ(pool->particlesCount, 0);
    EXPECT_EQ(pool->lastUsedParticle, 0);
    EXPECT_EQ(pool->particleLife, 0.25f);
    ASSERT_EQ(pool->positionSizeData.size(), 10000u);
    for (const Particle& p : pool->particles) {
        EXPECT_EQ(p.life, -1.0f);
        EXPECT_EQ(p.cameraDistance, -1.0f);
    }
    for (const glm::vec4& v : pool->positionSizeData) EXPECT_EQ(v, glm::vec4(0.0f));
}

TEST(ParticlePool, EmissionFollowsTheFrameTimeUpToTheCap) {
    EXPECT_EQ(ParticlePool::emissionCount(0.001f), 10);
    EXPECT_EQ(ParticlePool::emissionCount(0.016f), 160);
    EXPECT_EQ(ParticlePool::emissionCount(0.05f), 160);
    EXPECT_EQ(ParticlePool::emissionCount(1.0 / 60.0), 160);
    EXPECT_EQ(ParticlePool::emissionCount(0.00099), 9);  // truncated, not rounded
    EXPECT_EQ(ParticlePool::emissionCount(0.0), 0);
    EXPECT_EQ(ParticlePool::emissionCount(-0.01), 0);
    EXPECT_EQ(ParticlePool::emissionCount(std::nan("")), 0);
    EXPECT_EQ(ParticlePool::emissionCount(1e30), 160);

    auto pool = twoCups();
    pool->emitParticles(0.001f);
    EXPECT_EQ(living(*pool), 10);
    // The cups take turns, the first one first.
    for (int i = 0; i < 10; ++i) expectFreshParticle(pool->particles[i], i % 2 ? kCupB : kCupA);
    EXPECT_EQ(pool->particles[10].life, -1.0f);
    pool->emitParticles(0.05f);
    EXPECT_EQ(living(*pool), 170);
    expectFreshParticle(pool->particles[10], kCupA);
}

TEST(ParticlePool, OddOrMissingEmittersAreHandled) {
    ParticlePool single({kCupB});
    single.emitParticles(0.001f);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(single.particles[i].position, kCupB);

    ParticlePool none({});
    none.step(0.016f, kEye);
    EXPECT_EQ(living(none), 0);
    EXPECT_EQ(none.particlesCount, 0);
}

TEST(ParticlePool, NeverSeededRandomnessGivesTheSameSmokeEveryRun) {
    // rand() before any srand() behaves as after srand(1).
    std::srand(1);
    const float u1 = float(std::rand() % 2000 - 1000) / 1000.0f;
    const float u2 = float(std::rand() % 2000 - 1000) / 1000.0f;
    const float u3 = float(std::rand() % 2000 - 1000) / 1000.0f;
    const float size = float(std::rand() % 10 + 1) * 0.005f;

    std::srand(1);
    auto first = twoCups();
    first->emitParticles(0.016f);
    const Particle& p = first->particles[0];
    EXPECT_EQ(p.speed, glm::vec3(2.0f * u3, 2.0f * u2 + 1.5f, 2.0f * u1));
    EXPECT_EQ(p.size, size);

    std::srand(1);
    auto second = twoCups();
    second->emitParticles(0.016f);
    for (int i = 0; i < 160; ++i) {
        EXPECT_EQ(first->particles[i].speed, second->particles[i].speed) << i;
        EXPECT_EQ(first->particles[i].size, second->particles[i].size) << i;
    }
    // Not one fixed value: the spread is real.
    EXPECT_NE(first->particles[0].speed, first->particles[2].speed);
}

TEST(ParticlePool, NewParticlesMoveInTheirFirstUpdateAndTheInstanceDataListsTheLiving) {
    auto pool = twoCups();
    pool->emitParticles(0.001f);
    std::vector<Particle> before(pool->particles.begin(), pool->particles.begin() + 10);
    pool->simulateParticles(0.001f, kEye);
    ASSERT_EQ(pool->particlesCount, 10);
    for (int i = 0; i < 10; ++i) {
        const Particle& p = pool->particles[i];
        const glm::vec3 expected = before[i].position + before[i].speed * 0.001f * 0.5f;
        EXPECT_EQ(p.position, expected);
        EXPECT_FLOAT_EQ(p.life, 0.249f);
        const glm::vec3 d = expected - kEye;
        EXPECT_FLOAT_EQ(p.cameraDistance, glm::dot(d, d));
        EXPECT_EQ(pool->positionSizeData[i], glm::vec4(expected, p.size));
    }

    // Kill a few in the middle: the survivors are listed in slot order.
    pool->particles[2].life = 0.0005f;
    pool->particles[5].life = 0.0005f;
    pool->simulateParticles(0.001f, kEye);
    ASSERT_EQ(pool->particlesCount, 8);
    EXPECT_EQ(pool->particles[2].cameraDistance, -1.0f);
    EXPECT_LT(pool->particles[2].life, 0.0f);
    int k = 0;
    for (int i = 0; i < 10; ++i) {
        if (i == 2 || i == 5) continue;
        EXPECT_EQ(pool->positionSizeData[k++],
                  glm::vec4(pool->particles[i].position, pool->particles[i].size))
            << i;
    }
}

TEST(ParticlePool, ParticlesDieAtTheEndOfTheirLifeAndFreeTheirSlots) {
    auto pool = twoCups();
    pool->emitParticles(0.05f);
    for (int frame = 1; frame <= 2; ++frame) {
        pool->simulateParticles(0.1f, kEye);
        EXPECT_EQ(pool->particlesCount, 160) << frame;
    }
    pool->simulateParticles(0.1f, kEye);  // 0.25 - 0.3 < 0
    EXPECT_EQ(pool->particlesCount, 0);
    EXPECT_EQ(living(*pool), 0);
    for (int i = 0; i < 160; ++i) EXPECT_EQ(pool->particles[i].cameraDistance, -1.0f);

    // Freed slots are found again.
    pool->lastUsedParticle = 0;
    pool->emitParticles(0.016f);
    EXPECT_EQ(living(*pool), 160);
    EXPECT_EQ(pool->lastUsedParticle, 159);

    // A frame of a quarter second or more: everything dies, new ones included.
    auto slow = twoCups();
    slow->step(0.016f, kEye);
    slow->step(0.25f, kEye);
    EXPECT_EQ(slow->particlesCount, 0);
    EXPECT_EQ(living(*slow), 0);
}

TEST(ParticlePool, SteadySmokeRisesFromBothCupsWithoutFillingThePool) {
    std::srand(1);
    auto pool = twoCups();
    for (int frame = 0; frame < 120; ++frame) pool->step(1.0f / 60.0f, kEye);
    // 160 a frame, each seen in 14 or 15 frames.
    EXPECT_GE(pool->particlesCount, 14 * 160);
    EXPECT_LE(pool->particlesCount, 15 * 160);

    glm::vec3 sumA(0.0f), sumB(0.0f);
    int nearA = 0, nearB = 0;
    for (int i = 0; i < pool->particlesCount; ++i) {
        const glm::vec3 p(pool->positionSizeData[i]);
        // Half the speed for at most a quarter second: within 0.5 of a cup.
        const bool a = glm::length(p - kCupA) < 0.5f, b = glm::length(p - kCupB) < 0.5f;
        EXPECT_TRUE(a || b) << i;
        if (a) sumA += p, ++nearA;
        if (b) sumB += p, ++nearB;
    }
    EXPECT_NEAR(nearA, nearB, 1);
    // On average the steam rises well above the coffee and keeps centred.
    const glm::vec3 meanA = sumA / float(nearA), meanB = sumB / float(nearB);
    EXPECT_GT(meanA.y, kCupA.y + 0.05f);
    EXPECT_GT(meanB.y, kCupB.y + 0.05f);
    EXPECT_NEAR(meanA.x, kCupA.x, 0.05f);
    EXPECT_NEAR(meanB.z, kCupB.z, 0.05f);
}

TEST(ParticlePool, SortPutsTheFarthestFirstAndTheDeadLast) {
    std::srand(7);
    auto pool = twoCups();
    for (int frame = 0; frame < 20; ++frame) pool->step(1.0f / 60.0f, kEye);
    // Some slots died on the way, so dead and living were mixed before the sort.
    const int alive = living(*pool);
    ASSERT_GT(alive, 1000);
    for (int i = 0; i < alive; ++i) EXPECT_GT(pool->particles[i].cameraDistance, 0.0f) << i;
    for (int i = alive; i < 10000; ++i) EXPECT_EQ(pool->particles[i].cameraDistance, -1.0f) << i;
    for (int i = 1; i < 10000; ++i)
        ASSERT_GE(pool->particles[i - 1].cameraDistance, pool->particles[i].cameraDistance) << i;
    // Cup A is the farther one from this eye: its steam comes first.
    const float distA = glm::dot(kCupA - kEye, kCupA - kEye);
    const float distB = glm::dot(kCupB - kEye, kCupB - kEye);
    ASSERT_GT(distA, distB);
    EXPECT_LT(glm::length(pool->particles[0].position - kCupA), 0.5f);
    EXPECT_LT(glm::length(pool->particles[alive - 1].position - kCupB), 0.5f);

    // A distance that is not a number (an eye that is not a point) counts as
    // dead: it goes behind every measured one, and those keep their order.
    for (int i = 0; i < alive; i += 7) pool->particles[i].cameraDistance = std::nanf("");
    pool->sortParticles();
    int measured = 0;
    while (measured < 10000 && pool->particles[measured].cameraDistance >= 0.0f) ++measured;
    EXPECT_EQ(measured, alive - (alive + 6) / 7);
    for (int i = 1; i < measured; ++i)
        ASSERT_GE(pool->particles[i - 1].cameraDistance, pool->particles[i].cameraDistance) << i;
    for (int i = measured; i < 10000; ++i) EXPECT_FALSE(pool->particles[i].cameraDistance >= 0.0f) << i;
}

TEST(ParticlePool, FreeSlotSearchWrapsAndAFullPoolReusesSlotZero) {
    auto pool = twoCups();
    for (Particle& p : pool->particles) p.life = 0.1f;
    pool->particles[3].life = -0.5f;
    pool->particles[9000].life = -1.0f;
    pool->lastUsedParticle = 5000;
    EXPECT_EQ(pool->findUnusedParticle(), 9000);
    EXPECT_EQ(pool->lastUsedParticle, 9000);
    pool->particles[9000].life = 0.1f;
    EXPECT_EQ(pool->findUnusedParticle(), 3);  // wrapped round to the start
    EXPECT_EQ(pool->lastUsedParticle, 3);
    pool->particles[3].life = 0.0f;  // run out exactly: free as well
    EXPECT_EQ(pool->findUnusedParticle(), 3);
    pool->particles[3].life = 0.1f;
    EXPECT_EQ(pool->findUnusedParticle(), 0);
    EXPECT_EQ(pool->lastUsedParticle, 3);
}

TEST(ParticlePool, SlotsWhoseLifeEndsAtExactlyZeroAreFreedAgain) {
    // Eighth-second frames use up a life of 0.25 exactly, leaving 0.
    auto pool = twoCups();
    for (int frame = 0; frame < 200; ++frame) {
        pool->step(0.125f, glm::vec3(0.0f));
        ASSERT_EQ(pool->particlesCount, 160) << frame;
    }
    EXPECT_EQ(living(*pool), 160);
}
