// snapshot: renders the scene at chosen moments of the day and saves PNGs.
//   snapshot <width> <height> <seconds> <out.png> [<seconds> <out.png> ...]
//   snapshot <width> <height> <seconds> --time <frames>
//   snapshot <width> <height> <seconds> --profile <frames>
//   snapshot <width> <height> <seconds> --hash [<seconds> --hash ...]
//   snapshot <width> <height> <seconds> --frames <n>
//   snapshot <width> <height> <seconds> --turns <rounds> <name>[,<name>...]
// Leading options: --reference turns off every shortcut of the passes (work
// skipped because it cannot change the picture), for comparing pictures;
// --without <name>[,<name>...] turns off the named ones (see QualityProfile.h);
// --scale <s> draws at the render scale s (0 < s <= 1) as the adaptive
// quality would; --startup starts as the program does (MORROWDOCK_QUALITY
// read the same way), draws the first frame and prints the wall-clock time
// (seconds since the epoch) at which it is finished, for timing start-up
// from outside.
//   snapshot <width> <height> --coverage ...  (the subject mask, see Coverage.h)
// --hash prints a hash of the frame's pixels instead of saving them (for
// comparing builds byte for byte); --frames draws <n> frames in a row, 60
// steps a second, and prints the hash of each, so that what a frame carries
// over to the next is compared too. Leading option --scale-at <k> <s> sets
// the render scale s before the k-th frame of a --frames run.
// The second form prints the start-up time and the median time of <frames>
// whole frames (drawn and finished) at that moment; the third adds the
// median GPU time of each step of the frame (GL_TIME_ELAPSED queries).
// --turns compares the frame with the named shortcuts off against the frame
// as it stands, in one process, so that the machine's drift between runs
// cannot decide it: each round draws three turns of seven frames (the frame
// as it stands, the frame without the shortcuts, and the frame as it stands
// again as a control) in an order that rotates from round to round, and
// times each turn as the median of its frames after the first. It prints the
// median over the rounds of each turn's time against the same round's turn
// of the frame as it stands: the control's ratio shows how far apart two
// equal turns come out.
// Seconds count from the first frame, as in a real run, and the moments in
// increasing order (an earlier one ends the run with status 2). The frames in between
// are simulated at 60 per second without drawing, so a picture 100 s into the
// day takes only as long as its own frame. It reads its data from beside
// its own folder, as the program does, wherever it is started.

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Coverage.h"
#include "ToolRun.h"
#include "app/AdaptiveQuality.h"
#include "app/AppGlobals.h"
#include "app/FrameLoop.h"
#include "app/Startup.h"
#include "app/Window.h"
#include "camera/Camera.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/QualityProfile.h"
#include "frame/EnvironmentCapture.h"
#include "render/PassTimer.h"
#include "scene/Scene.h"

