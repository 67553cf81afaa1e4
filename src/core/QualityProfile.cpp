#include "core/QualityProfile.h"

#include <cmath>
#include <sstream>

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
    std::istringstream list(names);
    for (std::string name; std::getline(list, name, ',');) {
        if (name.empty()) continue;
        bool found = false;
        for (int s = 0; s < kShortcutCount; ++s)
            if (name == kNames[size_t(s)]) on[size_t(s)] = false, found = true;
        if (!found) {
            if (unknown) *unknown = name;
            return false;
        }
    }
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
