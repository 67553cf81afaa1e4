#include "render/PassTimer.h"

#include "platform/GlCompat.h"

PassTimer* passTimer = nullptr;

const char* passStepName(PassStep step) {
    static const char* const names[kPassStepCount] = {
        "vase capture", "water reflection", "water refraction", "shadow",
        "glow sources", "glow blur",        "terrain",          "sky",
        "entities",     "glow add",         "transparent",      "water",
        "smoke",        "resolve"};
    const int i = static_cast<int>(step);
    return i >= 0 && i < kPassStepCount ? names[i] : "?";
}

PassTimer::PassTimer(bool fenced) : fenced(fenced) {}

PassTimer::~PassTimer() {
    for (const Piece& piece : pieces) pool.push_back(piece.query);
    if (!pool.empty()) glDeleteQueries(GLsizei(pool.size()), pool.data());
}

void PassTimer::begin(PassStep step) {
    if (open) end();  // elapsed queries cannot nest: close the one running
    GLuint query = 0;
    if (pool.empty()) {
        glGenQueries(1, &query);
    } else {
        query = pool.back();
        pool.pop_back();
    }
    if (fenced) {
        glFinish();
        started = std::chrono::steady_clock::now();
    }
    glBeginQuery(GL_TIME_ELAPSED, query);
    pieces.push_back({step, query});
    open = true;
}

void PassTimer::end() {
    if (!open) return;
    glEndQuery(GL_TIME_ELAPSED);
    open = false;
    if (fenced) {
        glFinish();
        const std::chrono::duration<double, std::milli> ms =
            std::chrono::steady_clock::now() - started;
        wallMs[static_cast<int>(pieces.back().step)] += ms.count();
    }
}

PassTimes PassTimer::collect() {
    end();
    PassTimes times;
    for (const Piece& piece : pieces) {
        const GLuint64 ns = queryResultNs(piece.query);
        times.gpuMs[static_cast<int>(piece.step)] += double(ns) / 1.0e6;
        pool.push_back(piece.query);
    }
    pieces.clear();
    times.wallMs = wallMs;
    wallMs.fill(0.0);
    return times;
}
