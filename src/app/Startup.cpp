#include "app/Startup.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/AppGlobals.h"
#include "app/Controls.h"
#include "app/Smoke.h"
#include "app/Window.h"
#include "camera/Camera.h"
#include "camera/CameraPath.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "core/TimeSource.h"
#include "effects/ParticleSystem.h"
#include "effects/Skybox.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "effects/WaterFrameBuffers.h"
#include "frame/EnvironmentCapture.h"
#include "frame/SceneTargets.h"
#include "frame/ShadowPass.h"
#include "lighting/ShadowMap.h"
#include "platform/GlCompat.h"
#include "render/LightVariants.h"
#include "render/ReadAhead.h"
#include "render/Shader.h"
#include "render/TextureLoader.h"
#include "scene/DepthFirst.h"
#include "scene/Frustum.h"
#include "scene/Scene.h"
#include "sound/SoundSystem.h"

void initWindow() {
    appWindow = new Window(refreshRate, fullscreen, windowTitle);
    glfwSetKeyCallback(appWindow->window, onKey);
    glfwSetCursorPosCallback(appWindow->window, onCursorPos);
    glfwSetScrollCallback(appWindow->window, onScroll);
    glfwSetInputMode(appWindow->window, GLFW_STICKY_MOUSE_BUTTONS, GLFW_TRUE);
}

void initShaders() {
    modelShader = new Shader("../shader/model_loadingVert.txt", "../shader/model_loadingFrag.txt");
    terrainShader = new Shader("../shader/terrainVert.txt", "../shader/terrainFrag.txt");
    cubemapShader = new Shader("../shader/cubemapVert.txt", "../shader/cubemapFrag.txt");
    oneMapSkyShader =
        new Shader("../shader/cubemapVert.txt", "../shader/cubemapFrag.txt", "#define ONE_MAP");
    waterShader = new Shader("../shader/waterVert.txt", "../shader/waterFrag.txt");
    depthShader = new Shader("../shader/depthVert.txt", "../shader/depthFrag.txt");
    deepWaterShader =
        new Shader("../shader/waterVert.txt", "../shader/waterFrag.txt", "#define DEEP_WATER_ONLY");
    depthFirstShader = new Shader("../shader/model_loadingVert.txt", "../shader/depthFrag.txt");
    horizontalGlowShader =
        new Shader("../shader/frameBufferVert.txt", "../shader/horizontalGlowFrag.txt");
    verticalGlowShader =
        new Shader("../shader/frameBufferVert.txt", "../shader/verticalGlowFrag.txt");
    frameBufferShader =
        new Shader("../shader/frameBufferVert.txt", "../shader/frameBufferFrag.txt");
    reflectionShader = new Shader("../shader/reflectionVert.txt", "../shader/reflectionFrag.txt");
    effectShader = new Shader("../shader/effectShaderVert.txt", "../shader/effectShaderFrag.txt");
    texelResolveShader = new Shader("../shader/effectShaderVert.txt",
                                    "../shader/effectShaderFrag.txt", "#define TEXEL_FOR_TEXEL");
    particleShader = new Shader("../shader/particleVert.txt", "../shader/particleFrag.txt");

    // Built on first use, from the same files.
    modelLightVariants = new LightVariants(modelShader, "../shader/model_loadingVert.txt",
                                           "../shader/model_loadingFrag.txt");
    terrainLightVariants =
        new LightVariants(terrainShader, "../shader/terrainVert.txt", "../shader/terrainFrag.txt");

    sceneShaders = {modelShader,      terrainShader,        cubemapShader,      waterShader,
                    reflectionShader, horizontalGlowShader, verticalGlowShader, frameBufferShader,
                    effectShader,     particleShader};
}

void initFrameBuffers() {
    waterFrameBuffers = new WaterFrameBuffers(screenWidth, screenHeight);
    createSceneFrameBuffers();
}

void initGlState() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    enableClipDistance();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

namespace {
const glm::vec3 kMainCameraStart(0.0f, 3.0f, 2.0f);
}  // namespace

