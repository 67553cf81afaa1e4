// The sky's cube, its day/night blend over the clock and its turn.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "effects/SkyMath.h"

namespace {

glm::vec3 cubeVertex(int i) {
    return {kSkyCubeVertices[3 * i], kSkyCubeVertices[3 * i + 1], kSkyCubeVertices[3 * i + 2]};
}

void expectBlend(float t, bool fromDay, bool toDay, float factor) {
    const SkyBlend b = skyBlendAt(t);
    EXPECT_EQ(b.fromDay, fromDay) << t;
    EXPECT_EQ(b.toDay, toDay) << t;
    EXPECT_NEAR(b.factor, factor, 1e-5f) << t;
}

}  // namespace

TEST(SkyMath, CubeFacesCoverTheWholeCubeAndFaceTheViewerInside) {
    EXPECT_EQ(sizeof(kSkyCubeVertices), 432u);
    std::set<std::pair<int, int>> faces;  // axis, side
    for (int face = 0; face < 6; ++face) {
        std::set<std::tuple<float, float, float>> corners;
        int axis = -1;
        for (int tri = 2 * face; tri < 2 * face + 2; ++tri) {
            const glm::vec3 a = cubeVertex(3 * tri), b = cubeVertex(3 * tri + 1),
                            c = cubeVertex(3 * tri + 2);
            for (const glm::vec3& v : {a, b, c}) {
                for (int k = 0; k < 3; ++k) EXPECT_EQ(std::fabs(v[k]), 1.0f) << tri;
                corners.insert({v.x, v.y, v.z});
            }
            // Counter-clockwise seen from the centre: the normal points inwards.
            const glm::vec3 normal = glm::cross(b - a, c - a);
            EXPECT_LT(glm::dot(normal, a + b + c), 0.0f) << "triangle " << tri;
            EXPECT_FLOAT_EQ(glm::length(normal), 4.0f) << tri;  // half a face each
            const int triAxis = normal.x != 0.0f ? 0 : (normal.y != 0.0f ? 1 : 2);
            if (axis < 0) axis = triAxis;
            EXPECT_EQ(triAxis, axis) << tri;
            faces.insert({triAxis, int(a[triAxis])});
        }
        // Two halves on either side of one diagonal: all four corners used.
        EXPECT_EQ(corners.size(), 4u) << "face " << face;
    }
    EXPECT_EQ(faces.size(), 6u);
}

TEST(SkyMath, BlendPicksThePairAndFadesWithinEachPhase) {
    expectBlend(0.0f, false, false, 0.0f);
    expectBlend(4999.0f, false, false, 0.9998f);
    expectBlend(5000.0f, false, true, 0.0f);  // dawn starts from the night alone
    expectBlend(6500.0f, false, true, 0.5f);
    expectBlend(7999.0f, false, true, 2999.0f / 3000.0f);
    expectBlend(8000.0f, true, true, 0.0f);
    expectBlend(16999.0f, true, true, 8999.0f / 9000.0f);
    expectBlend(17000.0f, true, false, 0.0f);  // dusk starts from the day alone
    expectBlend(20500.0f, true, false, 0.5f);
    const SkyBlend lateNight = skyBlendAt(23999.0f);
    EXPECT_LT(lateNight.factor, 1.0f);
    EXPECT_GT(lateNight.factor, 0.9998f);
    expectBlend(0.5f, false, false, 0.0001f);  // after the wrap the night starts again
}

TEST(SkyMath, TurnReachesOneRadianAfter100SecondsAtAnyFrameRate) {
    for (const int fps : {10, 30, 60, 144}) {
        float rotation = 0.0f;
        for (int frame = 0; frame < 100 * fps; ++frame)
            rotation = advanceSkyRotation(rotation, kSkyRotationSpeed, 1.0f / float(fps));
        EXPECT_NEAR(rotation, 1.0f, 1e-4f) << fps << " frames per second";
    }
    // Never wrapped: a long run keeps growing.
    EXPECT_FLOAT_EQ(advanceSkyRotation(100.0f, kSkyRotationSpeed, 1.0f), 100.01f);
}
