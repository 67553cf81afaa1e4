#include "core/QualityProfile.h"

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
