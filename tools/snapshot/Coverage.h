#pragma once
// The subject mask: a frame drawn with the scene's objects (every entity and
// the water) in white and everything else (sky and terrain) in black. The
// share of white pixels says how much of a shot shows a subject, so the
// flight can be judged by numbers as well as by eye.
//   snapshot <width> <height> --coverage
//       one line a second of the day: the subject share, then a summary
//   snapshot <width> <height> --coverage <seconds> <mask.png> [...]
//       the masks at chosen moments, with their shares

#include <vector>

// Share of pixels whose red byte is at least 128, in RGB bytes (0 when empty).
float whiteFraction(const std::vector<unsigned char>& rgb);

// How a day's coverage (one share a second) meets a threshold: the seconds
// at or above it and the longest run of seconds below it.
struct CoverageSummary {
    int seconds = 0;
    int covered = 0;
    int longestGap = 0;
};
CoverageSummary summariseCoverage(const std::vector<float>& shares, float threshold);

// The coverage mode of snapshot, argv as given to main; returns the exit status.
int runCoverage(int argc, char** argv);