void initCameras() {
    const float aspect = static_cast<float>(screenWidth) / static_cast<float>(screenHeight);
    viewFrustum = new Frustum(90.0f, aspect, 0.1f, 800.0f);
    mainCamera = new Camera(kMainCameraStart, viewFrustum);
    readControlPoints(*mainCamera);
    captureCamera = new Camera(glm::vec3(0.0f), viewFrustum);
    captureCamera->freeMode = true;
    captureCamera->controlPoints.clear();
    uploadProjection(sceneShaders, screenProjection(screenWidth, screenHeight));
}

void initSkyAndShadows() {
    skybox = new Skybox(cubemapShader, mainCamera);
    shadowMap = new ShadowMap({modelShader, terrainShader}, sunLight, mainCamera);
    startShadowTests();
    createEnvironmentTarget();
}

void initSound() {
    soundSystem = new SoundSystem("../sounds/", soundLoopbackRate);
    soundSystem->playMusic();
}

void init() {
    // The scene's files are read on a worker while the window comes up, in
    // the order the steps below need them.
    ReadAheadList files;
    files.textures = Terrain::textureFiles();
    files.textures.insert(files.textures.end(), {Water::kDudvPath, Water::kNormalPath,
                                                 ParticleSystem::kSmokeTexturePath});
    files.models = sceneModelFiles();
    files.cubeFaces = Skybox::dayFaces;
    files.cubeFaces.insert(files.cubeFaces.end(), Skybox::nightFaces.begin(),
                           Skybox::nightFaces.end());
    startReadAhead(files);
    // What the loaders make beside the design's textures, as the quality
    // profile says.
    setLoadChoices(quality.loadChoices());
    initWindow();
    initShaders();
    initFrameBuffers();
    initLights();
    initScene();
    initCameras();
    initParticles();
    initSkyAndShadows();
    initSound();
    initGlState();
}

void restartDay() {
    // The first frame jumps the clock from 0 to the day's start.
    timeOfDay = 0.0f;
    previousTimeOfDay = 0.0f;
    firstFrame = true;
    lastFrame = static_cast<float>(currentTime());
    if (mainCamera) {
        *mainCamera = Camera(kMainCameraStart, viewFrustum);
        readControlPoints(*mainCamera);
    }
    resetPath();
    if (skybox) skybox->skyRotation = 0.0f;
    // The capture draws with the lights as start-up's capture did.
    placeLightsAtStart();
    captureEnvironment();
    if (soundSystem) soundSystem->playMusic();
    if (appWindow) glfwSetWindowShouldClose(appWindow->window, GLFW_FALSE);
}

namespace {
void releaseShader(Shader*& shader) {
    delete shader;
    shader = nullptr;
}
}  // namespace

void cleanup() {
    for (LightVariants** v : {&modelLightVariants, &terrainLightVariants}) {
        delete *v;
        *v = nullptr;
    }
    for (Shader** s : {&modelShader, &terrainShader, &cubemapShader, &waterShader,
                       &horizontalGlowShader, &verticalGlowShader, &frameBufferShader,
                       &effectShader, &reflectionShader, &particleShader})
        releaseShader(*s);
    // The depth programs are not in the shader list but are released all the same.
    releaseShader(depthShader);
    releaseShader(depthFirstShader);
    releaseShader(deepWaterShader);
    releaseShader(texelResolveShader);
    releaseShader(oneMapSkyShader);
    sceneShaders.clear();
    // The scene's GL objects go while the context still exists.
    releaseParticles();
    releaseScene();
    stopReadAhead();
    releaseSceneFrameBuffers();
    // Its depth map and framebuffer need the context.
    delete shadowMap;
    shadowMap = nullptr;
    forgetShadowPass();
    delete waterFrameBuffers;
    waterFrameBuffers = nullptr;
    releaseEnvironmentTarget();
    glfwDestroyWindow(appWindow->window);
    glfwTerminate();
    delete appWindow;
    appWindow = nullptr;

    // No GL context from here on: memory only.
    delete mainCamera;
    mainCamera = nullptr;
    delete captureCamera;
    captureCamera = nullptr;
    delete skybox;
    skybox = nullptr;
    delete soundSystem;
    soundSystem = nullptr;
    delete viewFrustum;
    viewFrustum = nullptr;
}
