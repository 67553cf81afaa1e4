// The sky on small one-colour faces in a scratch data tree: which file lands
// on which face, what a draw shows at a time of day, the turn, the state a
// draw leaves, and a missing face.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "effects/SkyMath.h"
#include "effects/Skybox.h"
#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "render/Shader.h"

namespace {

const std::array<const char*, 6> kDayNames{"right", "left", "top", "bottom", "back", "front"};
const std::array<const char*, 6> kNightNames{"nightRight",  "nightLeft", "nightTop",
                                             "nightBottom", "nightBack", "nightFront"};
constexpr int kDaySize = 8;
constexpr int kNightSize = 4;
constexpr int kFront = 5;  // -Z, straight ahead of a camera that has not turned
constexpr int kRight = 0;  // +X

// One colour a face: the day maps are reddish, the night ones bluish, and
// green tells the faces apart.
glm::ivec3 dayColour(int face) {
    return {240, 40 * face, 0};
}
glm::ivec3 nightColour(int face) {
    return {0, 40 * face, 240};
}

void writeFace(const std::filesystem::path& file, int size, glm::ivec3 colour) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < size * size; ++i)
        pixels.insert(pixels.end(),
                      {(unsigned char)colour.r, (unsigned char)colour.g, (unsigned char)colour.b});
    ASSERT_TRUE(writePng(file, size, size, 3, pixels));
}

// The twelve faces under <root>/textures/skybox, but for the one named
// missing; the day face named halfSize is written at half the others' size.
std::filesystem::path writeSkyTree(const std::string& name, const char* missing = nullptr,
                                   const char* halfSize = nullptr) {
    const auto root = freshTempFolder(name);
    const auto dir = root / "textures" / "skybox";
    for (int face = 0; face < 6; ++face) {
        const bool half = halfSize && std::string(halfSize) == kDayNames[face];
        if (!missing || std::string(missing) != kDayNames[face])
            writeFace(dir / (std::string(kDayNames[face]) + ".png"), half ? kDaySize / 2 : kDaySize,
                      dayColour(face));
        if (!missing || std::string(missing) != kNightNames[face])
            writeFace(dir / (std::string(kNightNames[face]) + ".png"), kNightSize,
                      nightColour(face));
    }
    return root;
}

GLint glInt(GLenum what) {
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

GLint cubeMapOnUnit(int unit) {
    const GLint active = glInt(GL_ACTIVE_TEXTURE);
    glActiveTexture(GL_TEXTURE0 + unit);
    const GLint bound = glInt(GL_TEXTURE_BINDING_CUBE_MAP);
    glActiveTexture(GLenum(active));
    return bound;
}

void expectColour(const std::vector<unsigned char>& rgba, glm::vec3 expected, const char* what) {
    EXPECT_NEAR(rgba[0], expected.r, 2.0f) << what;
    EXPECT_NEAR(rgba[1], expected.g, 2.0f) << what;
    EXPECT_NEAR(rgba[2], expected.b, 2.0f) << what;
}

class SkyboxTest : public ::testing::Test {
protected:
    std::unique_ptr<Shader> shader;
    Camera camera{glm::vec3(10.0f, 20.0f, 30.0f), nullptr};  // away from the origin on purpose
    std::string loadErrors;

    void SetUp() override {
        const std::string dir = std::string(MD_SOURCE_DIR) + "/shader/";
        captureStdout([&] {
            shader = std::make_unique<Shader>((dir + "cubemapVert.txt").c_str(),
                                              (dir + "cubemapFrag.txt").c_str());
        });
        uploadProjection(shader.get(), screenProjection(32, 32));
        camera.applyView(shader.get());  // looking down -Z, as every frame uploads it
        deltaTime = 0.0f;
        // The run's state: the sky must come through culling and clipping.
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_CLIP_DISTANCE0);
        takeGlError();
    }
    void TearDown() override {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_CLIP_DISTANCE0);
        for (int unit : {1, 0}) {
            glActiveTexture(GL_TEXTURE0 + unit);
            glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        }
        deltaTime = 0.0f;
        timeOfDay = 0.0f;
        takeGlError();
    }

    // Builds the sky from the tree, as the program does from build/bin.
    std::unique_ptr<Skybox> makeSky(const std::filesystem::path& root) {
        WorkingDirectory inBin(root / "bin");
        testing::internal::CaptureStderr();
        auto sky = std::make_unique<Skybox>(shader.get(), &camera);
        loadErrors = testing::internal::GetCapturedStderr();
        return sky;
    }

    // The colour straight ahead after drawing the sky at clock t.
    std::vector<unsigned char> skyAhead(Skybox& sky, float t) {
        OffscreenTarget target(32, 32);
        timeOfDay = t;
        sky.draw(FrameChoices{});
        return target.pixel(16, 16);
    }
};

}  // namespace

