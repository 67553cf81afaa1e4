#pragma once
// The two lenses of the program. The camera holds no projection: the screen
// lens is uploaded once at start-up (and again after an environment capture),
// the square capture lens while the cube map is rendered.

#include <glm/glm.hpp>
#include <vector>

class Shader;

// Right-handed perspective with clip depth -1..1, given the tangent of half
// the vertical opening angle instead of the angle.
glm::mat4 perspectiveFromHalfTangent(float halfTangent, float aspectRatio, float nearPlane,
                                     float farPlane);

// The screen lens: half-angle tangent 0.4738147 (about 50.70 degrees
// vertically), near 0.1, far 800, aspect width / height. A non-positive size
// gives aspect 1 rather than a division by zero.
glm::mat4 screenProjection(int width, int height);

// The environment-capture lens: 90 degrees square, near 0.1, far 800.
glm::mat4 captureProjection();

// Makes the program current, sets "projection", leaves no program current.
// A null shader is skipped.
void uploadProjection(const Shader* shader, const glm::mat4& projection);
void uploadProjection(const std::vector<Shader*>& shaders, const glm::mat4& projection);
