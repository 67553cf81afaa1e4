#pragma once
// The lake: one flat square at a fixed height over the whole terrain, drawn
// with waterShader from the two off-screen images of WaterFrameBuffers (the
// mirrored scene above and the scene below the surface), a scrolling
// distortion map, a normal map and a water colour. One instance for the run.

#include <array>
#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "render/Mesh.h"
#include "render/ScreenRect.h"
#include "render/ViewVolume.h"

class Shader;
class WaterFrameBuffers;

// The water program built for the deep-water mark (see Water::markDeepWater),
// or null: then nothing is marked.
extern Shader* deepWaterShader;

// The values the application builds the water with. The defaults are the
// lake's; most become uniforms of the water shader once, at construction.
struct WaterSettings {
    glm::vec3 position{0.0f, -2.0f, 0.0f};   // "model"; its y is the water height
    glm::vec3 waterColor{0.0f, 0.1f, 0.3f};  // "waterColor"
    float distortionStrength = 0.05f;        // "distortionStrength"
    float waveLength = 20.0f;                // "waveLength"
    float waveSpeed = 0.025f;                // scroll per second, no uniform
    float bumpinessDivisor = 0.5f;           // "bumpiness" = 1 / divisor
    float shininess = 64.0f;                 // "shininess"
    float shineDamper = 1.0f;                // "shineDumper"
    float distortionRange = 8.0f;            // "distortionRange"
    float transparencyRange = 0.7f;          // "transparencyRange"
    float specularRange = 0.5f;              // "specularRange"
    float halfWaterColorRange = 25.0f;       // "halfWaterColorRange"
    std::array<glm::vec2, 4> halfExtents{{{500.0f, 500.0f},
                                          {500.0f, 500.0f},
                                          {500.0f, 500.0f},
                                          {500.0f, 500.0f}}};  // one (a, b) a corner
};

class Water {
public:
    static constexpr const char* kDudvPath = "../textures/water/DUDVMap.png";
    static constexpr const char* kNormalPath = "../textures/water/normalMap.png";

    Shader* shader;                    // waterShader; not owned
    std::vector<Shader*> clipShaders;  // receive the clip plane; not owned
    WaterFrameBuffers* frameBuffers;   // not owned
    float moveFactor = 0.0f;           // scroll of the distortion, in [0, 1)
    float waveSpeed;
    float distortionStrength;          // the largest shift of a lookup, each axis
    unsigned int VAO = 0;
    unsigned int EBO = 0;
    unsigned int VBO = 0;
    glm::vec3 position;
    glm::mat4 model{1.0f};
    std::vector<glm::vec3> vertices;
    std::vector<unsigned int> indices;
    Texture dudvTexture;
    Texture normalTexture;
    int reflectionTextureLocation = -1;
    int refractionTextureLocation = -1;
    int depthTextureLocation = -1;
    int dudvMapLocation = -1;
    int normalMapLocation = -1;
    int moveFactorLocation = -1;

    // Takes waterShader from the scene's programs, loads the two maps from
    // "../textures/water/", builds the mesh and sets the constant uniforms
    // (leaving waterShader current).
    Water(const std::vector<Shader*>& clipShaders, WaterFrameBuffers* frameBuffers,
          const WaterSettings& settings);
    ~Water();
    Water(const Water&) = delete;
    Water& operator=(const Water&) = delete;

    float height() const { return position.y; }

    // Advances moveFactor by deltaTime and draws the surface with the two
    // targets on units 0 to 2 and the maps on units 3 and 4. Leaves no
    // program current, units 0 to 3 empty with unit 3 active and the normal
    // map on unit 4.
    void draw();

    // Into the bound target, before the scene: where this frame's surface
    // will be opaque, a depth just behind the surface's, and no colour.
    // Whatever lies under the water there then fails its depth test instead
    // of being lit and covered; the surface still passes, and the picture
    // is the same. Pixels in keepOut stay unmarked (they are where something
    // see-through may stand in front of the water). Reads the refraction
    // depth and takes over the values waterShader was given (its view among
    // them), so it follows the water passes of this frame; draws with colour
    // writes off and turns them back on; leaves no program current.
    void markDeepWater(const PixelRect& keepOut);

    // Where the surface can land on the screen, seen in `view` (the water
    // program's: the main pass draws it with that). The whole screen without
    // the program.
    ViewportArea onScreen(const ViewVolume& view) const;
    // The same for the parts of the surface over the boxes' x and z extents.
    ViewportArea onScreen(const ViewVolume& view, const std::vector<Box>& parts) const;
    // The box around the square (flat, at the water's height).
    Box surfaceBox() const;

    // Sets the vec4 uniform `name` to `plane` in every clip shader, in order;
    // the last of them stays current.
    void setClipPlane(const glm::vec4& plane, const std::string& name);

private:
    void setConstantUniforms(const WaterSettings& settings);
    void buildMesh(const std::array<glm::vec2, 4>& halfExtents);
};
