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

float RenderScaleController::update(double frameSeconds, bool representative) {
    if (!(frameSeconds >= 0.0) || !std::isfinite(frameSeconds)) return scale();
    clock += frameSeconds;
    if (!representative) return scale();
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

namespace {

// The mean of the scales weighted by the frames' times (`otherwise` with no
// time).
double timeWeightedScale(const std::vector<double>& frameMs, const std::vector<float>& scales,
                         size_t first, size_t end, double otherwise) {
    double weighted = 0.0, total = 0.0;
    for (size_t i = first; i < end && i < frameMs.size() && i < scales.size(); ++i) {
        weighted += frameMs[i] * double(scales[i]);
        total += frameMs[i];
    }
    return total > 0.0 ? weighted / total : otherwise;
}

// Sorts the times; 0 for none.
double medianOf(std::vector<double>& ms) {
    if (ms.empty()) return 0.0;
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

std::string frameStatsLine(std::vector<double> frameMs, const std::vector<float>& scales) {
    const float scale = scales.empty() ? 1.0f : scales.back();
    const double mean = timeWeightedScale(frameMs, scales, 0, frameMs.size(), double(scale));
    double median = 0.0, p95 = 0.0;
    if (!frameMs.empty()) {
        median = medianOf(frameMs);
        const size_t at = size_t(std::ceil(0.95 * double(frameMs.size()))) - 1;
        p95 = frameMs[std::min(at, frameMs.size() - 1)];
    }
    char line[200];
    std::snprintf(line, sizeof line,
                  "frames %zu, median %.1f ms, p95 %.1f ms, render scale %g, mean scale %.2f",
                  frameMs.size(), median, p95, double(scale), mean);
    return line;
}

std::vector<std::string> frameSliceLines(const std::vector<double>& frameMs,
                                         const std::vector<float>& scales, double seconds) {
    std::vector<std::string> lines;
    if (!(seconds > 0.0) || !std::isfinite(seconds)) return lines;
    const double sliceMs = seconds * 1000.0;
    double clock = 0.0;
    std::vector<long> sliceOf(frameMs.size());
    for (size_t i = 0; i < frameMs.size(); ++i) {
        clock += frameMs[i];
        sliceOf[i] = long(std::floor(clock / sliceMs));
    }
    // Runs of frames that end in the same slice (a slice no frame ends in is
    // left out).
    for (size_t first = 0; first < frameMs.size();) {
        size_t end = first + 1;
        while (end < frameMs.size() && sliceOf[end] == sliceOf[first]) ++end;
        std::vector<double> ms(frameMs.begin() + long(first), frameMs.begin() + long(end));
        const double mean = timeWeightedScale(frameMs, scales, first, end, 1.0);
        char line[160];
        std::snprintf(line, sizeof line,
                      "seconds %g-%g: frames %zu, median %.1f ms, mean scale %.2f",
                      double(sliceOf[first]) * seconds, double(sliceOf[first] + 1) * seconds,
                      end - first, medianOf(ms), mean);
        lines.push_back(line);
        first = end;
    }
    return lines;
}
