#pragma once
// The day clock: 110 units per second, starting at 4950 on the first frame and
// wrapping at 24000. Pure arithmetic, so tests can drive it directly.

#include <functional>

constexpr float kDayClockStart = 4950.0f;
constexpr float kDayClockRate = 110.0f;
constexpr float kDayLength = 24000.0f;
constexpr float kRunEndsAfter = 21500.0f;

// Advances the clock by one frame. On the first frame it jumps to 4950 and
// clears firstFrame; on later frames it adds deltaTime x 110 and then calls
// pathStep (the camera path's step) before the wrap.
void advanceDayClock(float& timeOfDay, bool& firstFrame, float deltaTime,
                     const std::function<void()>& pathStep);

// The run ends by itself once the clock passes 21500, unless the viewer has
// taken the camera over.
bool runShouldEnd(bool freeMode, float timeOfDay);
