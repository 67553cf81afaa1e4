#include <gtest/gtest.h>

#include <vector>

#include "app/CommandLine.h"

namespace {

LaunchSettings parse(std::vector<const char*> args) {
    args.insert(args.begin(), "morrowdock");
    return parseCommandLine(int(args.size()), args.data());
}

void expectDefaults(const LaunchSettings& s) {
    EXPECT_EQ(s.screenWidth, 1080);
    EXPECT_EQ(s.screenHeight, 720);
    EXPECT_EQ(s.windowTitle, "Morrowdock");
    EXPECT_EQ(s.refreshRate, 60);
    EXPECT_TRUE(s.fullscreen);
}

}  // namespace

TEST(CommandLine, FewerThanFiveArgumentsReadNothing) {
    expectDefaults(parse({}));
    expectDefaults(parse({"800", "600", "Lake", "75"}));
}

TEST(CommandLine, AllFiveAreRead) {
    const LaunchSettings s = parse({"800", "600", "Lake", "75", "0"});
    EXPECT_EQ(s.screenWidth, 800);
    EXPECT_EQ(s.screenHeight, 600);
    EXPECT_EQ(s.windowTitle, "Lake");
    EXPECT_EQ(s.refreshRate, 75);
    EXPECT_FALSE(s.fullscreen);
    EXPECT_TRUE(parse({"800", "600", "Lake", "75", "1"}).fullscreen);
}

TEST(CommandLine, ArgumentsAfterTheFifthAreIgnored) {
    const LaunchSettings s = parse({"640", "480", "A", "30", "0", "999", "junk"});
    EXPECT_EQ(s.screenWidth, 640);
    EXPECT_FALSE(s.fullscreen);
}

TEST(CommandLine, UnreadableValueFallsBackAloneOthersStillRead) {
    const LaunchSettings s = parse({"wide", "600", "Lake", "fast", "0"});
    EXPECT_EQ(s.screenWidth, 1080);
    EXPECT_EQ(s.screenHeight, 600);
    EXPECT_EQ(s.refreshRate, 60);
    EXPECT_FALSE(s.fullscreen);
}

TEST(CommandLine, TrailingCharactersAfterANumberAreIgnored) {
    const LaunchSettings s = parse({"800px", "600x", "Lake", "75Hz", "0"});
    EXPECT_EQ(s.screenWidth, 800);
    EXPECT_EQ(s.screenHeight, 600);
    EXPECT_EQ(s.refreshRate, 75);
}

TEST(CommandLine, FullscreenFlagOtherThanZeroOrOneStaysOn) {
    EXPECT_TRUE(parse({"800", "600", "Lake", "75", "yes"}).fullscreen);
    EXPECT_TRUE(parse({"800", "600", "Lake", "75", "2"}).fullscreen);
    EXPECT_TRUE(parse({"800", "600", "Lake", "75", ""}).fullscreen);
}

TEST(CommandLine, TitleIsOneWordAndEmptyGivesDefault) {
    EXPECT_EQ(parse({"800", "600", "", "75", "0"}).windowTitle, "Morrowdock");
    EXPECT_EQ(parse({"800", "600", "   ", "75", "0"}).windowTitle, "Morrowdock");
    EXPECT_EQ(parse({"800", "600", "  Lake side", "75", "0"}).windowTitle, "Lake");
}

TEST(CommandLine, NegativeAndZeroSizesAreReadAsGiven) {
    // Not errors here: the window creation refuses them later.
    const LaunchSettings s = parse({"0", "-5", "Lake", "75", "0"});
    EXPECT_EQ(s.screenWidth, 0);
    EXPECT_EQ(s.screenHeight, -5);
}
