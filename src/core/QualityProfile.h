#pragma once
// What a frame may leave out, in one place: a named switch for each shortcut
// (work skipped because it cannot change the picture). Every switch is on by
// default; snapshot's --reference turns them all off, and MORROWDOCK_WITHOUT
// (or snapshot's --without) turns single ones off by name, so that a
// difference in the picture can be traced to one shortcut.

#include <array>
#include <string>

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
    TexelResolve,   // a frame at the window's size resolved texel for texel
    Count
};

constexpr int kShortcutCount = int(Shortcut::Count);

struct QualityProfile {
    std::array<bool, kShortcutCount> on;

    QualityProfile() { on.fill(true); }
    bool uses(Shortcut s) const { return on[size_t(s)]; }
    void setAll(bool value) { on.fill(value); }
    // Turns off the shortcuts named in a comma-separated list; false (and the
    // first unknown name in `unknown`) when a name is not a shortcut's.
    bool turnOff(const std::string& names, std::string* unknown = nullptr);
};

// The name a shortcut goes by on the command line and in MORROWDOCK_WITHOUT.
const char* shortcutName(Shortcut s);

extern QualityProfile quality;
