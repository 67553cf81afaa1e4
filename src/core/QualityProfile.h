#pragma once
// What a frame may leave out or reduce, in one place.
// - A named switch for each shortcut (work skipped because it cannot change
//   the picture). Every switch is on by default; snapshot's --reference
//   turns them all off, and MORROWDOCK_WITHOUT (or snapshot's --without)
//   turns single ones off by name, so that a difference in the picture can
//   be traced to one shortcut.
// - The render scale that the adaptive quality (auto) chooses, and the
//   thresholds at which a reduced frame draws less. At scale 1 every frame
//   is the design's; the reductions are values here, and the passes ask the
//   profile what to draw rather than reading the scale.

#include <array>
#include <string>

#include "core/FrameChoices.h"

enum class Shortcut {
    GlowRects,      // the glow's blur, addition and clears only where a source can reach
    TerrainBlocks,  // the terrain's blocks out of the pass's view left out
    EntityBoxes,    // entities whose model box the pass cannot see left out
    DepthFirst,     // leaves and grass drawn depth first
    WaterParts,     // the water passes draw only the texels the surface reads
    ShadowCasters,  // casters whose shadow no view shows deferred; leaves sorted to the sun
    ShadowClear,    // the shadow map cleared only where casters land
    DeepWaterMark,  // the ground under opaque water fails its depth test
    LightMasks,     // narrower lighting programs where lights cannot reach
    OneMapSky,      // the sky reads one map where both units hold the same
    AlphaCopy,      // cut-out tests read a one-channel copy of the alpha
    CpuMipmaps,     // mipmap levels built on the CPU while the window comes up
    WindowClear,    // the window is not cleared before the resolve covers it
    TexelResolve,   // the tone map reads texel for texel where the sizes agree
    CutOutOnce,     // the lit pass after a depth pass leaves the cut-out test to it
    Count
};

constexpr int kShortcutCount = int(Shortcut::Count);

struct QualityProfile {
    std::array<bool, kShortcutCount> on;

    // Share of each side of the screen-sized targets, the shadow map (see
    // shadowShare) and the water targets (see waterShare) that a frame draws
    // into (1: all of it). The targets keep their sizes; a smaller frame
    // fills the lower-left part.
    float scale = 1.0f;
    // True on the first frame after the scale changed (or after a reduced
    // capture used a target as scratch): that frame clears every target
    // whole, so the parts outside the smaller area hold clean values.
    bool wholeClears = false;

