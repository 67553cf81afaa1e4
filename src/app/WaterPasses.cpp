#include "app/WaterPasses.h"

#include <GL/glew.h>

#include "app/ShadowPass.h"
#include "camera/Camera.h"
#include "core/Globals.h"
#include "effects/SkyMath.h"
#include "effects/Skybox.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "effects/WaterFrameBuffers.h"
#include "effects/WaterMath.h"
#include "render/PassTimer.h"
#include "render/RenderTargets.h"
#include "render/Shader.h"
#include "scene/DepthFirst.h"
#include "scene/Entity.h"
#include "scene/EntityCulling.h"
#include "scene/Scene.h"

namespace {

const char* const kClipPlaneName = "waterClipPlane";

void clearTarget() {
    glClearColor(0.41f, 0.2f, 0.42f, 1.0f);
    clearDrawnPart(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, scaledSide(WaterFrameBuffers::kWidth),
                   scaledSide(WaterFrameBuffers::kHeight));
}

// The view of the main camera as it stands now, to the three programs that
// draw in the water passes. The sky gets it turned by its own angle so the
// mirrored sky matches the one of the main pass.
void applyViewToWaterShaders() {
    for (Shader* s : {terrainShader, modelShader, cubemapShader}) mainCamera->applyView(s);
    if (skybox && cubemapShader) {
        cubemapShader->use();
        cubemapShader->setMat4("view", turnedSkyView(mainCamera->view, skybox->skyRotation));
        glUseProgram(0);
    }
}

void drawGroundAndSky() {
    if (terrain) terrain->draw();
    if (skybox) skybox->draw();
}

bool ready() {
    return water && waterFrameBuffers && mainCamera;
}

}  // namespace

void renderWaterReflection() {
    if (!ready()) return;
    TimedStep timed(PassStep::WaterReflection);
    const float h = water->height();
    waterFrameBuffers->bindReflectionFrameBuffer();
    clearTarget();
    water->setClipPlane(reflectionClipPlane(h), kClipPlaneName);

    const glm::vec3 saved = mirrorCamera(*mainCamera, h);
    applyViewToWaterShaders();
    const ViewVolume mirrored = viewVolumeOf(modelShader);
    prepareShadowsFor(mirrored);
    drawGroundAndSky();
    for (Entity* e : reflectedEntities)
        if (e && !hiddenFrom(mirrored, e)) drawEntity(e, modelShader);
    restoreFromMirror(*mainCamera, saved);
    applyViewToWaterShaders();

    waterFrameBuffers->unbindCurrentFrameBuffer();
}

void renderWaterRefraction() {
    if (!ready()) return;
    TimedStep timed(PassStep::WaterRefraction);
    const float h = water->height();
    waterFrameBuffers->bindRefractionFrameBuffer();
    clearTarget();
    water->setClipPlane(refractionClipPlane(h), kClipPlaneName);
    completeShadowsFor(viewVolumeOf(terrainShader));
    drawGroundAndSky();
    water->setClipPlane(disabledClipPlane(), kClipPlaneName);
    glUseProgram(0);
    waterFrameBuffers->unbindCurrentFrameBuffer();
}

void renderWaterPasses() {
    bindShadowMapForWaterPasses();
    renderWaterReflection();
    renderWaterRefraction();
}
