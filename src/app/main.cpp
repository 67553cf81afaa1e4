// Morrowdock: a self-playing day at a lake.

#include "app/AdaptiveQuality.h"
#include "app/AppGlobals.h"
#include "app/CommandLine.h"
#include "app/FrameLoop.h"
#include "app/Startup.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "frame/EnvironmentCapture.h"

int main(int argc, char** argv) {
    // Every data path is relative to the executable's folder, not the caller's.
    enterProgramFolder();
    const LaunchSettings settings = parseCommandLine(argc, argv);
    screenWidth = settings.screenWidth;
    screenHeight = settings.screenHeight;
    windowTitle = settings.windowTitle;
    refreshRate = settings.refreshRate;
    fullscreen = settings.fullscreen;

    initQuality();
    init();
    captureAtStartUp();
    frameLoop();
    reportQuality();
    cleanup();
    return 0;
}
