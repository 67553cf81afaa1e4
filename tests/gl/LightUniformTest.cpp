#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "gl/GlTestSupport.h"
#include "lighting/DirectionalLight.h"
#include "lighting/PointLight.h"
#include "lighting/SpotLight.h"
#include "render/Shader.h"

namespace {

const char* kVertex = R"(#version 330 core
void main() { gl_Position = vec4(0.0); }
)";

const char* kStructs = R"(#version 330 core
struct DirLight { vec3 position; vec3 direction; vec3 ambient; vec3 diffuse; vec3 specular; };
struct PointLight { vec3 position; vec3 ambient; vec3 diffuse; vec3 specular;
                    float constant; float linear; float quadratic; };
struct SpotLight { vec3 position; vec3 direction; vec3 ambient; vec3 diffuse; vec3 specular;
                   float constant; float linear; float quadratic;
                   float innerAngle; float outerAngle; };
out vec4 color;
)";

// Every member is used so that the linker keeps all of them active.
const char* kPointAndSpotBody = R"(
uniform PointLight pointLights[3];
uniform SpotLight spotLights[1];
vec4 pointAndSpot() {
    vec3 s = vec3(0.0);
    float f = 0.0;
    for (int i = 0; i < 3; ++i) {
        s += pointLights[i].position + pointLights[i].ambient + pointLights[i].diffuse
             + pointLights[i].specular;
        f += pointLights[i].constant + pointLights[i].linear + pointLights[i].quadratic;
    }
    s += spotLights[0].position + spotLights[0].direction + spotLights[0].ambient
         + spotLights[0].diffuse + spotLights[0].specular;
    f += spotLights[0].constant + spotLights[0].linear + spotLights[0].quadratic
         + spotLights[0].innerAngle + spotLights[0].outerAngle;
    return vec4(s, f);
}
)";

const char* kAllMain = R"(
uniform DirLight directionalLights[1];
void main() {
    color = pointAndSpot() + vec4(directionalLights[0].position + directionalLights[0].direction
        + directionalLights[0].ambient + directionalLights[0].diffuse
        + directionalLights[0].specular, 0.0);
}
)";

const char* kPointAndSpotMain = R"(
void main() { color = pointAndSpot(); }
)";

const char* kNoLights = R"(#version 330 core
uniform vec3 tint;
out vec4 color;
void main() { color = vec4(tint, 1.0); }
)";

std::unique_ptr<Shader> makeProgram(const std::string& tag, const std::string& fragment) {
    const auto vert = writeTempFile("light_" + tag + "Vert.txt", kVertex);
    const auto frag = writeTempFile("light_" + tag + "Frag.txt", fragment);
    return std::make_unique<Shader>(vert.c_str(), frag.c_str());
}

glm::vec3 readVec3(const Shader& shader, const std::string& uniform) {
    const GLint location = glGetUniformLocation(shader.program, uniform.c_str());
    EXPECT_NE(location, -1) << uniform;
    float v[3] = {-99.0f, -99.0f, -99.0f};
    glGetUniformfv(shader.program, location, v);
    return glm::vec3(v[0], v[1], v[2]);
}

float readFloat(const Shader& shader, const std::string& uniform) {
    const GLint location = glGetUniformLocation(shader.program, uniform.c_str());
    EXPECT_NE(location, -1) << uniform;
    float v = -99.0f;
    glGetUniformfv(shader.program, location, &v);
    return v;
}

void expectVecNear(glm::vec3 actual, glm::vec3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6f);
    EXPECT_NEAR(actual.y, expected.y, 1e-6f);
    EXPECT_NEAR(actual.z, expected.z, 1e-6f);
}

