#include "app/QualityControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

QualityMode qualityModeFrom(const char* value, bool* recognised) {
    if (recognised) *recognised = true;
    if (!value || std::strcmp(value, "auto") == 0) return QualityMode::Auto;
    if (std::strcmp(value, "full") == 0) return QualityMode::Full;
    if (recognised) *recognised = false;
    return QualityMode::Auto;
}

namespace {

// The share of the full frame's pixels a level draws.
double pixelShare(int level) {
    const double side = RenderScaleController::kLevels[size_t(level)];
    return side * side;
}

}  // namespace

RenderScaleController::RenderScaleController(double budgetSeconds) : budget(budgetSeconds) {
    recent.reserve(kWindow);
    surprise.fill(1.0);
}

void RenderScaleController::moveTo(int newLevel, bool up) {
    level = newLevel;
    ++changeCount;
    sinceChange = 0;
    recent.clear();
    forecastToJudge = up;
}

void RenderScaleController::startFor(double fullFrameSeconds) {
    level = 0;
    const int lowest = int(kLevels.size()) - 1;
    if (!(fullFrameSeconds > 0.0)) return;
    while (level < lowest && pixelShare(level) * fullFrameSeconds > budget) ++level;
}

float RenderScaleController::update(double frameSeconds) {
    if (!(frameSeconds >= 0.0) || !std::isfinite(frameSeconds)) return scale();
    clock += frameSeconds;
    if (++sinceChange <= kSettleFrames) return scale();
    if (recent.size() == size_t(kWindow)) recent.erase(recent.begin());
    recent.push_back(frameSeconds);
    const int lowest = int(kLevels.size()) - 1;
    // Far too slow: no need to wait for a full window to know it.
    const bool clearlySlow = recent.size() >= size_t(kQuickWindow) &&
                             std::all_of(recent.end() - kQuickWindow, recent.end(),
                                         [&](double t) { return t > 2.0 * budget; });
    if (recent.size() < size_t(kWindow) && !clearlySlow) return scale();

    std::vector<double> sorted = recent;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double median = sorted[sorted.size() / 2];
    if (forecastToJudge && foreseen[level] > 0.0)
        surprise[level] = std::max(1.0, median / foreseen[level]);
    forecastToJudge = false;

    if (median > budget && level < lowest) {
        // This level is too slow: wait longer each time before trying it again.
        const double pause = std::min(kFirstPause * std::pow(2.0, failures[level]), kLongestPause);
        ++failures[level];
        retryAt[level] = clock + pause;
        // Down as far as the pixels alone would have to shrink, at least one step.
        const double wanted = pixelShare(level) * budget / median;
        int next = level + 1;
        while (next < lowest && pixelShare(next) > wanted) ++next;
        moveTo(next);
    } else if (level > 0) {
        const int up = level - 1;
        const double next = median * double(kLevels[size_t(up)] / kLevels[size_t(level)]);
        const double fits = budget * kUpShare;
        if (next < fits && (clock >= retryAt[size_t(up)] || next * surprise[size_t(up)] < fits)) {
            foreseen[size_t(up)] = next;
            moveTo(up, true);
        }
    }
    return scale();
}

std::string frameStatsLine(std::vector<double> frameMs, const std::vector<float>& scales) {
    const float scale = scales.empty() ? 1.0f : scales.back();
    double weighted = 0.0, total = 0.0;
    for (size_t i = 0; i < frameMs.size() && i < scales.size(); ++i) {
        weighted += frameMs[i] * double(scales[i]);
        total += frameMs[i];
    }
    const double mean = total > 0.0 ? weighted / total : double(scale);
    double median = 0.0, p95 = 0.0;
    if (!frameMs.empty()) {
        std::sort(frameMs.begin(), frameMs.end());
        median = frameMs[frameMs.size() / 2];
        const size_t at = size_t(std::ceil(0.95 * double(frameMs.size()))) - 1;
        p95 = frameMs[std::min(at, frameMs.size() - 1)];
    }
    char line[200];
    std::snprintf(line, sizeof line,
                  "frames %zu, median %.1f ms, p95 %.1f ms, render scale %g, mean scale %.2f",
                  frameMs.size(), median, p95, double(scale), mean);
    return line;
}
