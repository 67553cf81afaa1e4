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
void cleanup();
