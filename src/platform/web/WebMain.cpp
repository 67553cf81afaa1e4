// The page's entry point: the desktop program's start-up and frame, driven
// by the browser's animation frames instead of a blocking loop. The page
// (shell.html) starts the day on a click, since sound needs a gesture, and
// starts it over when the day ends. A test page (?test) draws chosen
// moments with a simulated clock, as the snapshot tool does, and reads them
// back.

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ToolRun.h"
#include "app/AdaptiveQuality.h"
#include "app/AppGlobals.h"
#include "app/FrameLoop.h"
#include "app/Startup.h"
#include "app/Window.h"
#include "camera/Camera.h"
#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "frame/EnvironmentCapture.h"
#include "platform/GlCompat.h"
#include "scene/Scene.h"
#include "sound/AudioBackend.h"
#include "sound/SoundSystem.h"

namespace {

enum class Mode { Waiting, Playing, Ended, Test };
Mode mode = Mode::Waiting;
double lastFrameAt = 0.0;
int framesDrawn = 0;
double testFirstFrameAt = -1.0;
std::vector<unsigned char> testPixels;

double nowSeconds() {
    return emscripten_get_now() / 1000.0;
}

void tick() {
    if (mode != Mode::Playing) return;
    // The music's buffers are refilled here: the page runs no sound thread.
    if (soundSystem && soundSystem->system) soundSystem->system->refillNow();
    beginQualityFrame();
    runFrame();
    const double now = nowSeconds();
    endQualityFrame(now - lastFrameAt);
    lastFrameAt = now;
    ++framesDrawn;
    if (glfwWindowShouldClose(appWindow->window)) {
        mode = Mode::Ended;
        EM_ASM({
            if (Module.onDayEnded) Module.onDayEnded();
        });
    }
}

}  // namespace

extern "C" {

// The click on the start overlay: the day begins with the next frame.
EMSCRIPTEN_KEEPALIVE void md_start() {
    if (mode != Mode::Waiting) return;
    lastFrameAt = nowSeconds();
    mode = Mode::Playing;
}

// "Play again" once the day has ended: the day from its start, with nothing
// loaded anew and the sound already allowed.
EMSCRIPTEN_KEEPALIVE void md_play_again() {
    if (mode != Mode::Ended) return;
    restartDay();
    lastFrameAt = nowSeconds();
    mode = Mode::Playing;
}

EMSCRIPTEN_KEEPALIVE int md_frames() {
    return framesDrawn;
}

EMSCRIPTEN_KEEPALIVE float md_clock() {
    return timeOfDay;
}

// The main camera's position along axis 0, 1 or 2.
EMSCRIPTEN_KEEPALIVE float md_camera(int axis) {
    return mainCamera && axis >= 0 && axis < 3 ? mainCamera->position[axis] : 0.0f;
}

EMSCRIPTEN_KEEPALIVE float md_render_scale() {
    return quality.scale;
}

// 1 where the shaders clip at the water plane by discarding (no
// WEBGL_clip_cull_distance, or ?noclip), 0 where the context clips.
EMSCRIPTEN_KEEPALIVE int md_clips_by_discard() {
    return hasClipDistances() ? 0 : 1;
}

// Test page only: draws the frame `seconds` after the first one (the frames
// between simulated at 60 a second, as snapshot does) and returns its pixels,
// RGBA rows bottom first, screenWidth x screenHeight.
EMSCRIPTEN_KEEPALIVE unsigned char* md_test_moment(double seconds) {
    if (mode != Mode::Test) return nullptr;
    if (testFirstFrameAt < 0.0) {
        simulatedTime = 1.0;
        runFrame();  // the first frame: the clock jumps to its start
        quality.wholeClears = false;
        testFirstFrameAt = simulatedTime;
    }
    simulateUntil(testFirstFrameAt + seconds);
    drawFrame();
    testPixels.assign(size_t(screenWidth) * size_t(screenHeight) * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screenWidth, screenHeight, GL_RGBA, GL_UNSIGNED_BYTE, testPixels.data());
    return testPixels.data();
}

}  // extern "C"

int main() {
    // The scene data is packed at /shader, /models, ...; the program reads
    // it from beside its own folder, as on the desktop.
    mkdir("/bin", 0755);
    if (chdir("/bin") != 0) return 1;
    const bool test = EM_ASM_INT({ return Module.mdTest ? 1 : 0; }) != 0;
    screenWidth = EM_ASM_INT({ return Module.mdWidth; });
    screenHeight = EM_ASM_INT({ return Module.mdHeight; });
    windowTitle = "Morrowdock";
    fullscreen = false;
    if (EM_ASM_INT({ return Module.mdNoClip ? 1 : 0; }) != 0) forgoClipDistances();
    if (test) {
        // The snapshot tool's start: its clock, the design's full frame.
        prepareToolRun(screenWidth, screenHeight);
        // As snapshot's --without: shortcuts named on the address are off.
        const std::string without = emscripten_run_script_string("Module.mdWithout || ''");
        if (!without.empty()) quality.turnOff(without);
        init();
        captureEnvironment();
        mode = Mode::Test;
    } else {
        initQuality();
        init();
        captureAtStartUp();
    }
    emscripten_set_main_loop(tick, 0, false);
    EM_ASM({
        if (Module.onSceneReady) Module.onSceneReady();
    });
    return 0;
}
