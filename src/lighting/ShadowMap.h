#pragma once
// The sun's shadows: a depth map rendered from the directional light once a
// frame, through an orthographic box looking along the light, and handed to
// the programs that draw shadowed surfaces.
//
// A frame uses it as: beginShadowPass (binds the depth framebuffer and the
// depth program with the new light-space matrix), the casters' draws, back to
// the window; later, in the main pass, bindShadowMap.

#include <GL/glew.h>

#include <glm/glm.hpp>
#include <vector>

#include "core/FrameChoices.h"
#include "render/ScreenRect.h"

class Camera;
class DirectionalLight;
class Shader;

class ShadowMap {
public:
    Shader* shader;                // the depth program (depthShader); not owned
    std::vector<Shader*> shaders;  // receive "shadowMap" and "lightSpaceMatrix"; not owned
    DirectionalLight* light;       // casts the shadows; not owned
    Camera* camera;                // the main camera; not owned
    int viewportWidth;             // the window size at construction, restored after the pass
    int viewportHeight;
    int shadowWidth;  // depth map size: five times the window's
    int shadowHeight;
    GLuint depthMapFBO = 0;
    GLuint depthMap = 0;
    glm::mat4 lightProjection{1.0f};
    glm::mat4 lightSpaceMatrix{1.0f};
    float nearPlane;
    float farPlane;

    // The depth program is depthShader; the size comes from screenWidth and
    // screenHeight. An incomplete framebuffer is reported on standard output.
    ShadowMap(std::vector<Shader*> shaders, DirectionalLight* light, Camera* camera);
    virtual ~ShadowMap();
    ShadowMap(const ShadowMap&) = delete;
    ShadowMap& operator=(const ShadowMap&) = delete;

    // Recomputes the light-space matrix from the light, uploads it to the
    // depth program, which stays current, and binds the cleared depth map as
    // the render target with its own viewport. Turns on the polygon offset
    // that keeps the casters' depths just behind their surfaces.
    // Given the world boxes of the casters about to be drawn, the clear only
    // covers where they and the last pass's casters land (with the frame's
    // shadow-clear choice): the rest of the map already holds the cleared
    // depth. The frame's choices give the part of the map it draws into.
    void beginShadowPass(const FrameChoices& choices,
                         const std::vector<Box>* casterBoxes = nullptr);
    // The light's view as the pass builds it (the camera stands at the light
    // meanwhile: a camera in turn mode takes its steps) into `lightNow`; the
    // map and its receivers keep `lightSpaceMatrix` until the map is drawn.
    void stepLightView();
    glm::mat4 lightNow{0.0f};
    // Whether a frame with these choices may keep the map as it is: it has
    // been drawn at this part of its size, and no caster's shadow (the boxes
    // of the last pass) has moved by more than the choices allow since then,
    // or the choices keep it every second frame and the frame before drew it.
    bool keepsMap(const FrameChoices& choices) const;
    bool drawnLastFrame = false;  // the last shadow pass drew the map
    glm::vec3 drawnDirection{0.0f};  // the light's direction when the map was drawn

    // Binds the map as the target again, as the last beginShadowPass left it
    // (same matrix, same part of the map), without clearing: for casters
    // added to the map later.
    void resumeShadowPass();
    int drawnWidth = 0;  // the part of the map the last pass drew into
    int drawnHeight = 0;

    // Where the last pass's casters wrote (texels of the map), and whether
    // everything else holds the cleared depth.
    std::vector<PixelRect> writtenRects;
    bool restCleared = false;

    // False only when a surface inside `box` cannot be shadowed by the last
    // pass's map at full scale: every texel its 3 x 3 filter can read lies
    // outside the map (the border's farthest depth) or holds the cleared
    // depth, so the receiving programs' shadow share is exactly 0 there.
    bool mayShadow(const Box& box) const;

    // For every receiving program: "lightSpaceMatrix" and "shadowMap" = 5,
    // with the depth map bound on texture unit 5, which stays active.
    void bindShadowMap();
    // False until bindShadowMap has handed the receivers a light matrix:
    // until then they hold none (all zeros), and their shadow lookup gives
    // no shadow anywhere.
    bool matrixHandedOut = false;

    // The casters of the last pass, as it placed them (a world box each,
    // empty for one without a model), and whether each is in the map yet: a
    // caster whose shadow no view of the frame can show is left out until a
    // view needs it. `passDrawn`: a pass has drawn the map since start-up.
    std::vector<Box> casterBoxes;
    std::vector<char> casterInMap;
    bool passDrawn = false;

    // Whether a surface inside `box` may be shadowed as the receivers read
    // the map now: before the first matrix is handed out nothing is, after a
    // pass see mayShadow. Asked only by frames that narrow their lighting
    // programs to the lights that reach.
    bool shadowMayFall(const Box& box) const;

private:
    void clearDepthMap(const FrameChoices& choices, const std::vector<Box>* casterBoxes);
};
