#include "ToolRun.h"

#include <GL/glew.h>

#include "app/AppGlobals.h"
#include "core/Globals.h"
#include "core/TimeSource.h"

double simulatedTime = 0.0;

void prepareToolRun(int width, int height) {
    screenWidth = width;
    screenHeight = height;
    windowTitle = "Morrowdock";
    fullscreen = false;
    setTimeSource([] { return simulatedTime; });
}

std::vector<unsigned char> readBackBuffer(int width, int height) {
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
