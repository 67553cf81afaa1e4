// The model program on a lit quad: every light kind reaches it, attenuation
// and the spot cone shape the light, cut-out alpha and see-through objects.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "render/Mesh.h"
#include "render/Shader.h"

namespace {

const std::string kShaderDir = std::string(MD_SOURCE_DIR) + "/shader/";

class ModelShader : public testing::Test {
protected:
    void SetUp() override {
        shader = std::make_unique<Shader>((kShaderDir + "model_loadingVert.txt").c_str(),
                                          (kShaderDir + "model_loadingFrag.txt").c_str());
        shader->use();
        // Identity matrices: the quad is drawn in clip space, facing +z.
        shader->setMat4("model", glm::mat4(1.0f));
        shader->setMat4("view", glm::mat4(1.0f));
        shader->setMat4("projection", glm::mat4(1.0f));
        shader->setVec3("viewPos", 0, 0, 5);
        glUseProgram(0);
    }
    void TearDown() override { glUseProgram(0); }

    // Draws a quad over the whole 8x8 target with a one-colour diffuse map
    // and reads the pixel at (x, y).
    std::vector<unsigned char> render(glm::vec4 colour, int x = 4, int y = 4) {
        OffscreenTarget target(8, 8);
        const glm::vec3 n(0, 0, 1);
        const Mesh quad(
            {{{-1, -1, 0}, n, {0, 0}},
             {{1, -1, 0}, n, {1, 0}},
             {{1, 1, 0}, n, {1, 1}},
             {{-1, 1, 0}, n, {0, 1}}},
            {0, 1, 2, 0, 2, 3},
            {Texture{solidTexture((unsigned char)(colour.r * 255), (unsigned char)(colour.g * 255),
                                  (unsigned char)(colour.b * 255), (unsigned char)(colour.a * 255)),
                     "texture_diffuse", "c.png"}});
        shader->use();
        quad.draw(shader.get());
        auto p = target.pixel(x, y);
        glDeleteTextures(1, &quad.textures[0].id);
        return p;
    }

    void set3(const std::string& name, glm::vec3 v) {
        shader->use();
        shader->setVec3(name.c_str(), v.x, v.y, v.z);
    }
    void set1(const std::string& name, float v) {
        shader->use();
        shader->setFloat(name.c_str(), v);
    }

    std::unique_ptr<Shader> shader;
};

int toByte(float v) {
    return int(std::lround(std::min(v, 1.0f) * 255.0f));
}

}  // namespace

TEST_F(ModelShader, DeclaresEveryLightMemberAndUsesThemAll) {
    const GLuint p = shader->program;
    GLint linked = 0;
    glGetProgramiv(p, GL_LINK_STATUS, &linked);
    ASSERT_EQ(linked, GL_TRUE);
    std::vector<std::string> names = {
        "texture_diffuse1", "texture_specular", "shininess", "viewPos",
        "transparent",      "waterClipPlane",   "model",     "view",
        "projection"};
    for (const char* m : {"position", "ambient", "diffuse", "specular", "direction"})
        names.push_back(std::string("directionalLights[0].") + m);
    for (int i = 0; i < 3; ++i)
        for (const char* m :
             {"position", "ambient", "diffuse", "specular", "constant", "linear", "quadratic"})
            names.push_back("pointLights[" + std::to_string(i) + "]." + m);
    for (const char* m : {"position", "ambient", "diffuse", "specular", "direction", "constant",
                          "linear", "quadratic", "innerAngle", "outerAngle"})
        names.push_back(std::string("spotLights[0].") + m);
    for (const std::string& name : names) {
        // The directional light's position does not light anything.
        if (name == "directionalLights[0].position") continue;
        EXPECT_NE(glGetUniformLocation(p, name.c_str()), -1) << name;
    }
}

TEST_F(ModelShader, SunAndPointLightAddUpWithAttenuation) {
    const glm::vec4 albedo(0.8f, 0.4f, 0.2f, 1.0f);
    set3("directionalLights[0].direction", {0, 0, -1});
    set3("directionalLights[0].ambient", glm::vec3(0.2f));
    set3("directionalLights[0].diffuse", glm::vec3(0.5f));
    auto sun = render(albedo);
    EXPECT_NEAR(sun[0], toByte(0.8f * 0.7f), 2);
    EXPECT_NEAR(sun[1], toByte(0.4f * 0.7f), 2);
    EXPECT_NEAR(sun[2], toByte(0.2f * 0.7f), 2);
    EXPECT_EQ(sun[3], 255);

    // A point light 2 units in front: 1 / (1 + 0 * 2 + 1 * 4) of its diffuse.
    set3("pointLights[1].position", {0, 0, 2});
    set3("pointLights[1].diffuse", glm::vec3(1.0f));
    set1("pointLights[1].constant", 1.0f);
    set1("pointLights[1].quadratic", 1.0f);
    auto both = render(albedo, 4, 4);
    // The centre pixel sits a little off the axis; allow for its angle.
    EXPECT_NEAR(both[0], toByte(0.8f * (0.7f + 0.2f)), 4);
    EXPECT_NEAR(both[2], toByte(0.2f * (0.7f + 0.2f)), 2);
}

TEST_F(ModelShader, SpotConeLightsInsideAndNotOutside) {
    set3("spotLights[0].position", {0, 0, 2});
    set3("spotLights[0].direction", {0, 0, -1});
    set3("spotLights[0].diffuse", glm::vec3(1.0f));
    set1("spotLights[0].constant", 1.0f);
    set1("spotLights[0].innerAngle", std::cos(glm::radians(10.0f)));
    set1("spotLights[0].outerAngle", std::cos(glm::radians(20.0f)));
    const glm::vec4 white(1.0f);
    // The centre pixel is about 5 degrees off the axis; a corner pixel about
    // 32 degrees.
    EXPECT_GT(render(white, 4, 4)[0], 230);
    EXPECT_EQ(render(white, 0, 0)[0], 0);
}

TEST_F(ModelShader, CutOutAlphaDiscardsAndTransparentObjectsAreSeeThrough) {
    set3("directionalLights[0].direction", {0, 0, -1});
    set3("directionalLights[0].ambient", glm::vec3(1.0f));
    // Below half alpha nothing is drawn; the target keeps its clear colour.
    EXPECT_EQ(render({1, 1, 1, 0.4f}), (std::vector<unsigned char>{0, 0, 0, 0}));
    EXPECT_EQ(render({1, 1, 1, 0.6f})[3], 255);
    shader->use();
    shader->setInt("transparent", 1);
    EXPECT_NEAR(render({1, 1, 1, 1})[3], toByte(0.35f), 1);
}
