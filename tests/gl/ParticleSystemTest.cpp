// The smoke's GL side: the buffers it creates, the instanced draw with its
// per-instance attribute, the state a draw leaves, and the real steam shader
// drawing around the emitters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "effects/ParticleSystem.h"
#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "render/Shader.h"

namespace {

// Places each quad straight in clip space: centre xy, width and height w.
const char* kFlatVert = R"(#version 330 core
in vec3 vertices;
in vec4 centerPos;
out vec2 TexCoords;
void main() {
    TexCoords = vertices.xy + 0.5;
    gl_Position = vec4(centerPos.xy + vertices.xy * centerPos.w, 0.0, 1.0);
}
)";
const char* kFlatFrag = R"(#version 330 core
in vec2 TexCoords;
out vec4 FragColor;
uniform sampler2D smokeTexture;
void main() { FragColor = vec4(texture(smokeTexture, TexCoords).rgb, 1.0); }
)";
// Knows nothing of the instance data.
const char* kNoCentreVert = R"(#version 330 core
in vec3 vertices;
void main() { gl_Position = vec4(vertices, 1.0); }
)";

const glm::vec3 kCupA(-1.0f, 8.5f, -0.8f);
const glm::vec3 kCupB(-2.3f, 8.5f, 6.3f);

GLint glInt(GLenum what) {
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

GLint attribInt(GLuint index, GLenum what) {
    GLint value = -1;
    glGetVertexAttribiv(index, what, &value);
    return value;
}

GLint bufferSize(GLuint buffer) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLint size = -1;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return size;
}

std::unique_ptr<Shader> shaderFrom(const std::string& name, const char* vert, const char* frag) {
    const auto v = writeTempFile(name + "Vert.txt", vert);
    const auto f = writeTempFile(name + "Frag.txt", frag);
    std::unique_ptr<Shader> shader;
    const std::string out =
        captureStdout([&] { shader = std::make_unique<Shader>(v.c_str(), f.c_str()); });
    EXPECT_EQ(out, "") << name;
    return shader;
}

class ParticleSystemTest : public ::testing::Test {
protected:
    std::filesystem::path root;
    Camera camera{glm::vec3(-1.0f, 8.8f, 3.2f), nullptr};  // four units in front of cup A

    void SetUp() override {
        // A small one-colour smoke texture in a scratch tree.
        root = freshTempFolder("smoke");
        std::vector<unsigned char> pixels;
        for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {40, 80, 120});
        ASSERT_TRUE(writePng(root / "textures/smoke/smoke.png", 4, 4, 3, pixels));
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        takeGlError();
    }
    void TearDown() override {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, 0);
        deltaTime = 0.0f;
        takeGlError();
    }

    std::unique_ptr<ParticleSystem> makeSystem(Shader* shader) {
        WorkingDirectory inBin(root / "bin");
        return std::make_unique<ParticleSystem>(std::vector<glm::vec3>{kCupA, kCupB}, shader,
                                                &camera);
    }
};

}  // namespace

