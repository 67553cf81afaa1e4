#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>

#include "app/QualityControl.h"

namespace {

using Controller = RenderScaleController;

// Frame time of a made-up machine: a fixed part plus a part that follows the
// number of pixels drawn.
double machineFrame(float scale, double fixedMs, double fullPixelMs) {
    return (fixedMs + fullPixelMs * double(scale) * double(scale)) / 1000.0;
}

}  // namespace

TEST(QualityMode, ReadsAutoFullAndAnythingElseAsAuto) {
    bool known = false;
    EXPECT_EQ(qualityModeFrom(nullptr, &known), QualityMode::Auto);
    EXPECT_TRUE(known);
    EXPECT_EQ(qualityModeFrom("auto", &known), QualityMode::Auto);
    EXPECT_TRUE(known);
    EXPECT_EQ(qualityModeFrom("full", &known), QualityMode::Full);
    EXPECT_TRUE(known);
    for (const char* other : {"", "FULL", "full ", "fast", "1"}) {
        EXPECT_EQ(qualityModeFrom(other, &known), QualityMode::Auto) << other;
        EXPECT_FALSE(known) << other;
    }
}

TEST(RenderScaleController, AMachineThatKeepsUpStaysAtFullScale) {
    Controller c;
    for (int i = 0; i < 2000; ++i) EXPECT_EQ(c.update(0.020 + (i % 7) * 0.001), 1.0f);
    EXPECT_EQ(c.changes(), 0);
}

TEST(RenderScaleController, StepsDownToTheLowestLevelAndStaysWithinBounds) {
    Controller c;
    int framesToLowest = -1;
    for (int i = 0; i < 500; ++i) {
        const float s = c.update(0.400);  // hopelessly slow at any scale
        EXPECT_GE(s, Controller::kLevels.back());
        EXPECT_LE(s, 1.0f);
        if (framesToLowest < 0 && s == Controller::kLevels.back()) framesToLowest = i + 1;
    }
    EXPECT_EQ(c.scale(), Controller::kLevels.back());
    // Far over the budget it does not wait for whole windows, nor go one step at a time.
    EXPECT_LE(framesToLowest, Controller::kSettleFrames + Controller::kQuickWindow);
    EXPECT_EQ(c.changes(), 1);

    // Just over the budget: one step at a time, each after a full window.
    Controller d;
    for (int i = 0; i < Controller::kSettleFrames + Controller::kWindow - 1; ++i) d.update(0.036);
    EXPECT_EQ(d.scale(), 1.0f);
    EXPECT_EQ(d.update(0.036), Controller::kLevels[1]);
    // Garbage times change nothing.
    EXPECT_EQ(c.update(-1.0), Controller::kLevels.back());
    EXPECT_EQ(c.update(std::numeric_limits<double>::infinity()), Controller::kLevels.back());
}

TEST(RenderScaleController, FramesThatBuiltProgramsOnlyMoveTheClock) {
    // Settled at 0.6 (10 ms fixed, 60 ms of pixels at full scale), then a
    // burst of frames that each built a program and took 150 ms.
    const auto burst = [](bool representative) {
        Controller c;
        for (int i = 0; i < 3000; ++i) c.update(machineFrame(c.scale(), 10.0, 60.0));
        const int changes = c.changes();
        for (int i = 0; i < 3 * Controller::kWindow; ++i) c.update(0.150, representative);
        // The frames after the burst show the level keeps up.
        for (int i = 0; i < Controller::kWindow; ++i) c.update(machineFrame(c.scale(), 10.0, 60.0));
        return c.changes() - changes;
    };
    EXPECT_EQ(burst(false), 0);
    // Had they been the scene's own frames, the level would have failed.
    EXPECT_GE(burst(true), 1);
}

TEST(RenderScaleController, SettlesOnTheLargestScaleThatKeepsUpAndReturnsWhenFaster) {
    Controller c;
    // 10 ms fixed + 60 ms of pixels at full scale: 0.6 is the largest level under 33 ms.
    for (int i = 0; i < 3000; ++i) c.update(machineFrame(c.scale(), 10.0, 60.0));
    EXPECT_EQ(c.scale(), 0.6f);
    const int settledChanges = c.changes();
    for (int i = 0; i < 3000; ++i) c.update(machineFrame(c.scale(), 10.0, 60.0));
    EXPECT_EQ(c.changes(), settledChanges);  // settled: no swinging back and forth

    // The load goes away: back up to full scale after the pauses.
    for (int i = 0; i < 20000 && c.scale() < 1.0f; ++i)
        c.update(machineFrame(c.scale(), 4.0, 10.0));
    EXPECT_EQ(c.scale(), 1.0f);
}

