#include "scene/Scene.h"

#include <algorithm>
#include <iterator>

#include "core/Globals.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "effects/WaterFrameBuffers.h"
#include "lighting/DirectionalLight.h"
#include "lighting/PointLight.h"
#include "lighting/SpotLight.h"
#include "render/Model.h"
#include "scene/Entity.h"
#include "scene/Placements.h"

DirectionalLight* sunLight = nullptr;
PointLight* lampLightLeft = nullptr;
PointLight* lampLightRight = nullptr;
PointLight* sunPointLight = nullptr;
SpotLight* lampSpotLight = nullptr;

Terrain* terrain = nullptr;
WaterFrameBuffers* waterFrameBuffers = nullptr;
Water* water = nullptr;
Skybox* skybox = nullptr;

Entity* boat = nullptr;
Entity* streetLamp = nullptr;
Entity* lightBulbs = nullptr;
Entity* jetty = nullptr;
Entity* sun = nullptr;
Entity* furniture = nullptr;
Entity* breakfast = nullptr;
Entity* coffeeCup = nullptr;
Entity* juice = nullptr;
Entity* glasses = nullptr;
Entity* vase = nullptr;
Entity* flower = nullptr;

std::vector<Entity*> treeEntities;
std::vector<Entity*> grassEntities;
std::vector<Entity*> shadowCasters;
std::vector<Entity*> reflectedEntities;
std::vector<Entity*> capturedEntities;
std::vector<Model*> sceneModels;

Frustum* viewFrustum = nullptr;
Camera* mainCamera = nullptr;
Camera* captureCamera = nullptr;

namespace {
// Where the day starts with its moving lights.
const glm::vec3 kLampLeftStart(-2.5f, 16.5f, -20), kLampRightStart(2.5f, 16.5f, -20);
const glm::vec3 kSunPointStart(0, -100, 0), kLampSpotStart(-5, 15, -20);
const glm::vec3 kSunLightStart(100, 200, 100), kSunLightDirectionStart(-1, -1, 0);
}  // namespace

void initLights() {
    const glm::vec3 lampAmbient(0.22f), lampDiffuse(0.15f, 0.25f, 0.3f), white(1.0f);
    sunLight = new DirectionalLight(kSunLightStart, glm::vec3(0), glm::vec3(0.22f),
                                    glm::vec3(0.15f, 0.25f, 0.3f), glm::vec3(0.5f),
                                    kSunLightDirectionStart);
    lampLightLeft =
        new PointLight(kLampLeftStart, lampAmbient, lampDiffuse, white, 0.0f, 0.2f, 0.1f);
    lampLightRight =
        new PointLight(kLampRightStart, lampAmbient, lampDiffuse, white, 0.0f, 0.2f, 0.1f);
    sunPointLight =
        new PointLight(kSunPointStart, lampAmbient, lampDiffuse, white, 0.0f, 0.2f, 0.1f);
    lampSpotLight = new SpotLight(kLampSpotStart, glm::vec3(0), glm::vec3(0), white, white,
                                  glm::vec3(0, -1, 0), 1.0f, 0.001f, 0.001f, 40.0f, 100.0f);
}

void placeLightsAtStart() {
    if (sunLight) {
        sunLight->setPosition(kSunLightStart);
        sunLight->setDirection(kSunLightDirectionStart);
    }
    if (lampLightLeft) lampLightLeft->setPosition(kLampLeftStart);
    if (lampLightRight) lampLightRight->setPosition(kLampRightStart);
    if (sunPointLight) sunPointLight->setPosition(kSunPointStart);
    if (lampSpotLight) lampSpotLight->setPosition(kLampSpotStart);
}

