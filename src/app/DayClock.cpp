#include "app/DayClock.h"

#include <algorithm>
#include <cmath>

void advanceDayClock(float& timeOfDay, bool& firstFrame, float deltaTime,
                     const std::function<void()>& pathStep) {
    double next;
    if (firstFrame) {
        next = static_cast<double>(timeOfDay) + kDayClockStart;
        firstFrame = false;
    } else {
        timeOfDay += deltaTime * kDayClockRate;
        if (pathStep) pathStep();
        next = timeOfDay;
    }
    timeOfDay = static_cast<float>(std::fmod(next, static_cast<double>(kDayLength)));
}

bool runShouldEnd(bool freeMode, float timeOfDay) {
    return !freeMode && timeOfDay > kRunEndsAfter;
}

bool clockReachedWindow(float previous, float now, float low, float high, bool inclusive) {
    const bool inside = inclusive ? (now >= low && now <= high) : (now > low && now < high);
    const bool jumpedOver = previous < now && previous <= low && now >= high;
    return inside || jumpedOver;
}

float frameStep(float elapsed, float previousStep, bool firstFrame) {
    if (firstFrame || elapsed <= kLongestFrameStep) return elapsed;
    return std::min(previousStep, kLongestFrameStep);
}
