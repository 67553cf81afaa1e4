#pragma once
// The program and the X tools the end-to-end tests drive it with.

#include <chrono>
#include <string>
#include <utility>

#include "e2e/Process.h"

extern const std::string kProgram;  // build/bin/morrowdock

// Width and height of the named top-level window, or {-1, -1}.
std::pair<int, int> windowSize(const std::string& title);

// Waits until the named window exists; false if the program ended first or
// the time ran out.
bool waitForWindow(const std::string& title, Process& program, std::chrono::milliseconds timeout);

// Focuses the named window and types the key (xdotool key name).
bool pressKey(const std::string& title, const std::string& key);

// Saves the named window's contents as a PNG and returns its path ("" on failure).
std::string screenshotOf(const std::string& title);

// Normalised RMS difference of two images in [0, 1] (-1 if they cannot be compared).
double imageDifference(const std::string& a, const std::string& b);