namespace {

Model* loadModel(const char* path, bool forceUpNormals, bool cullFaces) {
    Model* model = new Model(path, forceUpNormals, cullFaces);
    sceneModels.push_back(model);
    return model;
}

// The model files, in the order the scene loads them.
enum ModelFile {
    kBoatModel,
    kStreetLampModel,
    kLightBulbsModel,
    kJettyModel,
    kSunModel,
    kFurnitureModel,
    kBreakfastModel,
    kCoffeeCupModel,
    kJuiceModel,
    kGlassesModel,
    kVaseModel,
    kFlowerModel,
    kTreeModel,
    kTreeFarModel,
    kTreeThinModel,
    kTreeDistantModel,
    kGrassModel,
    kGrassThinModel
};
constexpr const char* kModelFiles[] = {
    "../models/boat2/boat.obj",
    "../models/streetLamp/streetLamp.obj",
    "../models/streetLamp/lightBulbs.obj",
    "../models/jetty/jetty.obj",
    "../models/sun/sun2.obj",
    "../models/furniture/furniture.obj",
    "../models/breakfast/breakfast/breakfast.obj",
    "../models/breakfast/coffeeCup/coffee.obj",
    "../models/breakfast/waterGlass/juice.obj",
    "../models/breakfast/waterGlass/glasses.obj",
    "../models/vase/vase.obj",
    "../models/flower/flower.obj",
    "../models/tree2/tree.obj",
    "../models/tree2/treeFar.obj",
    "../models/tree2/treeThin.obj",
    "../models/tree2/treeDistant.obj",
    "../models/grass/grassModel.obj",
    "../models/grass/grassThin.obj",
};

const glm::vec3 kNoTurn(0.0f);
const glm::vec3 kUnit(1.0f);

}  // namespace

std::vector<std::string> sceneModelFiles() {
    return std::vector<std::string>(std::begin(kModelFiles), std::end(kModelFiles));
}