    // The reductions of a smaller frame.
    // Below this scale the leaves and grass are drawn in one pass. At the
    // controller's lowest level the depth pass still spares more lighting
    // than it costs (with cutOutOnce and the thin forms' few cards), so
    // every reduced frame draws them depth first.
    float depthFirstFrom = 0.3f;
    // At or below this scale the ground is drawn from the grid's level of
    // stride 2 (a full-scale frame always draws the full grid). Stride 4 is
    // not used: its cells, about 16 world units wide, show as folds in the
    // ground near the camera.
    float coarseGroundFrom = 0.75f;
    // A reduced frame draws the shadow map at this share of its own scale:
    // the map has five texels for each pixel of the frame, and at a reduced
    // scale its leaves cost more than the frame's own pixels.
    double shadowShare = 0.5;
    // A reduced frame draws the water's reflection and refraction at this
    // share of its own scale: the ripples shift every lookup by several
    // texels anyway, and the reflection redraws the trees and models.
    double waterShare = 0.5;
    // A reduced frame keeps the last shadow map while no caster's shadow has
    // moved by more than this many of its texels since it was drawn (the sun
    // turns slowly: a few hundredths of a degree a frame).
    double shadowKeepTexels = 1.0;
    // Nor does a reduced frame draw the map again straight after the frame
    // before drew it: where the sun stands low its shadows sweep the ground by
    // more than a texel each frame, and they then lag by one frame.
    bool shadowEveryOther = true;
    // A reduced frame whose water reads only texels the frame before drew
    // keeps the water targets as they are, every second frame at most.
    bool waterEveryOther = true;
    // A reduced frame draws the leaves and grass that it draws in one pass
    // nearest first.
    bool nearestFirst = true;
    // A reduced frame draws a tree farther than this from a view (world
    // units; the tree is about 40 high) in its far form: a quarter of the
    // leaf cards, at twice the size, and a plainer trunk. From 60 units on
    // its fewer triangles cost less than the thin form's fewer layers save.
    float farFormsFrom = 60.0f;
    // Farther than this a reduced frame draws a tree in its distant form: a
    // picture of its crown on three crossed sheets, and the far form's trunk.
    float distantFormsFrom = 120.0f;
    // A reduced frame draws the blocks of the ground that lie wholly deeper
    // than this in a view (world units) from every eighth vertex of the grid
    // (cells about 31 units wide), with skirts hung from their sides to hide
    // the cracks where they meet finer blocks. There the grid's cells are a
    // pixel or less on screen, and the rasterizer shades a whole block of
    // pixels for each small triangle: 0.97 of the frame's time on average at
    // 0.45 (see docs/performance.md), for an outline of the farthest hills
    // that moves by a pixel here and there. From 120 units on it saved more, but cut
    // the far bank of the lake, where the tree line behind showed through.
    float farGroundFrom = 250.0f;
    // A reduced frame's water reflection draws every tree in its distant
    // form, however near. The reflection is drawn at half the frame's scale
    // and blurred by the ripples, where the thin and far forms' few cut-out
    // leaves reflect a smaller, ragged crown; the crown's picture keeps the
    // round, dark mass that the full frame reflects, and saves about a
    // quarter of the pass where a tree nearer than the distant forms'
    // threshold is reflected.
    bool distantReflections = true;
    // At or below this scale a reduced frame draws the trees it does not
    // draw in their far or distant form, and all of them in the shadow map,
    // in their thin form: a quarter of the leaf cards, at 1.3 times the size.
    // A pixel of a crown then lies behind fewer cards, and the crown keeps
    // its outline.
    // The grass too: half of the tufts, 1.2 times as wide. At 0.75 the thin
    // forms and the coarser ground cost 10 to 25 % less than the full ones,
    // and so let the frame keep the sharper levels more often.
    float thinFormsFrom = 0.75f;
    // A reduced frame reads the loaded textures (the ground's, the models',
    // the water's and the smoke's) from their nearest mipmap level, bilinear
    // within it, where the design's frame blends the two nearest levels.
    // llvmpipe then filters one level instead of two: 6 to 8 % of the frame
    // at 0.3 and 0.5 (see docs/performance.md). Where one level gives way to
    // the next, a texture's detail changes along a line instead of fading,
    // which the stretch onto the window softens.
    bool nearestLevels = true;
    // A reduced frame lights the ground and the models with lean builds of
    // their programs (LEAN): the models' normals turned by the model matrix
    // itself (entities scale uniformly, so after normalizing they point the
    // same way) instead of its inverse transpose, worked out anew for every
    // vertex; and the sun's shadow from the four corner reads alone, without
    // the five more where they disagree, so the shadows' soft edges take
    // three steps instead of eight.
    bool leanPrograms = true;

    QualityProfile() { on.fill(true); }

    bool reduced() const { return scale < 1.0f; }
    bool drawsDepthFirst() const { return uses(Shortcut::DepthFirst) && scale >= depthFirstFrom; }
    // 1: every vertex of the ground's grid; 2: every second one.
    int groundStride() const { return scale <= coarseGroundFrom ? 2 : 1; }
    // Sets the scale (clamped to (0, 1]); a change makes the next frame's
    // clears whole.
    void setScale(float value);
    bool uses(Shortcut s) const { return on[size_t(s)]; }
    void setAll(bool value) { on.fill(value); }
    // Turns off the shortcuts named in a comma-separated list; when a name is
    // not a shortcut's, turns off none and gives false (and the name in
    // `unknown`).
    bool turnOff(const std::string& names, std::string* unknown = nullptr);

    // This frame's choices, as its plan hands them on (whole clears as set
    // now; the plan adds the capture's use of a target as scratch).
    FrameChoices choices() const;
    // What the loaders make at start-up.
    LoadChoices loadChoices() const;
};

// The name a shortcut goes by on the command line and in MORROWDOCK_WITHOUT.
const char* shortcutName(Shortcut s);

extern QualityProfile quality;

// The part of a target side that a frame at the profile's scale draws into
// (at least 1 pixel), and of a shadow map or water target side: the
// controller's sizes.
int scaledSide(int side);
int scaledShadowSide(int side);
int scaledWaterSide(int side);
