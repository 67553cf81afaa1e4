#pragma once
// What one frame draws and leaves out, as its plan hands it to the passes and
// to what they draw: the quality profile's shortcuts and reductions, worked
// out once per frame. A default value is the design's frame (no shortcut, the
// whole of every target), which is what a test gets when it asks for none.

struct FrameChoices {
    // Shortcuts (work skipped because it cannot change the picture); the
    // quality profile says what each one leaves out.
    bool glowRects = false;
    bool terrainBlocks = false;
    bool entityBoxes = false;
    bool depthFirst = false;  // on, and the frame not reduced below its threshold
    bool waterParts = false;
    bool shadowCasters = false;
    bool shadowClear = false;
    bool deepWaterMark = false;
    bool lightMasks = false;
    bool oneMapSky = false;
    bool windowClear = false;
    bool texelResolve = false;
    bool cutOutOnce = false;

    // The reductions: the share of each side of the screen-sized targets the
    // frame draws into, the shadow map's and the water targets' shares, and
    // the ground's grid level (1: every vertex, 2: every second one).
    float scale = 1.0f;
    double shadowScale = 1.0;
    double waterScale = 1.0;
    int groundStride = 1;
    // How far (in the map's texels) the casters' shadows may have moved since
    // the shadow map was drawn before it is drawn again; 0: every frame.
    double shadowKeepTexels = 0.0;
    // The map drawn by the frame before is kept, however far the shadows
    // have moved (the map is drawn every second frame at most).
    bool shadowEveryOther = false;
    // The water targets may be read again from the frame before, which drew
    // them, instead of being drawn (every second frame at most).
    bool waterEveryOther = false;
    // Cut-out models drawn in one pass (no depth pass first) are drawn
    // nearest first, so the leaves behind fail the depth test and write
    // nothing (llvmpipe still runs the program for them: it tests depth after
    // a program that can discard); only exact ties between leaves can come
    // out otherwise.
    bool nearestFirst = false;
    // Entities with a far form standing farther than this from a view (its
    // depth, world units) are drawn as that form; 0: never.
    float farFormsFrom = 0.0f;
    // The same for a distant form, which wins over the far form beyond it.
    float distantFormsFrom = 0.0f;
    // Blocks of the ground lying wholly deeper than this in a view (world
    // units) are drawn from the grid's far level, with skirts; 0: never.
    float farGroundFrom = 0.0f;
    // The water reflection draws entities that have a distant form as that
    // form, at any distance.
    bool distantReflections = false;
    // Entities with a thin form are drawn as it where no far or distant form
    // is drawn, in the shadow map too.
    bool thinForms = false;
    // The loaded textures are read from their nearest mipmap level, filtered
    // bilinearly within it, not blended between two levels.
    bool nearestLevels = false;
    // The ground and the models are lit by the lean builds of their programs.
    bool leanPrograms = false;
    // The first frame after a change of scale (or after a reduced capture
    // used a target as scratch) clears every target whole.
    bool wholeClears = false;

    bool reduced() const { return scale < 1.0f; }
    // A reduced frame clears only the part it draws into, unless its clears
    // are whole.
    bool clearsPartOnly() const { return reduced() && !wholeClears; }
    // The part of a screen-sized target side the frame draws into, at least
    // 1 pixel.
    int side(int full) const;
    // The part of a shadow map side the frame draws into.
    int shadowSide(int full) const;
    // The part of a water target side the frame draws into.
    int waterSide(int full) const;
};

// What the loaders make at start-up beside what the design's loader makes:
// mipmap levels built on the CPU, and a one-channel copy of each cut-out
// texture's alpha.
struct LoadChoices {
    bool cpuMipmaps = false;
    bool alphaCopy = false;
};
