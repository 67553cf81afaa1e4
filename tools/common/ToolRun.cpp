#include "ToolRun.h"

#include <GL/glew.h>
#include <stb/stb_image_write.h>

#include <cstdio>

#include "app/AppGlobals.h"
#include "app/FrameLoop.h"
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

void simulateUntil(double target) {
    while (simulatedTime + 1.0 / 60.0 < target) {
        simulatedTime += 1.0 / 60.0;
        simulateFrame();
    }
    simulatedTime = target;
}

bool advanceToMoment(const char* tool, double firstFrameAt, double seconds) {
    const double target = firstFrameAt + seconds;
    if (target < simulatedTime - 1e-9) {
        std::fprintf(stderr,
                     "%s: moment %g s comes before the day's clock (%.3f s); give moments in "
                     "increasing order\n",
                     tool, seconds, simulatedTime - firstFrameAt);
        return false;
    }
    simulateUntil(target);
    return true;
}

bool writePng(const std::string& file, int width, int height,
              const std::vector<unsigned char>& rgb) {
    stbi_flip_vertically_on_write(1);
    return stbi_write_png(file.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}
