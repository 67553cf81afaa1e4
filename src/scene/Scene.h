#pragma once
// The content of the scene: the five lights, the loaded models, the named
// entities and the pass lists, the terrain, and the cameras with their
// frustum. Everything is created once at start-up and lives until shutdown.

#include <string>
#include <vector>

class Camera;
class DirectionalLight;
class Entity;
class Frustum;
class Model;
class PointLight;
class Skybox;
class SpotLight;
class Terrain;
class Water;
class WaterFrameBuffers;

extern DirectionalLight* sunLight;
extern PointLight* lampLightLeft;
extern PointLight* lampLightRight;
extern PointLight* sunPointLight;
extern SpotLight* lampSpotLight;

extern Terrain* terrain;
// The lake's two off-screen targets (made by the application before the
// scene) and the lake itself (made with the scene, right after the terrain).
extern WaterFrameBuffers* waterFrameBuffers;
extern Water* water;
// Created with the cameras' help by the application, after the scene.
extern Skybox* skybox;

extern Entity* boat;
extern Entity* streetLamp;
extern Entity* lightBulbs;
extern Entity* jetty;
extern Entity* sun;
extern Entity* furniture;
extern Entity* breakfast;
extern Entity* coffeeCup;
extern Entity* juice;
extern Entity* glasses;
extern Entity* vase;
extern Entity* flower;

extern std::vector<Entity*> treeEntities;
extern std::vector<Entity*> grassEntities;
extern std::vector<Entity*> shadowCasters;
extern std::vector<Entity*> reflectedEntities;
extern std::vector<Entity*> capturedEntities;

// Every model loaded by initScene, in load order (shared by their entities).
extern std::vector<Model*> sceneModels;

extern Frustum* viewFrustum;
extern Camera* mainCamera;
extern Camera* captureCamera;

// The five lights, in creation order (each uploads to sceneShaders at once).
void initLights();
// The lights back where initLights puts them (the day moves them: the sun
// light with the sun, the lamp's three when it fails, the point light after
// the sun). Missing lights are skipped.
void placeLightsAtStart();
// The terrain, the models, the twenty-four entities and the pass lists.
void initScene();
// The model files initScene loads, in its order (for reading them ahead).
std::vector<std::string> sceneModelFiles();
// Deletes the scene's objects above (not the cameras), each once.
void releaseScene();
