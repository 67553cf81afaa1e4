// The real program under the virtual display: start-up failures, the window,
// Escape, and a clean GL run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "e2e/E2eSupport.h"
#include "e2e/Process.h"

using namespace std::chrono_literals;

// Sizes the window system or the GL targets cannot take (X stops at 32767,
// llvmpipe's textures at 16384) are refused before the window is made, as
// is a size of 0 or less.
TEST(Startup, WindowSizeOutOfBoundsIsFatalWithoutWaiting) {
    for (const auto& [width, height] : {std::pair{"0", "600"},
                                        {"-5", "600"},
                                        {"800", "-1"},
                                        {"32767", "32767"},
                                        {"2147483647", "2147483647"},
                                        {"99999", "99999"},
                                        {"16385", "100"},
                                        {"100", "8193"}}) {
        SCOPED_TRACE(std::string(width) + " x " + height);
        const ProcessResult r =
            runCommand({kProgram, width, height, "Lake", "75", "0"}, MD_BIN_DIR, 20s);
        ASSERT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_NE(r.out.find("ERROR: Could not open GLFWwindow!\n"), std::string::npos) << r.out;
        EXPECT_LT(r.seconds, 15.0);
    }
}

TEST(Startup, NoDisplayIsFatal) {
    const ProcessResult r = runCommand({kProgram, "800", "600", "Lake", "75", "0"}, MD_BIN_DIR, 20s,
                                       {{"DISPLAY", ":987"}, {"WAYLAND_DISPLAY", ""}});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.out.find("ERROR: Could not initialise GLFW!\n"), std::string::npos) << r.out;
}

// Started from the source tree's root, as after a first build: the program
// still finds its shaders and data beside its own folder.
TEST(Startup, FromAnotherFolderWindowHasSizeAndTitleAndEndsOnEscape) {
    Process program({kProgram, "800", "600", "LakeE2E", "75", "0"}, MD_SOURCE_DIR,
                    {{"MESA_DEBUG", "1"}});
    ASSERT_TRUE(waitForWindow("LakeE2E", program, 60s));
    const std::pair<int, int> size = windowSize("LakeE2E");
    EXPECT_EQ(size.first, 800);
    EXPECT_EQ(size.second, 600);
    std::this_thread::sleep_for(1s);  // let some frames run
    const bool stillRunning = program.running();
    const bool pressed = pressKey("LakeE2E", "Escape");
    const ProcessResult r = program.wait(30s);
    ASSERT_TRUE(stillRunning && pressed) << r.out << r.err;
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err.find("Mesa: User error"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
}

// A window manager may resize the window: the picture then fills the window
// as it is, and no part of it is left black.
TEST(Startup, AResizedWindowIsFilledByThePicture) {
    Process program({kProgram, "320", "240", "LakeResized", "60", "0"}, MD_BIN_DIR,
                    {{"MESA_DEBUG", "1"}});
    ASSERT_TRUE(waitForWindow("LakeResized", program, 60s));
    const ProcessResult resized = runCommand(
        {"xdotool", "search", "--name", "^LakeResized$", "windowsize", "%@", "640", "480"}, ".",
        20s);
    ASSERT_EQ(resized.exitStatus, 0) << resized.err;
    // The share of the window that is black (the night's picture has none):
    // three quarters when the picture stays at its first size. A machine busy
    // with other runs may take a while to draw at the new size, so the window
    // is looked at until it is filled, for up to half a minute.
    const auto blackShare = [] {
        const std::string shot = screenshotOf("LakeResized");
        if (shot.empty()) return 1.0;
        const ProcessResult black =
            runCommand({"convert", shot, "-colorspace", "gray", "-threshold", "0.5%", "-negate",
                        "-format", "%[fx:mean]", "info:"},
                       ".", 20s);
        unlink(shot.c_str());
        return black.exitStatus == 0 ? std::stod(black.out) : 1.0;
    };
    std::pair<int, int> size;
    double black = 1.0;
    const auto giveUp = std::chrono::steady_clock::now() + 30s;
    do {
        std::this_thread::sleep_for(1s);  // frames at the new size
        size = windowSize("LakeResized");
        black = blackShare();
    } while ((size != std::make_pair(640, 480) || black >= 0.01) &&
             std::chrono::steady_clock::now() < giveUp);
    EXPECT_EQ(size, std::make_pair(640, 480));
    EXPECT_LT(black, 0.01);
    ASSERT_TRUE(pressKey("LakeResized", "Escape"));
    const ProcessResult r = program.wait(30s);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err.find("Mesa: User error"), std::string::npos) << r.err;
}
