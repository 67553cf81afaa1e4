#pragma once
// Adaptive quality of the real run. In `auto` (the default) a frame slower
// than 1/30 s makes the next ones draw into a smaller part of the
// screen-sized targets, the shadow map and the water targets, and the resolve
// scales the picture to the window; with headroom the scale steps back up to
// 1. In `full` the scale stays 1 and every frame is the design's.
// MORROWDOCK_STATS=1 prints one line of frame times when the run ends;
// MORROWDOCK_STATS=slices adds one line for each 5 s of the run.

// Reads MORROWDOCK_QUALITY and MORROWDOCK_STATS; an unknown quality value is
// taken as auto and said once on standard error.
void initQuality();

// The capture before the first frame. In auto it is made at a reduced scale
// first and timed: a machine that would keep up at full scale captures again
// at full scale and starts there; a slower one starts at the scale the time
// suggests, so its first frames are not a slide show.
void captureAtStartUp();

// Before a frame: applies the scale chosen after the last frame, and
// captures the vase's surroundings again at full scale once the scale is
// back at 1 after a reduced capture.
void beginQualityFrame();

// After a frame (swap included), with its wall-clock time in seconds.
void endQualityFrame(double frameSeconds);

// The frame-time line on standard error, if MORROWDOCK_STATS=1 or slices
// (then the 5-s lines after it).
void reportQuality();

// Sets the render scale (clamped to (0, 1]) and hands it to the programs that
// read the reduced targets; marks the next frame for whole clears.
void setRenderScale(float scale);
