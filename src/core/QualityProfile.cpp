#include "core/QualityProfile.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

QualityProfile quality;

namespace {

constexpr std::array<const char*, kShortcutCount> kNames = {
    "glow-rects",     "terrain-blocks", "entity-boxes",    "depth-first",  "water-parts",
    "shadow-casters", "shadow-clear",   "deep-water-mark", "light-masks",  "one-map-sky",
    "alpha-copy",     "cpu-mipmaps",    "window-clear",    "texel-resolve"};

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

namespace {
int sideAt(int side, double share) {
    const int scaled = static_cast<int>(std::lround(static_cast<double>(side) * share));
    return scaled < 1 ? 1 : scaled;
}
}  // namespace

int scaledSide(int side) {
    return quality.reduced() ? sideAt(side, quality.scale) : side;
}

int scaledShadowSide(int side) {
    return quality.reduced() ? sideAt(side, double(quality.scale) * quality.shadowShare) : side;
}