TEST(RenderScaleController, ATooSlowLevelTheForecastTemptsItToIsRetriedEverMoreRarely) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.002);  // 2 ms
    Controller c;
    // Pixels only up to 0.55 (20 ms there); above it the frame jumps to
    // 36 ms, more than its pixels foretell (a larger frame spilling the
    // caches, say), so the forecast keeps tempting the controller upwards.
    const auto frame = [](float s) { return s > 0.55f ? 0.036 : 0.020 * (s / 0.55) * (s / 0.55); };
    int changes = 0, ups = 0;
    float last = c.scale();
    double seconds = 0.0, lastUpAt = -1.0, shortestWait = 1e9;
    for (int i = 0; i < 24000; ++i) {  // ten minutes at about 40 frames a second
        const double t = std::max(0.0, frame(c.scale()) + noise(random));
        seconds += t;
        const float s = c.update(t);
        if (s != last) ++changes;
        if (s > last) {
            if (lastUpAt >= 0.0 && ups > 2)
                shortestWait = std::min(shortestWait, seconds - lastUpAt);
            lastUpAt = seconds;
            ++ups;
        }
        last = s;
        if (i > 100) {
            EXPECT_GE(s, 0.55f);
        }
    }
    EXPECT_EQ(c.scale(), 0.55f);
    // Each retry of the failed level waits twice as long as the one before,
    // up to about a minute: a handful of changes in ten minutes.
    EXPECT_GT(ups, 1);
    EXPECT_LE(changes, 2 + 2 * (600 / 64 + 6));
    EXPECT_GE(shortestWait, 16.0);
}

TEST(RenderScaleController, ClimbsStepByStepToTheLargestLevelItsFramesForetellWithin) {
    // 12 ms that do not shrink and 40 ms of pixels at full scale: 0.5 takes
    // 22 ms, 0.55 foretells 24.2 ms and takes 24.1 ms, 0.6 would foretell
    // 26.3 ms (under 0.8 of 33.3) and takes 26.4 ms; 0.65 foretells 28.6 ms.
    Controller c;
    c.startFor(0.5);  // a start-up guess far too slow: the lowest level
    EXPECT_EQ(c.scale(), Controller::kLevels.back());
    for (int i = 0; i < 3000; ++i) c.update(machineFrame(c.scale(), 12.0, 40.0));
    EXPECT_EQ(c.scale(), 0.6f);
    EXPECT_EQ(c.changes(), 6);  // 0.3 to 0.6, one level at a time, never back
}

TEST(FrameStats, LineHoldsCountMedianP95ScaleAndTheTimeWeightedMeanScale) {
    EXPECT_EQ(frameStatsLine({}, {}),
              "frames 0, median 0.0 ms, p95 0.0 ms, render scale 1, mean scale 1.00");
    std::vector<double> ms;
    for (int i = 1; i <= 100; ++i) ms.push_back(double(i));
    EXPECT_EQ(frameStatsLine(ms, std::vector<float>(100, 0.55f)),
              "frames 100, median 51.0 ms, p95 95.0 ms, render scale 0.55, mean scale 0.55");
    // A quarter of the time at 1 (one 30 ms frame), the rest at 0.3 (nine
    // 10 ms frames): the mean follows the time, not the count of frames.
    std::vector<double> times(9, 10.0);
    std::vector<float> scales(9, 0.3f);
    times.insert(times.begin(), 30.0);
    scales.insert(scales.begin(), 1.0f);
    EXPECT_EQ(frameStatsLine(times, scales),
              "frames 10, median 10.0 ms, p95 30.0 ms, render scale 0.3, mean scale 0.48");
}

