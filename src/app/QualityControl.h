#pragma once
// The adaptive quality's arithmetic, apart from any GL: the quality mode read
// from the environment, the render-scale controller, and the frame-time line.

#include <array>
#include <string>
#include <vector>

enum class QualityMode { Auto, Full };

// MORROWDOCK_QUALITY: unset, "auto" or "full". Any other value means auto;
// `recognised` (when given) then turns false so the caller can say so.
QualityMode qualityModeFrom(const char* value, bool* recognised = nullptr);

// Chooses the render scale from recent wall-clock frame times. It steps the
// scale down while the median of the last frames is slower than the budget
// (several steps at once when the pixels alone show that one is not enough)
// and back up one step while the next level's frame, foreseen from this
// one's, stays well under it. The levels lie close together, so that the
// scale can settle near the largest one the machine keeps up with. A level
// that proved too slow is retried only after a pause that doubles each time,
// so noisy frame times cannot make it swing back and forth. The pause is
// there for a forecast that proved wrong: each level keeps how much slower
// than foreseen its first frames after a step up were, and a paused level is
// tried at once when the forecast, grown by that, still fits (a level that
// failed only because the scene grew costlier is tried again as soon as the
// scene is cheap enough).
class RenderScaleController {
public:
    static constexpr std::array<float, 12> kLevels{
        {1.0f, 0.85f, 0.75f, 0.7f, 0.65f, 0.6f, 0.55f, 0.5f, 0.45f, 0.4f, 0.35f, 0.3f}};
    static constexpr int kWindow = 8;           // frames whose median decides
    static constexpr int kQuickWindow = 3;      // enough when all are over twice the budget
    static constexpr int kSettleFrames = 2;     // frames ignored after a change
    // Up a step while the next level's frame, foreseen as this median grown
    // with the side of the picture (part of a frame does not grow with its
    // pixels), is under this share of the budget.
    static constexpr double kUpShare = 0.8;
    static constexpr double kFirstPause = 4.0;  // seconds before a failed level is retried
    static constexpr double kLongestPause = 64.0;

    explicit RenderScaleController(double budgetSeconds = 1.0 / 30.0);

    // Takes the wall-clock time of the frame just drawn and returns the
    // scale for the next one. A frame that is not `representative` (it also
    // built programs, which the software driver compiles on the frame's
    // thread: a tenth of a second and more) only moves the clock: it tells
    // nothing about the scale, so it neither fails a level nor judges a
    // forecast.
    float update(double frameSeconds, bool representative = true);

    float scale() const { return kLevels[level]; }
    // Starts from the largest level whose pixels fit a frame predicted to
    // take `fullFrameSeconds` at full scale (the pixels alone shrinking).
    void startFor(double fullFrameSeconds);
    int currentLevel() const { return level; }
    int changes() const { return changeCount; }

private:
    void moveTo(int newLevel, bool up = false);

    double budget;
    int level = 0;
    int changeCount = 0;
    int sinceChange = 0;
    double clock = 0.0;  // seconds of frames seen
    std::vector<double> recent;
    std::array<double, kLevels.size()> retryAt{};  // clock from which a level may be tried
    std::array<int, kLevels.size()> failures{};
    // The frame foreseen for a level when it was last stepped up to, and
    // how much slower (at least 1) its first decided median was than that.
    std::array<double, kLevels.size()> foreseen{};
    std::array<double, kLevels.size()> surprise{};
    // The level was entered by a step up and has no median decided yet.
    bool forecastToJudge = false;
};

// "frames N, median X ms, p95 Y ms, render scale S, mean scale M" for the
// frame times in milliseconds (empty: zeros) and the scale each frame was
// drawn at: S is the last frame's, M the mean weighted by the frames' times
// (the share of the run's time spent at each scale; S with no frames).
std::string frameStatsLine(std::vector<double> frameMs, const std::vector<float>& scales);

// The same run cut into slices of `seconds` of frame time (a frame belongs to
// the slice in which it ends), one line each:
// "seconds A-B: frames N, median X ms, mean scale M". Shows where in the day
// the scale is lost. Nothing for no frames or a slice length that is not
// above zero.
std::vector<std::string> frameSliceLines(const std::vector<double>& frameMs,
                                         const std::vector<float>& scales, double seconds);
