// record: renders the day offline into one MP4 file with its sound.
//   record <width> <height> <fps> <out.mp4> [<from seconds> <to seconds>]
// Time is simulated: frame k is drawn at k / fps seconds after the first
// frame, however long it takes, always at full quality. Without a range
// the recording runs from the first frame to the end of the run (the frame
// on which the clock passes its end value); with one it holds the frames
// from <from> up to, not including, <to>. The frames before <from> are
// stepped without drawing, and their sound is mixed and dropped, so the
// music and the bulb are where a real run would have them. The sound is
// the program's own mix, made by its sound system at the recording's clock.
// It reads its data from beside its own folder, as the program does; the
// output is relative to the folder it was started in.

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Encoder.h"
#include "ToolRun.h"
#include "app/AppGlobals.h"
#include "app/DayClock.h"
#include "app/FrameLoop.h"
#include "app/LampEvents.h"
#include "app/ScreenSize.h"
#include "app/Startup.h"
#include "app/Window.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "frame/EnvironmentCapture.h"
#include "sound/SoundSystem.h"

namespace {

constexpr int kSampleRate = 48000;
constexpr double kFirstFrameAt = 1.0;  // the simulated clock's value on frame 0
constexpr int kMaxFps = 240;

volatile std::sig_atomic_t interrupted = 0;
// Start-up ends the process itself when it cannot open the window; the
// temporary files go with it.
Encoder* openEncoder = nullptr;

struct Request {
    int width = 0, height = 0, fps = 0;
    std::string output;
    bool ranged = false;
    double from = 0.0, to = 0.0;
};

bool parseInt(const char* text, int& value) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < -1000000 || v > 1000000) return false;
    value = int(v);
    return true;
}

bool parseSeconds(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

// Frames of a whole run: the clock starts at its start value on frame 0 and
// the run ends on the first frame whose clock is past the end value.
int64_t framesOfDay(int fps) {
    const double seconds = (kRunEndsAfter - kDayClockStart) / kDayClockRate;
    return int64_t(std::floor(seconds * fps)) + 2;
}

// The first frame drawn at or after `seconds`.
int64_t frameAt(double seconds, int fps) {
    return int64_t(std::ceil(seconds * fps - 1e-9));
}

std::string problemWith(const Request& r) {
    if (!screenSizeFits(r.width, r.height))
        return "width and height must be between 1 and " + std::to_string(kMaxScreenSide);
    if (r.width % 2 || r.height % 2) return "width and height must be even (the video is yuv420p)";
    if (r.fps <= 0 || r.fps > kMaxFps)
        return "frames a second must be between 1 and " + std::to_string(kMaxFps);
    if (r.output.empty() || r.output.back() == '/') return "the output needs a file name";
    const std::string refusal = outputRefusal(r.output);
    if (!refusal.empty()) return refusal;
    if (!r.ranged) return "";
    const double dayEnd = double(framesOfDay(r.fps)) / r.fps;
    if (r.from < 0.0 || r.to > dayEnd || frameAt(r.to, r.fps) <= frameAt(r.from, r.fps)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "the range must hold at least one frame within the day (0 to %.2f s)",
                      dayEnd);
        return text;
    }
    return "";
}

bool parse(int argc, char** argv, Request& r, std::string& problem) {
    if (argc != 5 && argc != 7) {
        problem = "expected 4 or 6 arguments";
        return false;
    }
    if (!parseInt(argv[1], r.width) || !parseInt(argv[2], r.height) || !parseInt(argv[3], r.fps)) {
        problem = "width, height and frames a second must be whole numbers";
        return false;
    }
    r.output = argv[4];
    r.ranged = argc == 7;
    if (r.ranged && (!parseSeconds(argv[5], r.from) || !parseSeconds(argv[6], r.to))) {
        problem = "the range must be two numbers of seconds";
        return false;
    }
    problem = problemWith(r);
    return problem.empty();
}

