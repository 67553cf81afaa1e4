#pragma once
// The viewer: an eye position with front/right/up axes, the last view matrix
// and the control points still to fly. The mode follows from the fields:
//   free mode - freeMode is true; front follows yaw and pitch;
//   turn mode - not free and 3 or fewer control points; front turns about +Y
//               by turnStep on every updateCameraVectors call;
//   path mode - not free and 4 or more control points; the camera path sets
//               position and front.
// The fields are public: controls, passes and the camera path edit them.

#include <glm/glm.hpp>
#include <vector>

class Frustum;
class Shader;

class Camera {
public:
    Frustum* frustum;  // not owned; refreshed by update()
    glm::vec3 position;
    glm::vec3 front{0.0f, 0.0f, -1.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    glm::vec3 right{1.0f, 0.0f, 0.0f};
    glm::vec3 worldUp{0.0f, 1.0f, 0.0f};
    float yaw = 0.0f;    // degrees, from +X towards +Z; free mode only
    float pitch = 0.0f;  // degrees; free mode only
    bool freeMode = false;
    std::vector<glm::vec3> controlPoints;
    glm::mat4 view{1.0f};
    float turnStep = 0.0f;  // turn per updateCameraVectors call in turn mode

    // frustum may be null (a camera that never refreshes culling).
    Camera(const glm::vec3& startPosition, Frustum* frustum);
    virtual ~Camera() = default;
    Camera(const Camera&) = default;
    Camera& operator=(const Camera&) = default;

    bool inPathMode() const { return !freeMode && controlPoints.size() >= 4; }
    bool inTurnMode() const { return !freeMode && controlPoints.size() <= 3; }

    // Re-derives front (free and turn mode), then right and up. When front is
    // parallel to worldUp (or zero) right and up keep their previous values.
    void updateCameraVectors();

    // Once a frame: vectors, view matrix, frustum refresh.
    void update();

    // lookAt from the current fields, without touching the vectors.
    glm::mat4 viewMatrix() const;

    // Rebuilds view and sets "view" and "viewPos" on the shader's program,
    // then leaves no program current. A null shader only rebuilds view.
    void applyView(const Shader* shader);

    // Turns a free camera to cube-map face 0..5 (+X, -X, +Y, -Y, +Z, -Z) with
    // the usual face orientation; worldUp becomes (0, -1, 0) and the caller
    // restores it afterwards. Any other index changes nothing.
    void setCubeFace(int face);
};
