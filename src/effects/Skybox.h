#pragma once
// The sky: a unit cube drawn around the viewer with two cube maps, one for
// the day and one for the night, cross-faded by the day clock and slowly
// turning about the vertical axis. Drawn with cubemapShader in the main pass
// (after the terrain), in both water passes and into the environment capture.
//
// GL objects live until the context ends; the destructor frees nothing.

#include <string>
#include <vector>

#include "core/FrameChoices.h"

class Camera;
class Shader;

// The sky's program built to read one map (ONE_MAP), which draws the sky,
// with the shortcuts on, where both units hold the same map; null: the
// sky's own program always draws.
extern Shader* oneMapSkyShader;

class Skybox {
public:
    Shader* shader;              // cubemapShader; not owned
    Camera* camera;              // mainCamera, whose view is read every frame; not owned
    float rotationSpeed = 0.0f;  // radians per second
    float skyRotation = 0.0f;    // accumulated turn, radians; never wrapped
    float blendFactor = 0.0f;    // last value sent as "blendFactor"
    unsigned int VAO = 0;
    unsigned int VBO = 0;
    unsigned int dayTexture = 0;
    unsigned int nightTexture = 0;
    unsigned int fromTexture = 0;  // on texture unit 0 since the last draw
    unsigned int toTexture = 0;    // on texture unit 1 since the last draw

    // The face files under "../textures/skybox/", in the cube-map order
    // +X, -X, +Y, -Y, +Z, -Z.
    static const std::vector<std::string> dayFaces;
    static const std::vector<std::string> nightFaces;

    // Builds the cube and loads both cube maps. A face that cannot be read is
    // reported by the loader and shows black; construction goes on.
    Skybox(Shader* shader, Camera* camera);
    virtual ~Skybox();
    Skybox(const Skybox&) = delete;
    Skybox& operator=(const Skybox&) = delete;

    // Once a frame: turns the sky by deltaTime and uploads the camera's view,
    // turned, as "view". Only the main pass sees the turn; the water passes
    // and the capture upload their own camera's view.
    void update();

    // Draws the sky for the current timeOfDay behind everything drawn before
    // (depth test GL_LEQUAL at the far plane). Leaves the depth function
    // GL_LESS, no program current, no vertex array bound, the two cube maps
    // on units 0 and 1 and unit 1 active. Where both units hold the same map
    // and the frame takes the one-map sky, the program that reads one draws.
    void draw(const FrameChoices& choices);
};
