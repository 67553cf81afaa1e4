// The real program under the virtual display: start-up failures, the window,
// Escape, and a clean GL run.
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "e2e/Process.h"

using namespace std::chrono_literals;

namespace {

const std::string kProgram = std::string(MD_BIN_DIR) + "/morrowdock";

// Width and height of the named top-level window, or {-1, -1}.
std::pair<int, int> windowSize(const std::string& title) {
    const ProcessResult r = runCommand({"xwininfo", "-name", title}, ".", 5s);
    if (r.exitStatus != 0) return {-1, -1};
    std::smatch w, h;
    const std::regex wr("Width: (\\d+)"), hr("Height: (\\d+)");
    if (!std::regex_search(r.out, w, wr) || !std::regex_search(r.out, h, hr)) return {-1, -1};
    return {std::stoi(w[1]), std::stoi(h[1])};
}

bool pressKey(const std::string& title, const std::string& key) {
    // Without a window manager, focus the window first, then type through XTEST.
    const ProcessResult focus =
        runCommand({"xdotool", "search", "--name", "^" + title + "$", "windowfocus"}, ".", 10s);
    if (focus.exitStatus != 0) return false;
    return runCommand({"xdotool", "key", key}, ".", 10s).exitStatus == 0;
}

}  // namespace

TEST(Startup, ZeroWidthWindowIsFatalWithoutWaiting) {
    const ProcessResult r = runCommand({kProgram, "0", "600", "Lake", "75", "0"}, MD_BIN_DIR, 20s);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.out.find("ERROR: Could not open GLFWwindow!\n"), std::string::npos) << r.out;
    EXPECT_LT(r.seconds, 15.0);
}

TEST(Startup, NoDisplayIsFatal) {
    const ProcessResult r = runCommand({kProgram, "800", "600", "Lake", "75", "0"}, MD_BIN_DIR, 20s,
                                       {{"DISPLAY", ":987"}, {"WAYLAND_DISPLAY", ""}});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.out.find("ERROR: Could not initialise GLFW!\n"), std::string::npos) << r.out;
}

TEST(Startup, WindowHasSizeAndTitleAndEndsOnEscape) {
    Process program({kProgram, "800", "600", "LakeE2E", "75", "0"}, MD_BIN_DIR,
                    {{"MESA_DEBUG", "1"}});
    std::pair<int, int> size{-1, -1};
    ASSERT_TRUE(waitUntil(60s, [&] {
        size = windowSize("LakeE2E");
        return size.first > 0 || !program.running();
    }));
    EXPECT_EQ(size.first, 800);
    EXPECT_EQ(size.second, 600);
    std::this_thread::sleep_for(1s);  // let some frames run
    ASSERT_TRUE(program.running());
    EXPECT_TRUE(pressKey("LakeE2E", "Escape"));
    const ProcessResult r = program.wait(30s);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.err.find("Mesa: User error"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
}
