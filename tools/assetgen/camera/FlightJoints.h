#pragma once
// The day's flight, joint by joint: the camera passes joint k at 12.5 k seconds.

#include <vector>

#include "camera/Flight.h"

namespace assetgen::flight {

std::vector<Joint> dayJoints();

}  // namespace assetgen::flight