std::string clockText(double seconds) {
    const long s = long(std::lround(seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

// One progress line: rewritten in place on a terminal, else one line in
// every twenty steps of the whole.
void showProgress(int64_t done, int64_t total, double seconds, bool last) {
    static int64_t lastShown = -1;
    const bool terminal = isatty(STDERR_FILENO);
    const int64_t step = std::max<int64_t>(1, total / 20);
    if (!terminal && !last && done / step == lastShown / step) return;
    lastShown = done;
    const double rate = seconds > 0.0 ? double(done) / seconds : 0.0;
    const double left = rate > 0.0 ? double(std::max<int64_t>(0, total - done)) / rate : 0.0;
    std::fprintf(stderr, "%sframe %lld of %lld, %.2f frames/s, %s left%s", terminal ? "\r" : "",
                 (long long)done, (long long)total, rate, clockText(left).c_str(),
                 terminal && !last ? "  " : "\n");
    std::fflush(stderr);
}

// The sound of frame k: the samples from k / fps up to (k + 1) / fps, so the
// fractions add up and the sound never drifts from the frames.
std::vector<float> soundOfFrame(int64_t k, int fps) {
    const int64_t begin = k * kSampleRate / fps, end = (k + 1) * kSampleRate / fps;
    std::vector<float> samples;
    if (soundSystem && soundSystem->system) samples = soundSystem->system->render(int(end - begin));
    samples.resize(size_t(end - begin) * 2, 0.0f);  // silence if there is no mix
    return samples;
}

// A frame before the range: stepped, with the bulb started where the glow
// pass would start it, so its sound is already playing when the range
// begins inside it.
void skipFrame() {
    simulateFrame();
    if (lampStateAt(timeOfDay, previousTimeOfDay).lampFails && soundSystem)
        soundSystem->playBulbSound();
}

bool recordFrame(Encoder& encoder, int width, int height) {
    drawFrame();
    const std::vector<unsigned char> pixels = readBackBuffer(width, height);
    glfwSwapBuffers(appWindow->window);
    return encoder.addFrame(pixels);
}

}  // namespace

int main(int argc, char** argv) {
    Request request;
    std::string problem;
    if (!parse(argc, argv, request, problem)) {
        std::fprintf(stderr,
                     "record: %s\nusage: record <width> <height> <fps> <out.mp4> [<from seconds> "
                     "<to seconds>]\n",
                     problem.c_str());
        return 1;
    }
    // Start-up moves to the program's folder; the output stays where asked.
    std::error_code failed;
    const std::filesystem::path output = std::filesystem::absolute(request.output, failed);
    if (!failed) request.output = output.string();
    std::signal(SIGPIPE, SIG_IGN);  // a dead encoder shows as a failed write
    std::signal(SIGINT, [](int) { interrupted = 1; });
    std::signal(SIGTERM, [](int) { interrupted = 1; });

    const int fps = request.fps;
    Encoder encoder(request.output, request.width, request.height, fps, kSampleRate);
    if (!encoder.start()) {
        std::fprintf(stderr, "record: %s\n", encoder.error.c_str());
        return 1;
    }
    openEncoder = &encoder;
    std::atexit([] {
        if (openEncoder) openEncoder->abandon();
    });
    const auto began = std::chrono::steady_clock::now();
    enterProgramFolder();
    soundLoopbackRate = kSampleRate;
    prepareToolRun(request.width, request.height);
    init();
    captureEnvironment();

    const int64_t first = request.ranged ? frameAt(request.from, fps) : 0;
    const int64_t end = request.ranged ? frameAt(request.to, fps) : framesOfDay(fps);
    // A whole run stops on its own last frame; the margin only covers the
    // clock's rounding, should the run end a frame later than counted.
    const int64_t limit = request.ranged ? end : end + fps;
    int64_t recorded = 0;
    bool ok = true;
    auto drawingBegan = std::chrono::steady_clock::now();
    for (int64_t k = 0; k < limit && ok; ++k) {
        simulatedTime = kFirstFrameAt + double(k) / fps;
        if (k < first) {
            skipFrame();
            soundOfFrame(k, fps);
            drawingBegan = std::chrono::steady_clock::now();
            continue;
        }
        ok = recordFrame(encoder, request.width, request.height) &&
             encoder.addSound(soundOfFrame(k, fps));
        ++recorded;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - drawingBegan).count();
        const bool runEnded = glfwWindowShouldClose(appWindow->window);
        showProgress(recorded, runEnded ? recorded : std::max(end - first, recorded), seconds,
                     runEnded || k + 1 == limit);
        if (runEnded) break;
        if (interrupted) {
            encoder.error = "interrupted";
            ok = false;
        }
    }
    cleanup();
    openEncoder = nullptr;
    if (!ok || !encoder.finish()) {
        std::fprintf(stderr, "\nrecord: %s; %s was not written\n", encoder.error.c_str(),
                     request.output.c_str());
        return 1;
    }
    struct stat written;
    const double megabytes = stat(request.output.c_str(), &written) == 0
                                 ? double(written.st_size) / (1024.0 * 1024.0)
                                 : 0.0;
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("record: %s, %.3f s (%lld frames at %d fps), %.1f MB, made in %s\n",
                request.output.c_str(), double(recorded) / fps, (long long)recorded, fps, megabytes,
                clockText(took).c_str());
    return 0;
}
