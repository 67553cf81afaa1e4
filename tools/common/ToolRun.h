#pragma once
// What the offline tools (snapshot, record) share: they drive the program's
// own start-up and frames with a clock they set by hand, and read the
// finished frame back from the window.

#include <string>
#include <vector>

// The tools' clock, in seconds; the program reads it through currentTime().
extern double simulatedTime;

// Sets the window's size and title (windowed) and hands the program the
// simulated clock. Call before init().
void prepareToolRun(int width, int height);

// The window's back buffer as tightly packed RGB rows, bottom row first.
std::vector<unsigned char> readBackBuffer(int width, int height);

// Steps the day 60 frames a second without drawing until the clock is one
// step short of `target`, then sets the clock to `target` (the caller draws
// or simulates the frame there).
void simulateUntil(double target);

// Steps the day as simulateUntil does to the moment `seconds` after the
// first frame (drawn at `firstFrameAt`). The day only steps forward: a
// moment before the clock would be drawn with the camera and lights where
// the later one left them, so it leaves the clock, says so on standard error
// (as `tool`) and gives false.
bool advanceToMoment(const char* tool, double firstFrameAt, double seconds);

// Writes rows as readBackBuffer returns them to a PNG, top row first.
bool writePng(const std::string& file, int width, int height,
              const std::vector<unsigned char>& rgb);
