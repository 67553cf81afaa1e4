#include "core/FrameChoices.h"

#include <cmath>

namespace {

int sideAt(int side, double share) {
    const int scaled = static_cast<int>(std::lround(static_cast<double>(side) * share));
    return scaled < 1 ? 1 : scaled;
}

}  // namespace

int FrameChoices::side(int full) const {
    return reduced() ? sideAt(full, scale) : full;
}

int FrameChoices::shadowSide(int full) const {
    return reduced() ? sideAt(full, shadowScale) : full;
}

int FrameChoices::waterSide(int full) const {
    return reduced() ? sideAt(full, waterScale) : full;
}