TEST(FrameStats, SlicesCutTheRunByFrameTimeWhereEachFrameEnds) {
    EXPECT_TRUE(frameSliceLines({}, {}, 5.0).empty());
    EXPECT_TRUE(frameSliceLines({10.0}, {0.5f}, 0.0).empty());
    EXPECT_TRUE(frameSliceLines({10.0}, {0.5f}, -1.0).empty());
    // 1 s of 100 ms frames at 0.3, then one 2.5 s frame at 1 (it ends in the
    // fourth second: the second and third hold no frame and are left out),
    // then 0.5 s of 50 ms frames at 0.5 (the last one ends exactly on 4 s,
    // so it opens the fifth second).
    std::vector<double> ms(10, 100.0);
    std::vector<float> scales(10, 0.3f);
    ms.push_back(2500.0);
    scales.push_back(1.0f);
    for (int i = 0; i < 10; ++i) {
        ms.push_back(50.0);
        scales.push_back(0.5f);
    }
    const std::vector<std::string> lines = frameSliceLines(ms, scales, 1.0);
    ASSERT_EQ(lines.size(), 4u);
    // The tenth frame ends exactly on 1 s, so it opens the next slice.
    EXPECT_EQ(lines[0], "seconds 0-1: frames 9, median 100.0 ms, mean scale 0.30");
    EXPECT_EQ(lines[1], "seconds 1-2: frames 1, median 100.0 ms, mean scale 0.30");
    // 2.5 s at 1 and 0.45 s at 0.5: the mean follows the time.
    EXPECT_EQ(lines[2], "seconds 3-4: frames 10, median 50.0 ms, mean scale 0.92");
    EXPECT_EQ(lines[3], "seconds 4-5: frames 1, median 50.0 ms, mean scale 0.50");
}

TEST(RenderScaleController, APausedLevelIsTriedAgainWhenItsForecastGrownByItsSurpriseFits) {
    const auto settle = [](Controller& c, const auto& frame, double seconds) {
        for (double t = 0.0; t < seconds;) {
            const double ft = frame(c.scale());
            t += ft;
            c.update(ft);
        }
    };
    // A forecast that proves wrong: 20 ms at 0.55 by its pixels, 36 ms
    // above it, so 0.65 fails at once, again and again, and its pause grows.
    const auto costly = [](float s) { return s > 0.55f ? 0.036 : 0.020 * (s / 0.55) * (s / 0.55); };
    Controller c;
    settle(c, costly, 300.0);
    // Until just after a failed try: the pause now lasts about a minute.
    for (int i = 0; i < 5000 && c.scale() == 0.55f; ++i) c.update(costly(c.scale()));
    for (int i = 0; i < 5000 && c.scale() > 0.55f; ++i) c.update(costly(c.scale()));
    ASSERT_EQ(c.scale(), 0.55f);
    // Only a little cheaper (0.8 of the frame): the forecast, grown by the
    // last try's surprise, does not fit; the pause holds.
    const int before = c.changes();
    settle(
        c, [&](float s) { return 0.8 * costly(s); }, 5.0);
    EXPECT_EQ(c.changes(), before);
    // Clearly cheaper (0.7, and 0.6 now fits, with 0.65 foretold over the
    // line): it climbs within a second, and stays.
    const auto cheaper = [&](float s) {
        return s > 0.6f ? 0.036 : s > 0.55f ? 0.025 : 0.7 * costly(s);
    };
    settle(c, cheaper, 1.0);
    EXPECT_EQ(c.scale(), 0.6f);
    const int climbed = c.changes();
    settle(c, cheaper, 60.0);
    EXPECT_EQ(c.changes(), climbed);

    // A right forecast, and scenes that take turns every 20 s: the cheap one
    // keeps up at 0.75, the costly one only at 0.6. The levels above 0.6
    // fail each time the costly scene comes, but not because the forecast
    // was wrong: each cheap scene gets 0.75 back within two seconds, however
    // long their pauses have grown.
    Controller d;
    d.startFor(0.5);  // from the lowest level up
    const auto cheap = [](float s) { return machineFrame(s, 8.0, 30.0); };
    const auto dear = [](float s) { return machineFrame(s, 14.0, 50.0); };
    settle(d, cheap, 20.0);
    ASSERT_EQ(d.scale(), 0.75f);
    for (int turn = 0; turn < 6; ++turn) {
        settle(d, dear, 20.0);
        EXPECT_EQ(d.scale(), 0.6f) << turn;
        settle(d, cheap, 2.0);
        EXPECT_EQ(d.scale(), 0.75f) << turn;
        settle(d, cheap, 18.0);
    }
}
