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

// Whether this frame's clock step reached a window of the day: the clock is
// inside it (ends included when `inclusive`), or the step from `previous` to
// `now` jumped over the whole window within the same day. A slow frame (the
// windows last about a tenth of a second) then still triggers the event once.
bool clockReachedWindow(float previous, float now, float low, float high, bool inclusive);

// The run ends by itself once the clock passes 21500, unless the viewer has
// taken the camera over.
bool runShouldEnd(bool freeMode, float timeOfDay);
