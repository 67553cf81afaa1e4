#include "core/QualityProfile.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

QualityProfile quality;

namespace {

constexpr std::array<const char*, kShortcutCount> kNames = {
    "glow-rects",     "terrain-blocks", "entity-boxes",    "depth-first",   "water-parts",
    "shadow-casters", "shadow-clear",   "deep-water-mark", "light-masks",   "one-map-sky",
    "alpha-copy",     "cpu-mipmaps",    "window-clear",    "texel-resolve", "cut-out-once"};

}  // namespace

const char* shortcutName(Shortcut s) {
    return int(s) >= 0 && int(s) < kShortcutCount ? kNames[size_t(s)] : "";
}

bool QualityProfile::turnOff(const std::string& names, std::string* unknown) {
    // Every name is checked before any switch is turned off.
    std::vector<size_t> found;
    std::istringstream list(names);
    for (std::string name; std::getline(list, name, ',');) {
        if (name.empty()) continue;
        const auto at = std::find(kNames.begin(), kNames.end(), name);
        if (at == kNames.end()) {
            if (unknown) *unknown = name;
            return false;
        }
        found.push_back(size_t(at - kNames.begin()));
    }
    for (size_t s : found) on[s] = false;
    return true;
}

void QualityProfile::setScale(float value) {
    const float clamped = value > 1.0f ? 1.0f : value > 0.0f ? value : scale;
    if (clamped != scale) wholeClears = true;
    scale = clamped;
}

FrameChoices QualityProfile::choices() const {
    FrameChoices c;
    c.glowRects = uses(Shortcut::GlowRects);
    c.terrainBlocks = uses(Shortcut::TerrainBlocks);
    c.entityBoxes = uses(Shortcut::EntityBoxes);
    c.depthFirst = drawsDepthFirst();
    c.waterParts = uses(Shortcut::WaterParts);
    c.shadowCasters = uses(Shortcut::ShadowCasters);
    c.shadowClear = uses(Shortcut::ShadowClear);
    c.deepWaterMark = uses(Shortcut::DeepWaterMark);
    c.lightMasks = uses(Shortcut::LightMasks);
    c.oneMapSky = uses(Shortcut::OneMapSky);
    c.windowClear = uses(Shortcut::WindowClear);
    c.texelResolve = uses(Shortcut::TexelResolve);
    c.cutOutOnce = uses(Shortcut::CutOutOnce);
    c.scale = scale;
    c.shadowScale = double(scale) * (reduced() ? shadowShare : 1.0);
    c.waterScale = double(scale) * (reduced() ? waterShare : 1.0);
    c.groundStride = groundStride();
    c.wholeClears = wholeClears;
    c.shadowKeepTexels = reduced() ? shadowKeepTexels : 0.0;
    c.waterEveryOther = reduced() && waterEveryOther;
    c.shadowEveryOther = reduced() && shadowEveryOther;
    c.nearestFirst = reduced() && nearestFirst;
    c.farFormsFrom = reduced() ? farFormsFrom : 0.0f;
    c.distantFormsFrom = reduced() ? distantFormsFrom : 0.0f;
    c.farGroundFrom = reduced() ? farGroundFrom : 0.0f;
    c.distantReflections = reduced() && distantReflections;
    c.thinForms = reduced() && scale <= thinFormsFrom;
    c.nearestLevels = reduced() && nearestLevels;
    c.leanPrograms = reduced() && leanPrograms;
    return c;
}

LoadChoices QualityProfile::loadChoices() const {
    return {uses(Shortcut::CpuMipmaps), uses(Shortcut::AlphaCopy)};
}

int scaledSide(int side) {
    return quality.choices().side(side);
}

int scaledShadowSide(int side) {
    return quality.choices().shadowSide(side);
}

int scaledWaterSide(int side) {
    return quality.choices().waterSide(side);
}
