#pragma once
// The sky's arithmetic, apart from any GL: the cube it is drawn on, which
// cube maps it shows at a time of day and how far the second one is blended
// in, and its slow turn about the vertical axis.

#include <glm/glm.hpp>

// 36 positions (12 triangles, two per face), 3 floats each, every coordinate
// +-1; faces in the order z = -1, x = -1, x = +1, z = +1, y = +1, y = -1.
// Seen from the centre every triangle winds counter-clockwise, so the cube
// survives back-face culling when drawn around the viewer.
constexpr int kSkyCubeVertexCount = 36;
extern const float kSkyCubeVertices[kSkyCubeVertexCount * 3];

constexpr float kSkyRotationSpeed = 0.01f;  // radians per second

// The pair of cube maps for one moment: the one on unit 0, the one on unit 1
// and the weight of unit 1 (0 shows unit 0 alone, 1 unit 1 alone).
struct SkyBlend {
    bool fromDay;
    bool toDay;
    float factor;
};

// Night [0, 5000): night to night; dawn [5000, 8000): night to day; day
// [8000, 17000): day to day; dusk (the rest, up to 24000): day to night. The
// factor runs from 0 to 1 within each phase, so only dawn and dusk fade.
SkyBlend skyBlendAt(float timeOfDay);

// The accumulated turn after one more frame of deltaTime seconds.
float advanceSkyRotation(float skyRotation, float rotationSpeed, float deltaTime);

// The camera's view turned by the sky's angle about +Y (rotation applied
// before the view, so the camera's own motion is untouched).
glm::mat4 turnedSkyView(const glm::mat4& view, float skyRotation);
