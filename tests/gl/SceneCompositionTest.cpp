// The composed scene on the real generated data: the shader list, the lights
// in every program, the entities and their lists, the cameras and projection.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/Startup.h"
#include "camera/Camera.h"
#include "core/Globals.h"
#include "effects/Skybox.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "frame/SceneTargets.h"
#include "gl/GlTestSupport.h"
#include "render/LightVariants.h"
#include "render/Model.h"
#include "render/Shader.h"
#include "scene/DepthFirst.h"
#include "scene/Entity.h"
#include "scene/Scene.h"

namespace {

glm::vec3 uniformVec3(const Shader* shader, const char* name) {
    GLfloat v[3] = {-999.0f, -999.0f, -999.0f};
    const GLint location = glGetUniformLocation(shader->program, name);
    if (location >= 0) glGetUniformfv(shader->program, location, v);
    return glm::vec3(v[0], v[1], v[2]);
}

class SceneComposition : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        screenWidth = 1080;
        screenHeight = 720;
        captureStdout([] {
            initShaders();
            initLights();
            initScene();
            initCameras();
        });
    }
    static void TearDownTestSuite() {
        releaseScene();
        delete mainCamera;
        delete captureCamera;
        mainCamera = captureCamera = nullptr;
        // Later tests in this binary run frames that look for these programs;
        // the narrower lighting programs hold the full ones.
        for (LightVariants** v : {&modelLightVariants, &terrainLightVariants}) {
            delete *v;
            *v = nullptr;
        }
        for (Shader** s : {&modelShader, &terrainShader, &cubemapShader, &waterShader, &depthShader,
                           &depthFirstShader, &deepWaterShader, &horizontalGlowShader,
                           &verticalGlowShader, &frameBufferShader, &reflectionShader,
                           &effectShader, &texelResolveShader, &oneMapSkyShader, &particleShader}) {
            delete *s;
            *s = nullptr;
        }
        sceneShaders.clear();
        takeGlError();
    }
};

}  // namespace

TEST_F(SceneComposition, ShaderListHoldsTenProgramsInUploadOrderWithoutDepth) {
    const std::vector<Shader*> expected = {
        modelShader,          terrainShader,      cubemapShader,     waterShader,  reflectionShader,
        horizontalGlowShader, verticalGlowShader, frameBufferShader, effectShader, particleShader};
    EXPECT_EQ(sceneShaders, expected);
    EXPECT_EQ(std::count(sceneShaders.begin(), sceneShaders.end(), depthShader), 0);
}

