#pragma once
// Start-up in its fixed order, and the shutdown after the last frame.

void initWindow();
void initShaders();
void initFrameBuffers();
void initCameras();
void initSkyAndShadows();
void initSound();
void initGlState();
void init();
// The day from its start again, with nothing loaded anew: the clock as
// before the first frame, the main camera at its first place on its path,
// the lights back in their first places, the sky unturned, the environment
// map captured at the clock's start and the music from its beginning. The
// window no longer asks to close.
void restartDay();
void cleanup();
