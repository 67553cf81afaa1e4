#pragma once
// Globals of the application shell (the ones lower layers read are in
// core/Globals.h).

#include <string>

class Window;

extern std::string windowTitle;
extern int refreshRate;
extern bool fullscreen;

extern Window* appWindow;

extern float lastFrame;  // time at the start of the previous frame, seconds
extern bool firstFrame;
extern float previousTimeOfDay;  // the day clock before this frame's step  // true until the first
                                 // frame has advanced the day clock
extern float exposure;           // the resolve's exposure, set by the day cycle

extern bool keys[1024];  // held state per GLFW key code
extern bool hdrEnabled;
extern bool firstMouse;
extern float lastX;
extern float lastY;