TEST_F(SceneComposition, LightsReachTheListedProgramsButNotTheDepthProgram) {
    for (Shader* s : {modelShader, terrainShader}) {
        const glm::vec3 left = uniformVec3(s, "pointLights[0].position");
        EXPECT_FLOAT_EQ(left.x, -2.5f);
        EXPECT_FLOAT_EQ(left.y, 16.5f);
        EXPECT_FLOAT_EQ(left.z, -20.0f);
        EXPECT_FLOAT_EQ(uniformVec3(s, "pointLights[2].position").y, -100.0f);
        EXPECT_FLOAT_EQ(uniformVec3(s, "spotLights[0].position").x, -5.0f);
        EXPECT_FLOAT_EQ(uniformVec3(s, "directionalLights[0].ambient").x, 0.22f);
    }
    EXPECT_EQ(glGetUniformLocation(depthShader->program, "pointLights[0].position"), -1);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

TEST_F(SceneComposition, ProjectionReachesEveryListedProgram) {
    int withProjection = 0;
    for (Shader* s : sceneShaders) {
        const GLint location = glGetUniformLocation(s->program, "projection");
        if (location < 0) continue;  // the quad shaders do not use it
        GLfloat m[16] = {};
        glGetUniformfv(s->program, location, m);
        EXPECT_NEAR(m[0] / m[5], 720.0f / 1080.0f, 1e-4) << "aspect in program " << s->program;
        EXPECT_FLOAT_EQ(m[11], -1.0f);
        ++withProjection;
    }
    EXPECT_GE(withProjection, 5);
}

TEST_F(SceneComposition, EntitiesStandWhereTheSceneSaysAndListsHoldTheirMembers) {
    EXPECT_EQ(sceneModels.size(), 18u);
    ASSERT_EQ(treeEntities.size(), 9u);
    ASSERT_EQ(grassEntities.size(), 3u);
    EXPECT_FLOAT_EQ(boat->rotation.y, -1.5707964f);
    EXPECT_EQ(boat->getPosition(), glm::vec3(105.0f, -2.5f, 10.0f));
    EXPECT_EQ(vase->getPosition(), flower->getPosition());
    const float lampGround = terrain->getHeightOfTerrain(0.0f, -20.0f);
    EXPECT_FLOAT_EQ(streetLamp->getPosition().y, lampGround);
    EXPECT_FLOAT_EQ(lightBulbs->getPosition().y, lampGround);
    EXPECT_FLOAT_EQ(furniture->getPosition().y, terrain->getHeightOfTerrain(0.0f, 0.0f));
    EXPECT_NEAR(furniture->getPosition().y, 0.0196f, 0.05f);  // the garden plateau
    EXPECT_FLOAT_EQ(treeEntities[6]->getPosition().x, -50.0f);
    EXPECT_FLOAT_EQ(treeEntities[6]->getPosition().y, terrain->getHeightOfTerrain(-50.0f, -40.0f));
    EXPECT_EQ(treeEntities[0]->model, treeEntities[8]->model);  // one model, shared
    // Each tree's far, thin and distant forms stand where it stands, each one
    // shared model with fewer triangles; nothing else has them.
    for (Entity* tree : treeEntities) {
        for (Entity* form : {tree->farForm, tree->thinForm, tree->distantForm}) {
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->getPosition(), tree->getPosition());
            EXPECT_EQ(form->getScale(), tree->getScale());
        }
        EXPECT_EQ(tree->farForm->model, treeEntities[0]->farForm->model);
        EXPECT_EQ(tree->thinForm->model, treeEntities[0]->thinForm->model);
        EXPECT_EQ(tree->distantForm->model, treeEntities[0]->distantForm->model);
    }
    // Triangles by the texture they are drawn with (bark, leaves).
    const auto triangles = [](const Model* m) {
        std::map<std::string, size_t> n;
        for (const Mesh& mesh : m->meshes)
            n[mesh.textures.empty() ? "" : mesh.textures[0].path] += mesh.indices.size() / 3;
        return n;
    };
    const auto total = [&](const Model* m) {
        size_t sum = 0;
        for (const auto& [texture, count] : triangles(m)) sum += count;
        return sum;
    };
    const Model* near = treeEntities[0]->model;
    EXPECT_LT(4 * total(treeEntities[0]->farForm->model), total(near));
    // The thin form: the same wood, and a quarter of the leaf cards.
    const auto nearParts = triangles(near), thinParts = triangles(treeEntities[0]->thinForm->model);
    ASSERT_EQ(nearParts.size(), 2u);
    ASSERT_EQ(thinParts.size(), 2u);
    int quartered = 0;
    for (const auto& [texture, count] : nearParts) {
        ASSERT_EQ(thinParts.count(texture), 1u) << texture;
        const size_t thin = thinParts.at(texture);
        if (4 * thin == count)
            ++quartered;
        else
            EXPECT_EQ(thin, count) << texture;
    }
    EXPECT_EQ(quartered, 1);
    // The distant form: the far form's wood, and its crown's picture on a
    // few sheets in place of the cards.
    const auto farParts = triangles(treeEntities[0]->farForm->model),
               distantParts = triangles(treeEntities[0]->distantForm->model);
    ASSERT_EQ(distantParts.size(), 2u);
    size_t sheets = 0;
    for (const auto& [texture, count] : distantParts) {
        if (farParts.count(texture)) {
            EXPECT_EQ(count, farParts.at(texture)) << texture;
        } else {
            EXPECT_NE(texture.find("crown"), std::string::npos) << texture;
            sheets = count;
        }
    }
    size_t farCards = 0;
    for (const auto& [texture, count] : farParts)
        if (!distantParts.count(texture)) farCards = count;
    EXPECT_GT(sheets, 0u);
    EXPECT_LT(4 * sheets, farCards);
    for (Entity* form :
         {treeEntities[0]->farForm, treeEntities[0]->thinForm, treeEntities[0]->distantForm})
        EXPECT_FALSE(form->model->cullFaces);
    // The grass's thin form: half of the tufts, one shared model.
    for (Entity* grass : grassEntities) {
        ASSERT_NE(grass->thinForm, nullptr);
        EXPECT_EQ(grass->thinForm->getPosition(), grass->getPosition());
        EXPECT_EQ(grass->thinForm->model, grassEntities[0]->thinForm->model);
        EXPECT_EQ(2 * total(grass->thinForm->model), total(grass->model));
        EXPECT_EQ(grass->farForm, nullptr);
    }
    EXPECT_EQ(boat->farForm, nullptr);
    EXPECT_EQ(boat->thinForm, nullptr);

    auto startsWithTrees = [&](const std::vector<Entity*>& list) {
        return list.size() > 9 &&
               std::equal(treeEntities.begin(), treeEntities.end(), list.begin());
    };
    EXPECT_TRUE(startsWithTrees(shadowCasters));
    EXPECT_TRUE(startsWithTrees(reflectedEntities));
    EXPECT_TRUE(startsWithTrees(capturedEntities));
    EXPECT_EQ(std::vector<Entity*>(shadowCasters.begin() + 9, shadowCasters.end()),
              (std::vector<Entity*>{boat, streetLamp, jetty, furniture, breakfast, vase, glasses}));
    EXPECT_EQ(std::vector<Entity*>(reflectedEntities.begin() + 9, reflectedEntities.end()),
              (std::vector<Entity*>{boat, streetLamp, jetty}));
    EXPECT_EQ(std::vector<Entity*>(capturedEntities.begin() + 9, capturedEntities.end()),
              (std::vector<Entity*>{streetLamp, furniture, breakfast, coffeeCup, juice, flower,
                                    glasses}));
    EXPECT_EQ(std::count(capturedEntities.begin(), capturedEntities.end(), vase), 0);
}

TEST_F(SceneComposition, EveryModelLoadedWithMeshesAndTheTreeAndGrassSwitches) {
    for (Model* m : sceneModels) EXPECT_FALSE(m->meshes.empty()) << m->directory;
    EXPECT_FALSE(treeEntities[0]->model->cullFaces);
    EXPECT_FALSE(grassEntities[0]->model->cullFaces);
    EXPECT_TRUE(grassEntities[0]->model->forceUpNormals);
    EXPECT_TRUE(boat->model->cullFaces);
}

TEST_F(SceneComposition, CamerasStartAsTheFlightNeeds) {
    EXPECT_EQ(mainCamera->controlPoints.size(), 37u);
    EXPECT_FALSE(mainCamera->freeMode);
    EXPECT_TRUE(captureCamera->freeMode);
    EXPECT_TRUE(captureCamera->controlPoints.empty());
    EXPECT_EQ(mainCamera->frustum, viewFrustum);
}