namespace {

bool savePng(const std::string& file, int width, int height) {
    return writePng(file, width, height, readBackBuffer(width, height));
}

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// FNV-1a over the frame's RGB bytes: a pixel that differs by one step in one
// channel changes it.
unsigned long long frameHash(int width, int height) {
    unsigned long long hash = 1469598103934665603ull;
    for (unsigned char byte : readBackBuffer(width, height)) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Draws `frames` frames from the present clock, 1/60 s apart, and prints the
// clock, the render scale and the pixels' hash of each.
void hashFrames(int frames, int scaleAt, float scaleThen) {
    for (int k = 0; k < frames; ++k) {
        if (k > 0) simulatedTime += 1.0 / 60.0;
        if (k == scaleAt) setRenderScale(scaleThen);
        drawFrame();
        std::printf("frame %d clock %.3f scale %g hash %016llx\n", k, double(timeOfDay),
                    double(quality.scale), frameHash(screenWidth, screenHeight));
        glfwSwapBuffers(appWindow->window);
        quality.wholeClears = false;  // as at the end of a real frame
    }
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Draws `frames` frames 1/60 s apart and returns the median time of one, in
// ms. With the pass timer on, `steps` receives each step's median GPU time.
double medianFrameMs(int frames, PassTimes* steps) {
    std::vector<double> times;
    std::array<std::vector<double>, kPassStepCount> gpu, wall;
    for (int f = 0; f < frames; ++f) {
        simulatedTime += 1.0 / 60.0;
        const auto t0 = std::chrono::steady_clock::now();
        runFrame();
        glFinish();
        times.push_back(secondsSince(t0) * 1000.0);
        quality.wholeClears = false;  // as at the end of a real frame
        if (passTimer) {
            const PassTimes t = passTimer->collect();
            for (int s = 0; s < kPassStepCount; ++s) {
                gpu[s].push_back(t.gpuMs[s]);
                wall[s].push_back(t.wallMs[s]);
            }
        }
    }
    if (steps)
        for (int s = 0; s < kPassStepCount; ++s) {
            steps->gpuMs[s] = median(gpu[s]);
            steps->wallMs[s] = median(wall[s]);
        }
    return median(times);
}

// Turns off the named shortcuts of `profile`; false, with a message, when a
// name is unknown (then none is turned off).
bool turnOffNamed(QualityProfile& profile, const char* names) {
    std::string unknown;
    if (profile.turnOff(names, &unknown)) return true;
    std::fprintf(stderr, "snapshot: no shortcut is called %s\n", unknown.c_str());
    return false;
}

// Takes turns between the frame as it stands and without the shortcuts
// `names` (see the header); false (with a message) for an unknown name or
// fewer than one round.
bool compareInTurns(int rounds, const char* names) {
    if (rounds < 1) {
        std::fprintf(stderr, "snapshot: --turns needs at least one round\n");
        return false;
    }
    const QualityProfile asItStands = quality;
    QualityProfile without = quality;
    if (!turnOffNamed(without, names)) return false;
    std::vector<double> withoutRatios, controlRatios;
    for (int r = 0; r < rounds; ++r) {
        std::array<double, 3> ms{};
        for (int k = 0; k < 3; ++k) {
            const int turn = (k + r) % 3;
            quality.on = (turn == 1 ? without : asItStands).on;
            // The turn's first frame clears every target whole, as after a
            // change of scale, so that no turn draws over what the other
            // choice's partial clears left; it is not timed.
            quality.wholeClears = true;
            simulatedTime += 1.0 / 60.0;
            runFrame();
            glFinish();
            quality.wholeClears = false;
            ms[size_t(turn)] = medianFrameMs(6, nullptr);
        }
        withoutRatios.push_back(ms[1] / ms[0]);
        controlRatios.push_back(ms[2] / ms[0]);
    }
    quality.on = asItStands.on;
    std::printf("without %s: %.3f of the frame as it stands; control %.3f (medians of %d rounds)\n",
                names, median(withoutRatios), median(controlRatios), rounds);
    return true;
}

// Median milliseconds per step: the GL query's time and the fenced wall
// time (the step's work finished before and after it).
void printProfile(const PassTimes& steps, const PassTimes& capture) {
    const int c = int(PassStep::Capture);
    double gpuSum = 0.0, wallSum = 0.0;
    std::printf("%-18s %9s %9s\n", "step", "query ms", "fenced ms");
    std::printf("%-18s %9.1f %9.1f  (start-up)\n", passStepName(PassStep::Capture),
                capture.gpuMs[c], capture.wallMs[c]);
    for (int s = 0; s < kPassStepCount; ++s) {
        if (s == c && steps.wallMs[s] == 0.0) continue;
        std::printf("%-18s %9.1f %9.1f\n", passStepName(PassStep(s)), steps.gpuMs[s],
                    steps.wallMs[s]);
        gpuSum += steps.gpuMs[s];
        wallSum += steps.wallMs[s];
    }
    std::printf("%-18s %9.1f %9.1f\n", "sum of steps", gpuSum, wallSum);
}

}  // namespace

int main(int argc, char** argv) {
    float scale = 1.0f;
    bool startupOnly = false;
    int scaleAt = -1;
    float scaleThen = 1.0f;
    while (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) {
        if (std::strcmp(argv[1], "--reference") == 0) {
            quality.setAll(false);
        } else if (std::strcmp(argv[1], "--without") == 0 && argc > 2) {
            if (!turnOffNamed(quality, argv[2])) return 2;
            --argc;
            ++argv;
        } else if (std::strcmp(argv[1], "--startup") == 0) {
            startupOnly = true;
        } else if (std::strcmp(argv[1], "--scale-at") == 0 && argc > 3) {
            scaleAt = std::atoi(argv[2]);
            scaleThen = float(std::atof(argv[3]));
            argc -= 2;
            argv += 2;
        } else if (std::strcmp(argv[1], "--scale") == 0 && argc > 2) {
            scale = float(std::atof(argv[2]));
            --argc;
            ++argv;
        } else {
            break;
        }
        --argc;
        ++argv;
    }
    if (argc >= 4 && std::strcmp(argv[3], "--coverage") == 0) return runCoverage(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: snapshot <width> <height> <seconds> <out.png> ...\n");
        return 2;
    }
    // The pictures go where the caller asked; the data is read from our folder.
    const std::filesystem::path callerFolder = std::filesystem::current_path();
    enterProgramFolder();
    prepareToolRun(std::atoi(argv[1]), std::atoi(argv[2]));

    if (startupOnly) {
        initQuality();
        init();
        captureAtStartUp();
        beginQualityFrame();
        simulatedTime = 1.0;
        runFrame();
        glFinish();
        const double now =
            std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        std::printf("first frame finished at %.3f, render scale %g\n", now, double(quality.scale));
        cleanup();
        return 0;
    }

    const bool profile = argc > 4 && std::strcmp(argv[4], "--profile") == 0;
    PassTimer timer(true);
    const auto startUp = std::chrono::steady_clock::now();
    init();
    if (scale != 1.0f) setRenderScale(scale);
    if (profile) passTimer = &timer;
    const auto captureStart = std::chrono::steady_clock::now();
    captureEnvironment();
    glFinish();
    const double captureSeconds = secondsSince(captureStart);
    const double initSeconds = secondsSince(startUp);
    const PassTimes captureTimes = profile ? timer.collect() : PassTimes{};
    simulatedTime = 1.0;
    runFrame();  // the first frame: the clock jumps to its start
    quality.wholeClears = false;
    const double firstFrameAt = simulatedTime;
    for (int i = 3; i + 1 < argc; i += 2) {
        const double moment = std::atof(argv[i]);
        if (!advanceToMoment("snapshot", firstFrameAt, moment)) {
            cleanup();
            return 2;
        }
        if (std::strcmp(argv[i + 1], "--frames") == 0 && i + 2 < argc) {
            hashFrames(std::atoi(argv[i + 2]), scaleAt, scaleThen);
            ++i;
            continue;
        }
        if (std::strcmp(argv[i + 1], "--turns") == 0 && i + 3 < argc) {
            if (!compareInTurns(std::atoi(argv[i + 2]), argv[i + 3])) {
                cleanup();
                return 2;
            }
            break;
        }
        if ((std::strcmp(argv[i + 1], "--time") == 0 || profile) && i + 2 < argc) {
            const int frames = std::atoi(argv[i + 2]);
            if (passTimer) passTimer->collect();  // drop what the simulated frames queued
            PassTimes steps;
            const double frameMs = medianFrameMs(frames, &steps);
            std::printf(
                "start-up %.2f s (capture %.1f ms); median frame %.1f ms over %d frames at %.1f s "
                "(clock %.0f)\n",
                initSeconds, captureSeconds * 1000.0, frameMs, frames, moment, double(timeOfDay));
            if (profile) printProfile(steps, captureTimes);
            break;
        }
        drawFrame();
        if (std::strcmp(argv[i + 1], "--hash") == 0) {
            std::printf("moment %s clock %.3f hash %016llx\n", argv[i], double(timeOfDay),
                        frameHash(screenWidth, screenHeight));
            glfwSwapBuffers(appWindow->window);
            continue;
        }
        const std::string file = (callerFolder / argv[i + 1]).string();
        const bool saved = savePng(file, screenWidth, screenHeight);
        glfwSwapBuffers(appWindow->window);
        if (!saved) {
            std::fprintf(stderr, "snapshot: cannot write %s\n", argv[i + 1]);
            return 1;
        }
        const glm::vec3 p = mainCamera->position, f = mainCamera->front;
        std::printf(
            "snapshot: %s at %.1f s (clock %.0f), camera (%.1f %.1f %.1f) looking (%.2f %.2f "
            "%.2f)\n",
            argv[i + 1], moment, double(timeOfDay), p.x, p.y, p.z, f.x, f.y, f.z);
    }
    passTimer = nullptr;
    cleanup();
    return 0;
}
