#include "app/AppGlobals.h"

std::string windowTitle = "Morrowdock";
int refreshRate = 60;
bool fullscreen = true;

Window* appWindow = nullptr;

float lastFrame = 0.0f;
bool firstFrame = true;
float previousTimeOfDay = 0.0f;
float exposure = 0.8f;

bool keys[1024] = {};
bool hdrEnabled = true;
bool firstMouse = true;
float lastX = 400.0f;
float lastY = 300.0f;
