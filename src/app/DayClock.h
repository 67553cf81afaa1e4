#pragma once
// The day clock: 110 units per second, starting at 4950 on the first frame and
// wrapping at 24000. Pure arithmetic, so tests can drive it directly.

#include <functional>

constexpr float kDayClockStart = 4950.0f;
constexpr float kDayClockRate = 110.0f;
constexpr float kDayLength = 24000.0f;
constexpr float kRunEndsAfter = 21500.0f;
// A gap between frames longer than this is a pause, not a frame: the
// process was stopped (Ctrl-Z, a debugger, SIGSTOP) or starved. The
// recorder's slowest clock, 1 frame a second, is still a frame.
constexpr float kLongestFrameStep = 1.0f;

// The frame's step (deltaTime) from the time since the last frame. After a
// pause the day and everything that moves with it carry on where they
// stopped: the gap counts as the step before it (at most kLongestFrameStep),
// so the clock cannot run round past the run's end and the camera's flight,
// which restarts its segment after a step of 6.25 s, stays with the day. The
// first frame keeps its whole step, the time spent loading.
float frameStep(float elapsed, float previousStep, bool firstFrame);

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
