// snapshot: renders the scene at chosen moments of the day and saves PNGs.
//   snapshot <width> <height> <seconds> <out.png> [<seconds> <out.png> ...]
//   snapshot <width> <height> <seconds> --time <frames>
// The second form prints the start-up time and the median time of <frames>
// whole frames (drawn and finished) at that moment.
// Seconds count from the first frame, as in a real run. The frames in between
// are simulated at 60 per second without drawing, so a picture 100 s into the
// day takes only as long as its own frame. It reads its data from beside
// its own folder, as the program does, wherever it is started.

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/EnvironmentCapture.h"
#include "app/FrameLoop.h"
#include "app/Window.h"
#include "app/Startup.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/TimeSource.h"
#include "camera/Camera.h"
#include "scene/Scene.h"

namespace {

double simulatedTime = 0.0;

bool savePng(const std::string& file, int width, int height) {
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    stbi_flip_vertically_on_write(1);
    return stbi_write_png(file.c_str(), width, height, 3, pixels.data(), width * 3) != 0;
}

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Draws `frames` frames 1/60 s apart and returns the median time of one, in ms.
double medianFrameMs(int frames) {
    std::vector<double> times;
    for (int f = 0; f < frames; ++f) {
        simulatedTime += 1.0 / 60.0;
        const auto t0 = std::chrono::steady_clock::now();
        runFrame();
        glFinish();
        times.push_back(secondsSince(t0) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times.empty() ? 0.0 : times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: snapshot <width> <height> <seconds> <out.png> ...\n");
        return 2;
    }
    // The pictures go where the caller asked; the data is read from our folder.
    const std::filesystem::path callerFolder = std::filesystem::current_path();
    enterProgramFolder();
    screenWidth = std::atoi(argv[1]);
    screenHeight = std::atoi(argv[2]);
    windowTitle = "Morrowdock";
    fullscreen = false;
    setTimeSource([] { return simulatedTime; });

    const auto startUp = std::chrono::steady_clock::now();
    init();
    const auto captureStart = std::chrono::steady_clock::now();
    captureEnvironment();
    glFinish();
    const double captureSeconds = secondsSince(captureStart);
    const double initSeconds = secondsSince(startUp);
    simulatedTime = 1.0;
    runFrame();  // the first frame: the clock jumps to its start
    const double firstFrameAt = simulatedTime;
    for (int i = 3; i + 1 < argc; i += 2) {
        const double target = firstFrameAt + std::atof(argv[i]);
        while (simulatedTime + 1.0 / 60.0 < target) {
            simulatedTime += 1.0 / 60.0;
            simulateFrame();
        }
        simulatedTime = target;
        if (std::strcmp(argv[i + 1], "--time") == 0 && i + 2 < argc) {
            const int frames = std::atoi(argv[i + 2]);
            std::printf("start-up %.2f s (capture %.1f ms); median frame %.1f ms over %d frames at %.1f s (clock %.0f)\n",
                        initSeconds, captureSeconds * 1000.0, medianFrameMs(frames), frames, std::atof(argv[i]),
                        double(timeOfDay));
            break;
        }
        drawFrame();
        const std::string file = (callerFolder / argv[i + 1]).string();
        const bool saved = savePng(file, screenWidth, screenHeight);
        glfwSwapBuffers(appWindow->window);
        if (!saved) {
            std::fprintf(stderr, "snapshot: cannot write %s\n", argv[i + 1]);
            return 1;
        }
        const glm::vec3 p = mainCamera->position, f = mainCamera->front;
        std::printf("snapshot: %s at %.1f s (clock %.0f), camera (%.1f %.1f %.1f) looking (%.2f %.2f %.2f)\n",
                    argv[i + 1], std::atof(argv[i]), double(timeOfDay), p.x, p.y, p.z, f.x, f.y, f.z);
    }
    cleanup();
    return 0;
}