TEST_F(ParticleSystemTest, BuildsItsBuffersAndDeletesThemAgain) {
    auto system = makeSystem(nullptr);
    EXPECT_EQ(glInt(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(glInt(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_NE(system->smokeTexture, 0u);
    EXPECT_EQ(bufferSize(system->billboardVBO), 48);
    EXPECT_EQ(bufferSize(system->positionSizeVBO), 160000);

    float quad[12] = {};
    glBindBuffer(GL_ARRAY_BUFFER, system->billboardVBO);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(quad), quad);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    const float expected[12] = {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, -0.5f, 0.5f, 0, 0.5f, 0.5f, 0};
    EXPECT_TRUE(std::equal(quad, quad + 12, expected));

    const GLuint buffers[2] = {system->billboardVBO, system->positionSizeVBO};
    const GLuint vao = system->VAO;
    glBindVertexArray(vao);  // a name counts as a vertex array once bound
    glBindVertexArray(0);
    EXPECT_TRUE(glIsVertexArray(vao));
    system.reset();
    EXPECT_FALSE(glIsBuffer(buffers[0]));
    EXPECT_FALSE(glIsBuffer(buffers[1]));
    EXPECT_FALSE(glIsVertexArray(vao));
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(ParticleSystemTest, OneInstancedDrawShowsEveryLivingParticleAndLeavesTheStateClean) {
    auto shader = shaderFrom("particleFlat", kFlatVert, kFlatFrag);
    auto system = makeSystem(shader.get());
    // Five particles by hand: three apart, two on top of each other.
    const glm::vec4 data[5] = {{-0.5f, -0.5f, 0, 0.25f},
                               {0.5f, -0.5f, 0, 0.25f},
                               {0.5f, 0.5f, 0, 0.25f},
                               {-0.5f, 0.5f, 0, 0.25f},
                               {-0.5f, 0.5f, 0, 0.25f}};
    std::copy(data, data + 5, system->positionSizeData.begin());
    system->particlesCount = 5;

    OffscreenTarget target(32, 32);
    system->draw();
    using Px = std::vector<unsigned char>;
    EXPECT_EQ(target.pixel(8, 8), Px({40, 80, 120, 255}));
    EXPECT_EQ(target.pixel(24, 8), Px({40, 80, 120, 255}));
    EXPECT_EQ(target.pixel(24, 24), Px({40, 80, 120, 255}));
    EXPECT_EQ(target.pixel(8, 24), Px({80, 160, 240, 255}));  // added twice by the caller's blend
    EXPECT_EQ(target.pixel(16, 16), Px({0, 0, 0, 0}));

    // What the draw leaves behind.
    EXPECT_EQ(glInt(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(glInt(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(glInt(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(glInt(GL_BLEND_SRC_RGB), GL_ONE);
    EXPECT_EQ(glInt(GL_BLEND_DST_RGB), GL_ONE);
    EXPECT_EQ(glInt(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(boundTexture2D(0), GLint(system->smokeTexture));
    EXPECT_EQ(uniformInt(shader->program, "smokeTexture"), 0);

    // The vertex array's attributes: the quad per vertex, the centre per instance.
    const GLuint vertices = GLuint(glGetAttribLocation(shader->program, "vertices"));
    const GLuint centerPos = GLuint(glGetAttribLocation(shader->program, "centerPos"));
    glBindVertexArray(system->VAO);
    EXPECT_EQ(attribInt(vertices, GL_VERTEX_ATTRIB_ARRAY_DIVISOR), 0);
    EXPECT_EQ(attribInt(centerPos, GL_VERTEX_ATTRIB_ARRAY_DIVISOR), 1);
    EXPECT_EQ(attribInt(vertices, GL_VERTEX_ATTRIB_ARRAY_SIZE), 3);
    EXPECT_EQ(attribInt(centerPos, GL_VERTEX_ATTRIB_ARRAY_SIZE), 4);
    EXPECT_EQ(attribInt(vertices, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING),
              GLint(system->billboardVBO));
    EXPECT_EQ(attribInt(centerPos, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING),
              GLint(system->positionSizeVBO));
    EXPECT_EQ(attribInt(vertices, GL_VERTEX_ATTRIB_ARRAY_ENABLED), 0);
    EXPECT_EQ(attribInt(centerPos, GL_VERTEX_ATTRIB_ARRAY_ENABLED), 0);
    glBindVertexArray(0);
    EXPECT_EQ(bufferSize(system->positionSizeVBO), 160000);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));

    // No living particle: nothing at all is drawn.
    glClear(GL_COLOR_BUFFER_BIT);
    system->particlesCount = 0;
    system->draw();
    EXPECT_EQ(target.pixel(8, 8), Px({0, 0, 0, 0}));
    EXPECT_EQ(target.pixel(8, 24), Px({0, 0, 0, 0}));
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(ParticleSystemTest, ProgramWithoutTheInstanceAttributeDrawsNothing) {
    auto shader = shaderFrom("particleNoCentre", kNoCentreVert, kFlatFrag);
    auto system = makeSystem(shader.get());
    system->positionSizeData[0] = glm::vec4(0, 0, 0, 2.0f);
    system->particlesCount = 1;
    OffscreenTarget target(8, 8);
    system->draw();
    EXPECT_EQ(target.pixel(4, 4), std::vector<unsigned char>({0, 0, 0, 0}));
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(ParticleSystemTest, SteamShaderRisesFromTheCupAndFadesUpwards) {
    const std::string dir = std::string(MD_SOURCE_DIR) + "/shader/";
    std::unique_ptr<Shader> shader;
    captureStdout([&] {
        shader = std::make_unique<Shader>((dir + "particleVert.txt").c_str(),
                                          (dir + "particleFrag.txt").c_str());
    });
    ASSERT_GE(glGetAttribLocation(shader->program, "vertices"), 0);
    ASSERT_GE(glGetAttribLocation(shader->program, "centerPos"), 0);
    uploadProjection(shader.get(), screenProjection(64, 64));
    camera.applyView(shader.get());  // looking down -Z at cup A
    // A full-white texture, so the look is all the shader's.
    std::vector<unsigned char> white(16 * 3, 255);
    ASSERT_TRUE(writePng(root / "textures/smoke/smoke.png", 4, 4, 3, white));
    auto system = makeSystem(shader.get());

    std::srand(1);
    deltaTime = 1.0f / 60.0f;
    for (int frame = 0; frame < 30; ++frame) system->update();
    ASSERT_GT(system->particlesCount, 2000);

    OffscreenTarget target(64, 64);
    system->draw();
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
    // The view is 64 pixels for about 3.8 units; the middle row is 0.3 above
    // the coffee. A column through the cup: dark under the coffee, bright
    // just above it, fading out upwards.
    const auto green = [&target](int x, int y) { return int(target.pixel(x, y)[1]); };
    EXPECT_LT(green(32, 16), 5);
    EXPECT_GT(green(32, 28), 200);
    EXPECT_GT(green(32, 36), 200);
    EXPECT_LT(green(32, 54), green(32, 46));
    EXPECT_LT(green(32, 62), green(32, 54));
    // A column 1.4 units to the side stays dark.
    for (int y = 0; y < 64; y += 4) EXPECT_LT(green(8, y), 5) << y;
}
