// Runs of the real program with parts of its data missing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/DataTree.h"
#include "e2e/E2eSupport.h"
#include "e2e/Process.h"

using namespace std::chrono_literals;

TEST(SceneData, MissingModelIsReportedAndTheRunGoesOn) {
    DataTree tree({"models/vase"});
    Process program({tree.program(), "640", "480", "NoVase", "60", "0"}, tree.binDir());
    const bool shown = waitForWindow("NoVase", program, 60s);
    std::this_thread::sleep_for(2s);
    const bool stillRunning = program.running();
    const bool pressed = pressKey("NoVase", "Escape");
    const ProcessResult r = program.wait(30s);
    ASSERT_TRUE(shown && stillRunning && pressed) << r.out << r.err;
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find("ERROR: Fehler beim Laden von ASSIMP Model : "), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("vase.obj"), std::string::npos) << r.out;
    // Only the vase is missing: no other model is reported.
    EXPECT_EQ(r.out.find("boat.obj"), std::string::npos) << r.out;
}

TEST(SceneData, MissingTerrainTextureIsFatalWithoutWaiting) {
    DataTree tree({"textures/terrain/sand.jpg"});
    const ProcessResult r =
        runCommand({tree.program(), "640", "480", "NoSand", "60", "0"}, tree.binDir(), 60s);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("Texture failed to load\n"), std::string::npos) << r.err;
}

TEST(SceneData, MissingOrTooWideHeightMapIsFatal) {
    DataTree tree({"textures/terrain/heightmapmiddle.png"});
    const ProcessResult r =
        runCommand({tree.program(), "640", "480", "NoHeights", "60", "0"}, tree.binDir(), 60s);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("Texture failed to load\n"), std::string::npos) << r.err;

    // 122 bytes of valid PNG, 20000 x 2: as a grid 20000 x 20000 vertices,
    // tens of gigabytes. Run with 2 GiB of address space, so a regression
    // fails here instead of taking the machine's memory.
    std::ifstream wide(std::string(MD_SOURCE_DIR) + "/tests/e2e/data/wide_heightmap.png",
                       std::ios::binary);
    std::stringstream bytes;
    bytes << wide.rdbuf();
    ASSERT_EQ(bytes.str().size(), 122u);
    DataTree wideTree({}, {{"textures/terrain/heightmapmiddle.png", {bytes.str()}}});
    const ProcessResult w = runCommand({"prlimit", "--as=2147483648", "--", wideTree.program(),
                                        "640", "480", "WideHeights", "60", "0"},
                                       wideTree.binDir(), 60s);
    ASSERT_FALSE(w.timedOut);
    EXPECT_EQ(w.exitStatus, 1) << w.err;
    EXPECT_NE(w.err.find("Texture failed to load\n  ../textures/terrain/heightmapmiddle.png: "
                         "declares 20000 x 2"),
              std::string::npos)
        << w.err;
}

TEST(SceneData, WithoutControlPointsTheCameraTurnsOnTheSpot) {
    DataTree tree({"textures/controlpoints.txt"});
    Process program({tree.program(), "640", "480", "NoPath", "60", "0"}, tree.binDir());
    const bool shown = waitForWindow("NoPath", program, 60s);
    std::this_thread::sleep_for(2s);
    const std::string first = screenshotOf("NoPath");
    // The view keeps changing: the camera turns although it has no path. On
    // a slow machine a frame can take a while, so look again until it has.
    std::string second;
    double difference = -1.0;
    waitUntil(30s, [&] {
        second = screenshotOf("NoPath");
        difference = imageDifference(first, second);
        return difference > 0.01 || !program.running();
    });
    const bool stillRunning = program.running();
    const bool pressed = pressKey("NoPath", "Escape");
    const ProcessResult r = program.wait(30s);
    ASSERT_TRUE(shown && stillRunning && pressed) << r.out << r.err;
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_GT(difference, 0.01) << first << " " << second;
}