TEST_F(SkyboxTest, LoadsTwelveFacesIntoTwoCompleteCubeMapsInFaceOrder) {
    auto sky = makeSky(writeSkyTree("skyAll"));
    EXPECT_EQ(loadErrors, "");
    ASSERT_NE(sky->dayTexture, 0u);
    ASSERT_NE(sky->nightTexture, sky->dayTexture);
    for (int face = 0; face < 6; ++face) {
        const GLenum target = GL_TEXTURE_CUBE_MAP_POSITIVE_X + GLenum(face);
        EXPECT_EQ(texLevel(sky->dayTexture, target, 0, GL_TEXTURE_WIDTH), kDaySize) << face;
        EXPECT_EQ(texLevel(sky->dayTexture, target, 0, GL_TEXTURE_HEIGHT), kDaySize) << face;
        EXPECT_EQ(texLevel(sky->nightTexture, target, 0, GL_TEXTURE_WIDTH), kNightSize) << face;
        expectColour(readTexture(sky->dayTexture, target), dayColour(face), kDayNames[face]);
        expectColour(readTexture(sky->nightTexture, target), nightColour(face), kNightNames[face]);
    }
    EXPECT_EQ(glInt(GL_TEXTURE_BINDING_CUBE_MAP), 0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(SkyboxTest, DrawBlendsThePairOfTheTimeOfDayAndRestoresState) {
    auto sky = makeSky(writeSkyTree("skyDraw"));
    const glm::vec3 day = dayColour(kFront), night = nightColour(kFront);

    expectColour(skyAhead(*sky, 1000.0f), night, "night");
    EXPECT_EQ(sky->fromTexture, sky->nightTexture);
    EXPECT_EQ(sky->toTexture, sky->nightTexture);
    expectColour(skyAhead(*sky, 6500.0f), 0.5f * night + 0.5f * day, "dawn");
    EXPECT_EQ(sky->toTexture, sky->dayTexture);
    expectColour(skyAhead(*sky, 12000.0f), day, "day");
    expectColour(skyAhead(*sky, 18750.0f), 0.75f * day + 0.25f * night, "dusk");

    // The state the dusk draw left behind.
    EXPECT_EQ(glInt(GL_DEPTH_FUNC), GL_LESS);
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_EQ(depthMask, GL_TRUE);
    EXPECT_EQ(glInt(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(glInt(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(glInt(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(cubeMapOnUnit(0), GLint(sky->dayTexture));
    EXPECT_EQ(cubeMapOnUnit(1), GLint(sky->nightTexture));
    EXPECT_EQ(uniformInt(shader->program, "skybox"), 0);
    EXPECT_EQ(uniformInt(shader->program, "skyboxNight"), 1);
    EXPECT_FLOAT_EQ(uniformFloat(shader->program, "blendFactor"), 0.25f);
    EXPECT_FLOAT_EQ(sky->blendFactor, 0.25f);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(SkyboxTest, SkyStaysOnTheFarPlaneBehindEverything) {
    auto sky = makeSky(writeSkyTree("skyDepth"));
    OffscreenTarget target(32, 32);
    timeOfDay = 12000.0f;
    // Anything already drawn, however far, keeps its pixel.
    glClearDepth(0.999);
    glClear(GL_DEPTH_BUFFER_BIT);
    sky->draw(FrameChoices{});
    EXPECT_EQ(target.pixel(16, 16), std::vector<unsigned char>({0, 0, 0, 0}));
    EXPECT_EQ(target.pixel(0, 0), std::vector<unsigned char>({0, 0, 0, 0}));
    // Where nothing is drawn yet, the sky fills the pixel.
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    sky->draw(FrameChoices{});
    expectColour(target.pixel(16, 16), dayColour(kFront), "ahead");
    EXPECT_EQ(target.pixel(0, 0)[3], 255);
}

TEST_F(SkyboxTest, UpdateTurnsTheSkyByTheFrameTimeAndUploadsTheTurnedView) {
    auto sky = makeSky(writeSkyTree("skyTurn"));
    deltaTime = 1.5707964f / 0.01f;  // a quarter turn in one frame
    sky->update();
    EXPECT_NEAR(sky->skyRotation, 1.5707964f, 1e-6f);
    EXPECT_EQ(glInt(GL_CURRENT_PROGRAM), 0);

    GLfloat uploaded[16] = {};
    glGetUniformfv(shader->program, glGetUniformLocation(shader->program, "view"), uploaded);
    const glm::mat4 expected = turnedSkyView(camera.view, sky->skyRotation);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(uploaded[i], (&expected[0][0])[i]) << i;

    // The quarter turn brings the +X face in front of the camera.
    expectColour(skyAhead(*sky, 12000.0f), dayColour(kRight), "turned");

    deltaTime = 0.5f;
    sky->update();
    EXPECT_NEAR(sky->skyRotation, 1.5707964f + 0.005f, 1e-6f);
}

TEST_F(SkyboxTest, MissingOrMissizedFaceIsReportedBlackAndTheSkyStillDraws) {
    // A face of another size would leave the cube map incomplete: all black.
    for (const char* damage : {"missing", "half size"}) {
        SCOPED_TRACE(damage);
        const bool missingFace = std::string(damage) == "missing";
        camera.applyView(shader.get());  // undo the turn of the round before
        auto sky =
            makeSky(writeSkyTree(std::string("sky") + (missingFace ? "Missing" : "Half"),
                                 missingFace ? "front" : nullptr, missingFace ? nullptr : "front"));
        EXPECT_EQ(loadErrors.rfind("Texture in Cubemap failed to load\n  ", 0), 0u) << loadErrors;
        EXPECT_NE(loadErrors.find("textures/skybox/front.png: "), std::string::npos) << loadErrors;
        const GLenum front = GL_TEXTURE_CUBE_MAP_POSITIVE_X + kFront;
        EXPECT_EQ(texLevel(sky->dayTexture, front, 0, GL_TEXTURE_WIDTH), kDaySize);
        expectColour(readTexture(sky->dayTexture, front), glm::vec3(0.0f), "damaged face");

        const auto damaged = skyAhead(*sky, 12000.0f);
        expectColour(damaged, glm::vec3(0.0f), "black where the face is damaged");
        EXPECT_EQ(damaged[3], 255);  // drawn, not left at the clear colour
        // The rest of the map is intact: the night sky and the turned day sky show.
        expectColour(skyAhead(*sky, 1000.0f), nightColour(kFront), "night");
        deltaTime = 1.5707964f / 0.01f;
        sky->update();
        expectColour(skyAhead(*sky, 12000.0f), dayColour(kRight), "other day face");
        deltaTime = 0.0f;
        EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
    }
}
