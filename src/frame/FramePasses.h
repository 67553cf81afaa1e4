#pragma once
// The passes of a frame, declared in one table in the frame's order: each
// names its target, the clear it gets, what it reads and writes and the
// render state it draws with. A small runner binds each pass's target with
// its viewport (the part a reduced frame draws into), clears it as declared,
// sets its state and times it, then lets the pass draw.

#include <GL/glew.h>

#include <glm/glm.hpp>
#include <vector>

#include "frame/RenderState.h"
#include "render/PassTimer.h"

struct FramePlan;

enum class Target {
    None,             // a step between passes that draws nothing (the sky's turn)
    Window,           // the default framebuffer, at the window's size
    EnvironmentMap,   // the vase's cube map, six 1024 x 1024 faces
    WaterReflection,  // 500 x 300
    WaterRefraction,  // 500 x 300, with a depth texture the water reads
    ShadowMap,        // five times the window
    GlowSource,       // window size; also scratch for a reduced capture
    GlowBlur,         // window size
    Scene,            // window size, HDR
    ReducedPicture,   // window size, 8 bits: a reduced frame's picture before the stretch
    ShadowMapInputs,  // (reads only) the shadow map as the receivers bind it
    Textures,         // (reads only) the scene's own textures and cube maps
};

const char* targetName(Target target);

// How the runner clears a pass's target before it draws.
enum class ClearArea {
    None,       // not at all
    DrawnPart,  // the part the frame draws into (all of it at full scale)
    Window,     // the window, unless the resolve will cover it all (window-clear)
    InPass,     // the pass clears only what it will draw (said in `note`)
};

struct Clear {
    ClearArea area = ClearArea::None;
    GLbitfield bits = 0;
    glm::vec4 colour{0.0f, 0.0f, 0.0f, 1.0f};
    const char* note = "";
};

struct Pass {
    const char* name;
    Target target;
    Clear clear;
    std::vector<Target> reads;
    std::vector<Target> writes;  // scratch targets included
    RenderState state;
    PassStep step;                         // its time; Count: timed step by step inside
    bool (*runs)(const FramePlan&);        // null: every frame
    void (*bindInputs)(const FramePlan&);  // before the target is bound; may be null
    void (*draw)(const FramePlan&);
};

// The table, in the frame's order.
const std::vector<Pass>& framePasses();

// Runs one pass of the table, if it runs this frame: times it, sets its
// state, binds what it reads before its target, binds its target with the
// viewport of the part the frame draws into, clears as declared, draws.
void runPass(const Pass& pass, const FramePlan& plan);

// Runs every pass of the table that runs this frame, then leaves the state
// the frame ends with: the window bound, no program current, alpha blending
// and back faces culled.
void runPasses(const FramePlan& plan);
