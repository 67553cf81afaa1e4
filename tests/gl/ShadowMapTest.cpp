// The shadow map on a small window: the depth texture and its framebuffer, the
// depth pass over a real caster, and the hand-over to the shaded programs.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "camera/Camera.h"
#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "frame/FramePlan.h"
#include "frame/ShadowPass.h"
#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "lighting/DirectionalLight.h"
#include "lighting/ShadowMap.h"
#include "lighting/ShadowMath.h"
#include "render/Model.h"
#include "render/Shader.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "scene/SceneLights.h"

namespace {

constexpr int kWindowWidth = 64;
constexpr int kWindowHeight = 40;

GLint glInt(GLenum what) {
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

std::string shaderFile(const char* name) {
    return std::string(MD_SOURCE_DIR) + "/shader/" + name;
}

// A square of side 20 at height 5 around the origin, facing up, wound
// counter-clockwise seen from above.
const char* kSquareObj = R"(v -10 5 -10
v -10 5 10
v 10 5 10
v 10 5 -10
vn 0 1 0
f 1//1 2//1 3//1
f 1//1 3//1 4//1
)";

class ShadowMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedWidth = screenWidth;
        savedHeight = screenHeight;
        screenWidth = kWindowWidth;
        screenHeight = kWindowHeight;
        savedDepth = depthShader;
        depth = std::make_unique<Shader>(shaderFile("depthVert.txt").c_str(),
                                         shaderFile("depthFrag.txt").c_str());
        depthShader = depth.get();
        model = std::make_unique<Shader>(shaderFile("model_loadingVert.txt").c_str(),
                                         shaderFile("model_loadingFrag.txt").c_str());
        ground = std::make_unique<Shader>(shaderFile("terrainVert.txt").c_str(),
                                          shaderFile("terrainFrag.txt").c_str());
        savedSceneShaders = sceneShaders;
        sceneShaders.clear();  // the test light uploads nowhere
        light = std::make_unique<DirectionalLight>(glm::vec3(100, 200, 100), glm::vec3(0),
                                                   glm::vec3(0.1f), glm::vec3(1), glm::vec3(1),
                                                   glm::vec3(-1, -1, 0));
        light->setDirection(glm::vec3(-1, -1, 0));
        camera = std::make_unique<Camera>(glm::vec3(1, 2, 3), nullptr);
        output = captureStdout([&] {
            map = std::make_unique<ShadowMap>(std::vector<Shader*>{model.get(), ground.get()},
                                              light.get(), camera.get());
        });
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        takeGlError();
    }

    void TearDown() override {
        map.reset();
        shadowMap = nullptr;
        shadowCasters.clear();
        glDisable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(0.0f, 0.0f);
        sceneShaders = savedSceneShaders;
        light.reset();
        depthShader = savedDepth;
        screenWidth = savedWidth;
        screenHeight = savedHeight;
        glActiveTexture(GL_TEXTURE0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    GLint texParameter(GLenum name) {
        GLint value = -1;
        glBindTexture(GL_TEXTURE_2D, map->depthMap);
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        glBindTexture(GL_TEXTURE_2D, 0);
        return value;
    }

    std::vector<float> readDepthMap() {
        std::vector<float> depths(size_t(map->shadowWidth) * map->shadowHeight, -1.0f);
        glBindTexture(GL_TEXTURE_2D, map->depthMap);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return depths;
    }

    float depthAt(const std::vector<float>& depths, const glm::vec3& coords) {
        const int x = int(coords.x * map->shadowWidth);
        const int y = int(coords.y * map->shadowHeight);
        return depths[size_t(y) * map->shadowWidth + x];
    }

    int savedWidth = 0, savedHeight = 0;
    Shader* savedDepth = nullptr;
    std::vector<Shader*> savedSceneShaders;
    std::unique_ptr<Shader> depth, model, ground;
    std::unique_ptr<DirectionalLight> light;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<ShadowMap> map;
    std::string output;
};

}  // namespace

// A plan with the choices the program starts with (every shortcut on).
FramePlan planWithTheProgramsChoices() {
    FramePlan plan;
    plan.choices = currentChoices();
    return plan;
}