GLint currentProgram() {
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

class LightUniform : public ::testing::Test {
protected:
    std::unique_ptr<Shader> all;
    std::unique_ptr<Shader> pointAndSpot;
    std::unique_ptr<Shader> none;
    const glm::vec3 tint{0.25f, 0.5f, 0.75f};

    void SetUp() override {
        ASSERT_EQ(DirectionalLight::count + PointLight::count + SpotLight::count, 0);
        const std::string shared = std::string(kStructs) + kPointAndSpotBody;
        std::string log = captureStdout([&] {
            all = makeProgram("all", shared + kAllMain);
            pointAndSpot = makeProgram("pointSpot", shared + kPointAndSpotMain);
            none = makeProgram("none", kNoLights);
        });
        ASSERT_EQ(log, "");
        none->use();
        none->setVec3("tint", tint.x, tint.y, tint.z);
        glUseProgram(0);
        sceneShaders = {all.get(), pointAndSpot.get(), none.get()};
        ASSERT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    void TearDown() override { sceneShaders.clear(); }

    // The program without light uniforms is left as it was, and nothing failed.
    void expectCleanUpload() {
        EXPECT_EQ(readVec3(*none, "tint"), tint);
        EXPECT_EQ(currentProgram(), 0);
        EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

}  // namespace

TEST_F(LightUniform, ConstructionSendsEveryUniformToEveryProgram) {
    DirectionalLight sun(glm::vec3(100, 200, 100), glm::vec3(0, 90, 0), glm::vec3(0.22f),
                         glm::vec3(0.15f, 0.25f, 0.3f), glm::vec3(0.5f), glm::vec3(1, 0, 0));
    PointLight left(glm::vec3(-2.5f, 16.5f, -20), glm::vec3(0.1f), glm::vec3(0.2f), glm::vec3(0.3f),
                    0.0f, 0.2f, 0.1f);
    PointLight right(glm::vec3(2.5f, 16.5f, -20), glm::vec3(0.4f), glm::vec3(0.5f), glm::vec3(0.6f),
                     0.5f, 0.25f, 0.125f);
    SpotLight spot(glm::vec3(-5, 15, -20), glm::vec3(0), glm::vec3(0), glm::vec3(1),
                   glm::vec3(0.9f), glm::vec3(0, -1, 0), 1.0f, 0.001f, 0.002f, 40.0f, 100.0f);
    expectCleanUpload();

    expectVecNear(readVec3(*all, "directionalLights[0].position"), glm::vec3(100, 200, 100));
    expectVecNear(readVec3(*all, "directionalLights[0].direction"), glm::vec3(0, 0, -1));
    expectVecNear(readVec3(*all, "directionalLights[0].ambient"), glm::vec3(0.22f));
    expectVecNear(readVec3(*all, "directionalLights[0].diffuse"), glm::vec3(0.15f, 0.25f, 0.3f));
    expectVecNear(readVec3(*all, "directionalLights[0].specular"), glm::vec3(0.5f));

    for (const Shader* s : {all.get(), pointAndSpot.get()}) {
        SCOPED_TRACE(s == all.get() ? "all" : "pointAndSpot");
        // Each point light writes its own element, in creation order.
        expectVecNear(readVec3(*s, "pointLights[0].position"), glm::vec3(-2.5f, 16.5f, -20));
        expectVecNear(readVec3(*s, "pointLights[0].specular"), glm::vec3(0.3f));
        EXPECT_EQ(readFloat(*s, "pointLights[0].constant"), 0.0f);
        EXPECT_EQ(readFloat(*s, "pointLights[0].linear"), 0.2f);
        expectVecNear(readVec3(*s, "pointLights[1].position"), glm::vec3(2.5f, 16.5f, -20));
        expectVecNear(readVec3(*s, "pointLights[1].ambient"), glm::vec3(0.4f));
        expectVecNear(readVec3(*s, "pointLights[1].diffuse"), glm::vec3(0.5f));
        EXPECT_EQ(readFloat(*s, "pointLights[1].constant"), 0.5f);
        EXPECT_EQ(readFloat(*s, "pointLights[1].quadratic"), 0.125f);

        expectVecNear(readVec3(*s, "spotLights[0].position"), glm::vec3(-5, 15, -20));
        expectVecNear(readVec3(*s, "spotLights[0].direction"), glm::vec3(0, -1, 0));
        expectVecNear(readVec3(*s, "spotLights[0].diffuse"), glm::vec3(1));
        expectVecNear(readVec3(*s, "spotLights[0].specular"), glm::vec3(0.9f));
        EXPECT_EQ(readFloat(*s, "spotLights[0].constant"), 1.0f);
        EXPECT_EQ(readFloat(*s, "spotLights[0].linear"), 0.001f);
        EXPECT_EQ(readFloat(*s, "spotLights[0].quadratic"), 0.002f);
        // Cone angles arrive as cosines.
        EXPECT_NEAR(readFloat(*s, "spotLights[0].innerAngle"), 0.76604444f, 1e-7f);
        EXPECT_NEAR(readFloat(*s, "spotLights[0].outerAngle"), -0.17364818f, 1e-7f);
    }
}

TEST_F(LightUniform, ChangesReachEveryProgramAndLeaveNoProgramBound) {
    DirectionalLight sun(glm::vec3(0), glm::vec3(0), glm::vec3(0), glm::vec3(0), glm::vec3(0),
                         glm::vec3(-1, -1, 0));
    PointLight first(glm::vec3(0), glm::vec3(0), glm::vec3(0), glm::vec3(0), 0.0f, 0.2f, 0.1f);
    PointLight second(glm::vec3(0), glm::vec3(0), glm::vec3(0), glm::vec3(0), 0.0f, 0.2f, 0.1f);
    SpotLight spot(glm::vec3(0), glm::vec3(0), glm::vec3(0), glm::vec3(1), glm::vec3(1),
                   glm::vec3(0, -1, 0), 1.0f, 0.001f, 0.001f, 10.0f, 45.0f);

    // A caller's program bound before a light operation is not bound after it.
    all->use();
    sun.setPosition(glm::vec3(7, 200, -3));
    EXPECT_EQ(currentProgram(), 0);
    sun.setDirection(glm::vec3(-7, -200, 3));
    sun.setAmbient(glm::vec3(0.3f));
    expectCleanUpload();
    expectVecNear(readVec3(*all, "directionalLights[0].position"), glm::vec3(7, 200, -3));
    expectVecNear(readVec3(*all, "directionalLights[0].direction"), glm::vec3(-7, -200, 3));
    expectVecNear(readVec3(*all, "directionalLights[0].ambient"), glm::vec3(0.3f));

    sun.setRotation(glm::vec3(0, 0, 90));  // (-1, -1, 0) turned about z: (1, -1, 0)
    expectVecNear(readVec3(*all, "directionalLights[0].direction"), glm::vec3(1, -1, 0));

    second.setPosition(glm::vec3(0, -100, 0));
    second.changeQuadratic(0.1f, 2.0f);
    first.move(glm::vec3(1, 2, 3), 2.0f);
    spot.setInnerAngle(50.0f);  // limited by the outer angle of 45
    spot.changeOuterAngle(5.0f, 3.0f);
    spot.rotate(glm::vec3(90, 0, 0), 1.0f);
    expectCleanUpload();
    for (const Shader* s : {all.get(), pointAndSpot.get()}) {
        SCOPED_TRACE(s == all.get() ? "all" : "pointAndSpot");
        expectVecNear(readVec3(*s, "pointLights[1].position"), glm::vec3(0, -100, 0));
        EXPECT_NEAR(readFloat(*s, "pointLights[1].quadratic"), 0.3f, 1e-7f);
        expectVecNear(readVec3(*s, "pointLights[0].position"), glm::vec3(2, 4, 6));
        EXPECT_NEAR(readFloat(*s, "spotLights[0].innerAngle"), 0.7071068f, 1e-7f);
        EXPECT_NEAR(readFloat(*s, "spotLights[0].outerAngle"), 0.5f, 1e-7f);
        expectVecNear(readVec3(*s, "spotLights[0].direction"), glm::vec3(0, 0, -1));
    }

    // Operations a directional light does not have touch nothing.
    sun.setConstant(3.0f);
    sun.changeLinear(1.0f, 1.0f);
    expectCleanUpload();
}
