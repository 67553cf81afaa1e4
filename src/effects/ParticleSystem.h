#pragma once
// The smoke: the particle pool of ParticlePool drawn as camera-facing
// billboards, all living particles with one instanced draw of a textured quad.
// The caller sets additive blending around update() and draw().
//
// GL objects are created by the constructor and deleted by the destructor,
// which therefore needs the context.

#include <glm/glm.hpp>
#include <vector>

#include "effects/ParticlePool.h"

class Camera;
class Shader;

class ParticleSystem : public ParticlePool {
public:
    static constexpr const char* kSmokeTexturePath = "../textures/smoke/smoke.png";

    unsigned int VAO = 0;
    unsigned int smokeTexture = 0;
    unsigned int billboardVBO = 0;     // the unit quad, four vertices as a strip
    unsigned int positionSizeVBO = 0;  // one vec4 per instance
    Shader* shader;                    // particleShader; not owned
    Camera* camera;                    // mainCamera, whose position gives the distances; not owned

    // Takes particleShader and mainCamera from the application's globals.
    explicit ParticleSystem(const std::vector<glm::vec3>& emitters);
    // The same with an explicit program and camera (either may be null).
    ParticleSystem(const std::vector<glm::vec3>& emitters, Shader* shader, Camera* camera);
    ~ParticleSystem() override;
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Once a frame, right before draw: emits, moves and sorts by deltaTime.
    void update();

    // Uploads this frame's instance data and draws every living particle with
    // one instanced call. Leaves no program current, no vertex array bound, both
    // attribute arrays disabled, unit 0 active with the smoke texture on it.
    // Blending is the caller's. Draws nothing when the program lacks one of the
    // two attributes.
    void draw();
};