TEST_F(ShadowMapTest, DepthTextureIsFiveTimesTheWindowClampedToAWhiteBorder) {
    EXPECT_EQ(output, "");
    EXPECT_EQ(map->shader, depth.get());
    EXPECT_EQ(map->viewportWidth, kWindowWidth);
    EXPECT_EQ(map->shadowWidth, 5 * kWindowWidth);
    EXPECT_EQ(map->shadowHeight, 5 * kWindowHeight);
    EXPECT_FLOAT_EQ(map->nearPlane, 10.0f);
    EXPECT_FLOAT_EQ(map->farPlane, 300.0f);

    glBindTexture(GL_TEXTURE_2D, map->depthMap);
    GLint width = 0, height = 0, depthBits = 0, redBits = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_DEPTH_SIZE, &depthBits);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &redBits);
    GLfloat border[4] = {};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(width, 5 * kWindowWidth);
    EXPECT_EQ(height, 5 * kWindowHeight);
    EXPECT_GE(depthBits, 16);
    EXPECT_EQ(redBits, 0);
    for (float c : border) EXPECT_FLOAT_EQ(c, 1.0f);
    EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(texParameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_BORDER);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_BORDER);
    // Plain depth reads: the shaders compare themselves (and filter).
    EXPECT_EQ(texParameter(GL_TEXTURE_COMPARE_MODE), GL_NONE);

    glBindFramebuffer(GL_FRAMEBUFFER, map->depthMapFBO);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(glInt(GL_DRAW_BUFFER), GL_NONE);
    EXPECT_EQ(glInt(GL_READ_BUFFER), GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShadowMapTest, ShadowPassDrawsTheCastersFromTheLightAndRestoresTheWindowState) {
    const auto dir = freshTempFolder("shadow_caster");
    writeText(dir / "square.obj", kSquareObj);
    Model square((dir / "square.obj").c_str(), false, true);
    ASSERT_EQ(square.meshes.size(), 1u);
    // A model drawn without culling first, as the trees are.
    Model doubleSided((dir / "square.obj").c_str(), false, false);
    Entity first(&doubleSided, glm::vec3(0, 0, 0), glm::vec3(0), glm::vec3(0.1f), 1);
    Entity caster(&square, glm::vec3(0, 0, 0), glm::vec3(0), glm::vec3(1), 1);
    shadowCasters = {&first, &caster};
    shadowMap = map.get();
    glViewport(0, 0, 7, 7);
    glUseProgram(model->program);

    drawShadowPass(planWithTheProgramsChoices());

    // Window state for the main pass.
    EXPECT_EQ(glInt(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(glInt(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInt(GL_CURRENT_PROGRAM), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWindowWidth);
    EXPECT_EQ(viewport[3], kWindowHeight);
    // The casters' offset is used by the depth pass alone; its values stay.
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    GLfloat factor = 0, units = -1;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &units);
    EXPECT_FLOAT_EQ(factor, 5.2f);
    EXPECT_FLOAT_EQ(units, 0.0f);
    // The camera went to the light and came back.
    EXPECT_EQ(camera->position, glm::vec3(1, 2, 3));

    // The light-space matrix: from (100, 200, 100) towards (99, 199, 100).
    const glm::mat4 expected = lightProjectionMatrix(10.0f, 300.0f) *
                               lightViewMatrix(glm::vec3(100, 200, 100), glm::vec3(-1, -1, 0));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) EXPECT_NEAR(map->lightSpaceMatrix[c][r], expected[c][r], 1e-5f);
    glm::mat4 uploaded(0.0f);
    glGetUniformfv(depth->program, glGetUniformLocation(depth->program, "lightSpaceMatrix"),
                   &uploaded[0][0]);
    EXPECT_EQ(uploaded, map->lightSpaceMatrix);

    // The square is in the depth map where the matrix puts it; elsewhere the
    // map holds the farthest depth.
    const std::vector<float> depths = readDepthMap();
    const glm::vec3 centre = shadowMapCoordinates(map->lightSpaceMatrix, glm::vec3(3, 5, 2));
    ASSERT_TRUE(insideShadowMap(centre));
    // The polygon offset pushes it back by 5.2 depth slopes: the square is at
    // 45 degrees to the light and a texel is 1.25 units wide here, so a texel
    // changes the depth by about 0.0043, and by twice that diagonally.
    EXPECT_GT(depthAt(depths, centre), centre.z + 0.01f);
    EXPECT_LT(depthAt(depths, centre), centre.z + 0.05f);
    const glm::vec3 beside = shadowMapCoordinates(map->lightSpaceMatrix, glm::vec3(3, 5, 30));
    ASSERT_TRUE(insideShadowMap(beside));
    EXPECT_FLOAT_EQ(depthAt(depths, beside), 1.0f);

    // Only a receiver whose filter can reach a caster's texels may be
    // shadowed: not one beside the square, nor one outside the map.
    const auto boxAround = [](glm::vec3 p, float half) {
        Box b;
        b.add(p - glm::vec3(half));
        b.add(p + glm::vec3(half));
        return b;
    };
    EXPECT_TRUE(map->mayShadow(boxAround({3, 5, 2}, 1.0f)));
    EXPECT_TRUE(map->mayShadow(boxAround({-20, -15, 2}, 1.0f)));  // under it, along the light
    EXPECT_FALSE(map->mayShadow(boxAround({3, 5, 30}, 1.0f)));
    EXPECT_FALSE(map->mayShadow(boxAround({900, 0, 900}, 1.0f)));
    EXPECT_FALSE(map->shadowMayFall(boxAround({3, 5, 30}, 1.0f)));

    // The water passes find the map on its unit even when something else
    // was left bound there and active, as a capture leaves it.
    GLuint other = 0;
    glGenTextures(1, &other);
    glActiveTexture(GL_TEXTURE5);
    glBindTexture(GL_TEXTURE_2D, other);
    bindShadowMapForWaterPasses();
    EXPECT_EQ(glInt(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    glActiveTexture(GL_TEXTURE5);
    EXPECT_EQ(glInt(GL_TEXTURE_BINDING_2D), GLint(map->depthMap));
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glDeleteTextures(1, &other);
    forgetShadowPass();
    EXPECT_EQ(shadowTestMap, nullptr);
    EXPECT_FALSE(map->passDrawn);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShadowMapTest, BindShadowMapHandsUnitFiveAndTheMatrixToBothPrograms) {
    shadowMap = map.get();
    // Until a light matrix reaches the receivers, no shadow falls anywhere
    // (their lookup reads a matrix of zeros); a matrix of zeros changes nothing.
    Box anywhere;
    anywhere.add(glm::vec3(-1.0f));
    anywhere.add(glm::vec3(1.0f));
    startShadowTests();
    ASSERT_EQ(shadowTestMap, map.get());
    EXPECT_FALSE(shadowTestMap->shadowMayFall(anywhere));
    map->lightSpaceMatrix = glm::mat4(0.0f);
    bindShadowMapForMainPass();
    EXPECT_FALSE(shadowTestMap->shadowMayFall(anywhere));
    map->lightSpaceMatrix = glm::mat4(2.0f);
    map->lightSpaceMatrix[3] = glm::vec4(1, 2, 3, 1);
    bindShadowMapForMainPass();
    EXPECT_TRUE(shadowTestMap->shadowMayFall(anywhere));
    forgetShadowPass();

    for (const Shader* receiver : {model.get(), ground.get()}) {
        const GLuint p = receiver->program;
        GLint unit = -1;
        glGetUniformiv(p, glGetUniformLocation(p, "shadowMap"), &unit);
        EXPECT_EQ(unit, 5);
        glm::mat4 matrix(0.0f);
        glGetUniformfv(p, glGetUniformLocation(p, "lightSpaceMatrix"), &matrix[0][0]);
        EXPECT_EQ(matrix, map->lightSpaceMatrix);
    }
    EXPECT_EQ(glInt(GL_ACTIVE_TEXTURE), GL_TEXTURE5);
    EXPECT_EQ(glInt(GL_TEXTURE_BINDING_2D), GLint(map->depthMap));
    EXPECT_EQ(glInt(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShadowMapTest, OnlyDoubleSidedCastersLoseTheirSeeThroughTexels) {
    // The same square with texture coordinates and a fully see-through map.
    const auto dir = freshTempFolder("shadow_cut_out");
    writeText(dir / "clear.obj", "mtllib clear.mtl\n" + std::string(kSquareObj) +
                                     "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nusemtl clear\n"
                                     "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n");
    writeText(dir / "clear.mtl", "newmtl clear\nKd 1 1 1\nmap_Kd clear.png\n");
    ASSERT_TRUE(writePng(dir / "clear.png", 2, 2, 4, std::vector<unsigned char>(16, 0)));
    Model leaves((dir / "clear.obj").c_str(), false, false);
    Model solid((dir / "clear.obj").c_str(), false, true);
    ASSERT_FALSE(leaves.meshes.empty());
    // Leaves first, as the trees are, so the solid square after them is drawn
    // with back faces culled and faces the light.
    Entity leafCaster(&leaves, glm::vec3(0, 0, 30), glm::vec3(0), glm::vec3(1), 1);
    Entity solidCaster(&solid, glm::vec3(0, 0, 0), glm::vec3(0), glm::vec3(1), 1);
    shadowCasters = {&leafCaster, &solidCaster};
    shadowMap = map.get();

    drawShadowPass(planWithTheProgramsChoices());

    const std::vector<float> depths = readDepthMap();
    const glm::vec3 underLeaves = shadowMapCoordinates(map->lightSpaceMatrix, glm::vec3(3, 5, 30));
    const glm::vec3 underSolid = shadowMapCoordinates(map->lightSpaceMatrix, glm::vec3(3, 5, 2));
    ASSERT_TRUE(insideShadowMap(underLeaves));
    ASSERT_TRUE(insideShadowMap(underSolid));
    EXPECT_FLOAT_EQ(depthAt(depths, underLeaves), 1.0f);
    EXPECT_LT(depthAt(depths, underSolid), 1.0f);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShadowMapTest, AReducedFrameKeepsItsMapUntilTheShadowsMoveAndRedrawsEverySecondFrameAtMost) {
    const auto dir = freshTempFolder("shadow_kept");
    writeText(dir / "square.obj", kSquareObj);
    Model square((dir / "square.obj").c_str(), false, true);
    // The square stood on its edge: a caster 20 units tall.
    Entity wall(&square, glm::vec3(0, 10, 0), glm::vec3(90, 0, 0), glm::vec3(1), 1);
    shadowCasters = {&wall};
    shadowMap = map.get();
    QualityProfile reducedProfile;
    reducedProfile.setScale(0.5f);
    FramePlan reduced;
    reduced.choices = reducedProfile.choices();
    reduced.choices.wholeClears = false;

    drawShadowPass(reduced);
    const glm::mat4 drawn = map->lightSpaceMatrix;
    EXPECT_EQ(drawn, map->lightNow);
    // A hair's turn of the light, twice: the map and its matrix stay (the
    // second time because the shadows have not moved by a texel); the light's
    // view is still built (the camera takes its steps at the light).
    for (float y : {-1.0001f, -1.0002f}) {
        light->setDirection(glm::vec3(-1.0f, y, 0.0f));
        drawShadowPass(reduced);
        EXPECT_EQ(map->lightSpaceMatrix, drawn);
        EXPECT_NE(map->lightNow, drawn);
    }
    // Turned far enough to move the wall's shadow by several texels: drawn
    // again with the light as it is now.
    light->setDirection(glm::vec3(-1.0f, -2.0f, 0.0f));
    drawShadowPass(reduced);
    EXPECT_NE(map->lightSpaceMatrix, drawn);
    EXPECT_EQ(map->lightSpaceMatrix, map->lightNow);
    // Turned back as far straight after: kept for one frame (the shadows
    // lag by one), drawn on the next.
    const glm::mat4 redrawn = map->lightSpaceMatrix;
    light->setDirection(glm::vec3(-1.0f, -1.0f, 0.0f));
    drawShadowPass(reduced);
    EXPECT_EQ(map->lightSpaceMatrix, redrawn);
    drawShadowPass(reduced);
    EXPECT_EQ(map->lightSpaceMatrix, map->lightNow);
    EXPECT_NE(map->lightSpaceMatrix, redrawn);
    // At full scale every frame draws the map, however little the light turned.
    const glm::mat4 before = map->lightSpaceMatrix;
    light->setDirection(glm::vec3(-1.0f, -2.0001f, 0.0f));
    drawShadowPass(planWithTheProgramsChoices());
    EXPECT_NE(map->lightSpaceMatrix, before);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}
