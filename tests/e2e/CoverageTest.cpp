// The subject mask of the snapshot tool: the scene's objects in white on
// black, nothing of the real frame drawn into it, and its share reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "e2e/Process.h"

using namespace std::chrono_literals;

namespace {

const std::string kSnapshot = std::string(MD_BIN_DIR) + "/snapshot";

}  // namespace

TEST(SnapshotCoverage, MaskHoldsOnlyBlackAndWhiteAndItsShareIsReported) {
    const std::string mask = testing::TempDir() + "coverage-mask.png";
    std::remove(mask.c_str());
    // At 4 s the camera looks down on the breakfast table: objects, water and
    // ground share the picture.
    const ProcessResult r = runCommand({kSnapshot, "96", "64", "--coverage", "4", mask}, MD_BIN_DIR,
                                       120s, {{"MESA_DEBUG", "1"}});
    ASSERT_EQ(r.exitStatus, 0) << r.out << r.err;
    EXPECT_EQ(r.err.find("Mesa: User error"), std::string::npos) << r.err;
    std::smatch m;
    const std::regex line("coverage .*coverage-mask\\.png at 4\\.0 s: ([0-9.]+) %");
    ASSERT_TRUE(std::regex_search(r.out, m, line)) << r.out;
    const double reported = std::stod(m[1]);

    // Only pure black and pure white: no lit colour, sky or glow of the
    // program's own passes.
    const ProcessResult colours =
        runCommand({"convert", mask, "-unique-colors", "txt:-"}, ".", 20s);
    ASSERT_EQ(colours.exitStatus, 0) << colours.err;
    const std::regex pixel("#([0-9A-F]{6})");
    int black = 0, white = 0, other = 0;
    for (auto it = std::sregex_iterator(colours.out.begin(), colours.out.end(), pixel);
         it != std::sregex_iterator(); ++it)
        ((*it)[1] == "000000" ? black : (*it)[1] == "FFFFFF" ? white : other)++;
    EXPECT_EQ(black, 1) << colours.out;
    EXPECT_EQ(white, 1) << colours.out;
    EXPECT_EQ(other, 0) << colours.out;

    // The reported share is the white share of the saved mask.
    const ProcessResult mean = runCommand({"identify", "-format", "%[fx:mean]", mask}, ".", 20s);
    ASSERT_EQ(mean.exitStatus, 0) << mean.err;
    EXPECT_NEAR(std::stod(mean.out) * 100.0, reported, 0.2) << r.out;
    EXPECT_GT(reported, 5.0);
    EXPECT_LT(reported, 95.0);
}

TEST(SnapshotCoverage, IncompleteArgumentsAreRefused) {
    for (const auto& args : {std::vector<std::string>{kSnapshot, "96", "64", "--coverage", "4"},
                             std::vector<std::string>{kSnapshot, "0", "64", "--coverage"}}) {
        const ProcessResult r = runCommand(args, MD_BIN_DIR, 30s);
        EXPECT_EQ(r.exitStatus, 2) << r.out << r.err;
        EXPECT_NE(r.err.find("usage: snapshot"), std::string::npos) << r.err;
    }
    // The day steps only forward: a moment before the last one is refused
    // after the ones before it are drawn, rather than drawn with the later
    // moment's camera; the same moment again is drawn.
    const ProcessResult r = runCommand(
        {kSnapshot, "96", "64", "3", "--hash", "3", "--hash", "2", "--hash"}, MD_BIN_DIR, 120s);
    EXPECT_EQ(r.exitStatus, 2) << r.out << r.err;
    EXPECT_NE(r.err.find("snapshot: moment 2 s comes before the day's clock (3.000 s)"),
              std::string::npos)
        << r.err;
    const std::regex hashes("moment 3 clock [0-9.]+ hash ([0-9a-f]{16})\\n");
    std::vector<std::string> drawn;
    for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), hashes);
         it != std::sregex_iterator(); ++it)
        drawn.push_back((*it)[1]);
    EXPECT_EQ(drawn.size(), 2u) << r.out;
    EXPECT_EQ(r.out.find("moment 2 "), std::string::npos) << r.out;
    // The masks too.
    const std::string first = testing::TempDir() + "coverage-first.png",
                      second = testing::TempDir() + "coverage-second.png";
    std::remove(second.c_str());
    const ProcessResult masks = runCommand(
        {kSnapshot, "96", "64", "--coverage", "3", first, "2", second}, MD_BIN_DIR, 120s);
    EXPECT_EQ(masks.exitStatus, 2) << masks.out << masks.err;
    EXPECT_NE(masks.err.find("moment 2 s comes before"), std::string::npos) << masks.err;
    EXPECT_FALSE(std::ifstream(second).good());
}
