#pragma once
// GPU time per step of the frame, from GL_TIME_ELAPSED queries. Off unless a
// tool switches it on: every call is then a pointer test and nothing more.
// Elapsed queries cannot nest, so the steps are the leaves of the frame; a
// step that runs in several pieces (the entities before and after the glow)
// adds its pieces up.
// A software rasterizer runs a pass's pixels only when the next target is
// bound or the frame ends, so its query times land on the wrong step; the
// fenced mode also finishes the GL work at each step's edges and keeps the
// wall-clock time, which is what such a step costs.

#include <GL/glew.h>

#include <array>
#include <chrono>
#include <vector>

enum class PassStep {
    Capture,
    WaterReflection,
    WaterRefraction,
    Shadow,
    GlowSources,
    GlowBlur,
    Terrain,
    Sky,
    Entities,
    GlowAdd,
    Transparent,
    Water,
    Smoke,
    Resolve,
    Count
};

constexpr int kPassStepCount = static_cast<int>(PassStep::Count);

const char* passStepName(PassStep step);

struct PassTimes {
    std::array<double, kPassStepCount> gpuMs{};   // GL_TIME_ELAPSED
    std::array<double, kPassStepCount> wallMs{};  // fenced mode only, else 0
};

class PassTimer {
public:
    explicit PassTimer(bool fenced = false);
    ~PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    void begin(PassStep step);
    void end();
    // Waits for the frame's queries and returns each step's milliseconds
    // (0 for a step that did not run); the queries are then free again.
    PassTimes collect();

private:
    struct Piece {
        PassStep step;
        GLuint query;
    };
    std::vector<GLuint> pool;
    std::vector<Piece> pieces;
    bool open = false;
    bool fenced;
    std::chrono::steady_clock::time_point started;
    std::array<double, kPassStepCount> wallMs{};
};

// The active timer, or null (the default).
extern PassTimer* passTimer;

// Times one step of the frame for as long as it lives.
class TimedStep {
public:
    explicit TimedStep(PassStep step) : on(passTimer != nullptr) {
        if (on) passTimer->begin(step);
    }
    ~TimedStep() {
        if (on) passTimer->end();
    }
    TimedStep(const TimedStep&) = delete;
    TimedStep& operator=(const TimedStep&) = delete;

private:
    bool on;
};

// For steps that follow one another in one function: each begin closes the
// step before it.
inline void passTimerBegin(PassStep step) {
    if (passTimer) passTimer->begin(step);
}
inline void passTimerEnd() {
    if (passTimer) passTimer->end();
}