void initScene() {
    terrain = Terrain::getInstance();
    water = new Water({modelShader, terrainShader}, waterFrameBuffers, WaterSettings());

    Model* boatModel = loadModel(kModelFiles[kBoatModel], false, true);
    boat = new Entity(boatModel, glm::vec3(105, -2.5f, 10), glm::vec3(0, -90, 0), glm::vec3(0.065f),
                      20.0f);
    Model* lampModel = loadModel(kModelFiles[kStreetLampModel], false, true);
    streetLamp = new Entity(lampModel, kNoTurn, kUnit, 0.0f, -20.0f, 1000.0f);
    Model* bulbModel = loadModel(kModelFiles[kLightBulbsModel], false, true);
    lightBulbs = new Entity(bulbModel, kNoTurn, kUnit, 0.0f, -20.0f, 300.0f);
    Model* jettyModel = loadModel(kModelFiles[kJettyModel], false, true);
    jetty = new Entity(jettyModel, glm::vec3(60, 0, 10), kNoTurn, kUnit, 5000.0f);
    Model* sunModel = loadModel(kModelFiles[kSunModel], false, true);
    sun = new Entity(sunModel, glm::vec3(400, 0, 0), kNoTurn, glm::vec3(2.0f), 1000.0f);
    Model* furnitureModel = loadModel(kModelFiles[kFurnitureModel], false, true);
    furniture = new Entity(furnitureModel, kNoTurn, kUnit, 0.0f, 0.0f, 2500.0f);
    Model* breakfastModel = loadModel(kModelFiles[kBreakfastModel], false, true);
    breakfast = new Entity(breakfastModel, kNoTurn, kUnit, 0.0f, 0.0f, 2500.0f);
    Model* coffeeModel = loadModel(kModelFiles[kCoffeeCupModel], false, true);
    coffeeCup = new Entity(coffeeModel, kNoTurn, kUnit, 0.0f, 0.0f, 2500.0f);
    Model* juiceModel = loadModel(kModelFiles[kJuiceModel], false, true);
    juice = new Entity(juiceModel, kNoTurn, kUnit, 0.0f, 0.0f, 2500.0f);
    Model* glassesModel = loadModel(kModelFiles[kGlassesModel], false, true);
    glasses = new Entity(glassesModel, kNoTurn, kUnit, 0.0f, 0.0f, 2500.0f);
    Model* vaseModel = loadModel(kModelFiles[kVaseModel], false, true);
    vase = new Entity(vaseModel, glm::vec3(1, 8, 1.5f), kNoTurn, kUnit, 100.0f);
    Model* flowerModel = loadModel(kModelFiles[kFlowerModel], false, true);
    flower = new Entity(flowerModel, glm::vec3(1, 8, 1.5f), kNoTurn, kUnit, 100.0f);

    Model* treeModel = loadModel(kModelFiles[kTreeModel], false, false);
    Model* treeFarModel = loadModel(kModelFiles[kTreeFarModel], false, false);
    Model* treeThinModel = loadModel(kModelFiles[kTreeThinModel], false, false);
    Model* treeDistantModel = loadModel(kModelFiles[kTreeDistantModel], false, false);
    for (const glm::vec2 t : kTreePositions) {
        Entity* tree = new Entity(treeModel, kNoTurn, glm::vec3(18.0f), t.x, t.y, 1000.0f);
        tree->farForm = new Entity(treeFarModel, kNoTurn, glm::vec3(18.0f), t.x, t.y, 1000.0f);
        tree->thinForm = new Entity(treeThinModel, kNoTurn, glm::vec3(18.0f), t.x, t.y, 1000.0f);
        tree->distantForm =
            new Entity(treeDistantModel, kNoTurn, glm::vec3(18.0f), t.x, t.y, 1000.0f);
        treeEntities.push_back(tree);
    }

    Model* grassModel = loadModel(kModelFiles[kGrassModel], true, false);
    Model* grassThinModel = loadModel(kModelFiles[kGrassThinModel], true, false);
    for (const glm::vec2 g : kGrassPositions) {
        Entity* grass = new Entity(grassModel, kNoTurn, kUnit, g.x, g.y, 20.0f);
        grass->thinForm = new Entity(grassThinModel, kNoTurn, kUnit, g.x, g.y, 20.0f);
        grassEntities.push_back(grass);
    }

    shadowCasters = treeEntities;
    shadowCasters.insert(shadowCasters.end(),
                         {boat, streetLamp, jetty, furniture, breakfast, vase, glasses});
    reflectedEntities = treeEntities;
    reflectedEntities.insert(reflectedEntities.end(), {boat, streetLamp, jetty});
    capturedEntities = treeEntities;
    capturedEntities.insert(capturedEntities.end(),
                            {streetLamp, furniture, breakfast, coffeeCup, juice, flower, glasses});
}

namespace {
template <typename T>
void release(T*& object) {
    delete object;
    object = nullptr;
}
}  // namespace

void releaseScene() {
    release(lampLightLeft);
    release(lampLightRight);
    release(sunPointLight);
    release(sunLight);
    release(lampSpotLight);
    release(terrain);
    release(water);

    // Entities that sit in several lists are deleted once; the flower is in
    // none of the lists that own entities, so it is named here.
    std::vector<Entity*> all = {lightBulbs, coffeeCup, juice, sun, flower};
    all.insert(all.end(), shadowCasters.begin(), shadowCasters.end());
    for (Entity* tree : treeEntities)
        if (tree) all.insert(all.end(), {tree->farForm, tree->thinForm, tree->distantForm});
    for (Entity* grass : grassEntities)
        if (grass) all.insert(all.end(), {grass, grass->thinForm});
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    for (Entity* e : all) delete e;  // delete of null does nothing
    for (Entity** named : {&boat, &streetLamp, &lightBulbs, &jetty, &sun, &furniture, &breakfast,
                           &coffeeCup, &juice, &glasses, &vase, &flower})
        *named = nullptr;
    treeEntities.clear();
    grassEntities.clear();
    shadowCasters.clear();
    reflectedEntities.clear();
    capturedEntities.clear();

    for (Model* m : sceneModels) delete m;
    sceneModels.clear();
}
