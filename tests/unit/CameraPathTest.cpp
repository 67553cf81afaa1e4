#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <glm/gtc/matrix_transform.hpp>
#include <sstream>
#include <string>

#include "camera/Camera.h"
#include "camera/CameraPath.h"
#include "core/Globals.h"

namespace {

// A folder per process: two tests write "seven.txt", and ctest runs tests
// side by side.
std::filesystem::path fileFolder() {
    return std::filesystem::temp_directory_path() /
           ("morrowdock_camera_path_tests_" + std::to_string(getpid()));
}

std::filesystem::path writeFile(const std::string& name, const std::string& text) {
    const auto dir = fileFolder();
    std::filesystem::create_directories(dir);
    const auto file = dir / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

void expectVec(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Seven points of a two-segment flight, one "x y z" a line.
const char* const kSevenPoints = "0 3 2\n10 4 -5\n20 5 -5\n30 3 0\n40 1 5\n50 2 20\n40 6 30\n";

std::vector<glm::vec3> pointsFrom(const std::string& text) {
    std::istringstream in(text);
    return parseControlPoints(in);
}

class CameraPathTest : public testing::Test {
protected:
    void SetUp() override {
        resetPath();
        deltaTime = 0.0f;
    }
    void TearDown() override {
        resetPath();
        deltaTime = 0.0f;
        std::error_code ignored;
        std::filesystem::remove_all(fileFolder(), ignored);
    }

    // Runs frames of dt while the camera holds `count` points; returns how
    // many of them moved the camera (the frame that drops the segment does not).
    int flySegment(Camera& camera, float dt, size_t count) {
        deltaTime = dt;
        int moving = 0;
        for (int guard = 0; guard < 100000 && camera.controlPoints.size() == count; ++guard) {
            const glm::vec3 before = camera.position;
            const float t = pathT;
            updatePath(camera);
            if (camera.controlPoints.size() == count) {
                ++moving;
            } else {
                EXPECT_GT(t, 1.0f);
                EXPECT_EQ(camera.position, before) << "the dropping frame must not move";
            }
        }
        return moving;
    }
};

}  // namespace

TEST_F(CameraPathTest, FileLayoutDoesNotMatterAndIncompletePointsAreDropped) {
    Camera perLine({0, 3, 2}, nullptr);
    readControlPoints(perLine, writeFile("seven.txt", kSevenPoints).string());
    ASSERT_EQ(perLine.controlPoints.size(), 7u);
    expectVec(perLine.controlPoints[1], {10, 4, -5}, 0.0f);
    expectVec(perLine.controlPoints[6], {40, 6, 30}, 0.0f);

    std::string oneLine = kSevenPoints;
    for (char& ch : oneLine)
        if (ch == '\n') ch = ' ';
    oneLine[1] = '\t';
    Camera flat({0, 3, 2}, nullptr);
    readControlPoints(flat, writeFile("flat.txt", oneLine).string());
    EXPECT_EQ(flat.controlPoints, perLine.controlPoints);

    EXPECT_EQ(pointsFrom("1 2 3 4 5 6 7 8 9 10").size(), 3u);
    EXPECT_EQ(pointsFrom("1 2 3 4 5").size(), 1u);
    EXPECT_TRUE(pointsFrom("").empty());
    const auto signs = pointsFrom("-1.5e2 +2 .5");
    ASSERT_EQ(signs.size(), 1u);
    expectVec(signs[0], {-150.0f, 2.0f, 0.5f}, 0.0f);
}

TEST_F(CameraPathTest, ReadingStopsAtTheFirstTokenThatIsNotAFiniteDecimalNumber) {
    for (const char* bad :
         {"x", "1.5abc", "nan", "inf", "-inf", "1e999", "1,5", "--2", "0x10", "0X1p3", "-0x.8"}) {
        SCOPED_TRACE(bad);
        const auto points = pointsFrom(std::string("1 2 3 4 5 ") + bad + " 7 8 9 10 11 12");
        ASSERT_EQ(points.size(), 1u);
        expectVec(points[0], {1, 2, 3}, 0.0f);
    }
}

TEST_F(CameraPathTest, AMissingFileAddsNothingSilentlyAndTheCameraTurns) {
    Camera c({0, 3, 2}, nullptr);
    c.controlPoints.push_back({1, 1, 1});
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    readControlPoints(c, "/nonexistent/morrowdock/controlpoints.txt");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(c.controlPoints.size(), 1u);

    deltaTime = 0.5f;
    updatePath(c);
    EXPECT_TRUE(c.inTurnMode());
    EXPECT_FLOAT_EQ(c.turnStep, 0.5f * 100.0f * 0.017453292f);
    expectVec(c.position, {0, 3, 2}, 0.0f);
}

TEST_F(CameraPathTest, SegmentEndsAndTangents) {
    const glm::vec3 p0(0, 3, 2), p1(10, 4, -5), p2(20, 5, -5), p3(30, 3, 0);
    Camera c({0, 0, 0}, nullptr);
    c.controlPoints = {p0, p1, p2, p3};

    evaluateSegment(c, p0, p1, p2, p3, 0.0f);
    EXPECT_EQ(c.position, p0);
    expectVec(c.front, glm::normalize(p1 - p0));
    // up was derived from the front before this step.
    expectVec(c.up, {0, 1, 0}, 0.0f);
    EXPECT_EQ(c.view, glm::lookAt(c.position, c.position + c.front, glm::vec3(0, 1, 0)));

    evaluateSegment(c, p0, p1, p2, p3, 1.0f);
    EXPECT_EQ(c.position, p3);
    expectVec(c.front, glm::normalize(p3 - p2));

    expectVec(bezierPoint(p0, p1, p2, p3, 0.5f), (p0 + 3.0f * p1 + 3.0f * p2 + p3) / 8.0f);
    expectVec(bezierTangent(p0, p1, p2, p3, 0.5f), 0.75f * (p2 + p3 - p0 - p1), 1e-4f);

    // A handle on its end point gives no tangent at t = 0: the front is kept.
    c.front = glm::normalize(glm::vec3(1, 0, -1));
    evaluateSegment(c, p0, p0, p2, p3, 0.0f);
    EXPECT_EQ(c.position, p0);
    expectVec(c.front, glm::normalize(glm::vec3(1, 0, -1)));
}

TEST_F(CameraPathTest, SevenPointsFlyTwoSegmentsThenTheCameraTurns) {
    Camera c({0, 3, 2}, nullptr);
    readControlPoints(c, writeFile("seven.txt", kSevenPoints).string());
    const std::vector<glm::vec3> p = c.controlPoints;
    ASSERT_EQ(p.size(), 7u);

    deltaTime = 0.25f;
    updatePath(c);
    EXPECT_EQ(c.position, p[0]);
    const int first = 1 + flySegment(c, 0.25f, 7);
    EXPECT_NEAR(first * 0.25f, 12.5f, 0.3f);  // 12.5 s a segment
    ASSERT_EQ(c.controlPoints.size(), 4u);
    EXPECT_EQ(c.controlPoints[0], p[3]);
    EXPECT_EQ(c.controlPoints[3], p[6]);

    updatePath(c);  // the second segment starts where the first ended
    EXPECT_EQ(c.position, p[3]);
    const int second = 1 + flySegment(c, 0.25f, 4);
    EXPECT_EQ(second, first);
    expectVec(c.position, p[6], 0.5f);

    ASSERT_EQ(c.controlPoints.size(), 1u);
    EXPECT_EQ(c.controlPoints[0], p[6]);
    const glm::vec3 stop = c.position;
    updatePath(c);
    EXPECT_TRUE(c.inTurnMode());
    EXPECT_FLOAT_EQ(c.turnStep, 0.25f * 100.0f * 0.017453292f);
    EXPECT_EQ(c.position, stop);
}

TEST_F(CameraPathTest, FourFiveOrSixPointsGiveOneSegment) {
    const std::vector<glm::vec3> seven = pointsFrom(kSevenPoints);
    for (size_t n : {4u, 5u, 6u}) {
        SCOPED_TRACE(n);
        resetPath();
        Camera c({0, 3, 2}, nullptr);
        c.controlPoints.assign(seven.begin(), seven.begin() + n);
        const int frames = flySegment(c, 0.125f, n);
        EXPECT_NEAR(frames * 0.125f, 12.5f, 0.2f);
        EXPECT_EQ(c.controlPoints.size(), n - 3);
        EXPECT_TRUE(c.inTurnMode());
    }
}

TEST_F(CameraPathTest, TooFewPointsTurnFromTheStart) {
    for (const char* text : {"1 2 3 4 5 6 7 8 9 10", "1 2 3\n4 5 6\n7 8 9\n", ""}) {
        SCOPED_TRACE(text);
        resetPath();
        Camera c({0, 3, 2}, nullptr);
        readControlPoints(c, writeFile("few.txt", text).string());
        EXPECT_LE(c.controlPoints.size(), 3u);
        deltaTime = 0.1f;
        updatePath(c);
        updatePath(c);
        expectVec(c.position, {0, 3, 2}, 0.0f);
        EXPECT_FLOAT_EQ(c.turnStep, 0.1f * 100.0f * 0.017453292f);
    }
}

TEST_F(CameraPathTest, ALongFrameRestartsTheSegmentAShortOverrunMovesOn) {
    const std::vector<glm::vec3> p = pointsFrom(kSevenPoints);
    Camera c({0, 3, 2}, nullptr);
    c.controlPoints = p;

    deltaTime = 1.0f;
    for (int i = 0; i < 12; ++i) updatePath(c);  // pathT is now about 0.96
    ASSERT_NEAR(pathT, 0.96f, 1e-4f);
    deltaTime = 8.0f;  // carries pathT past 1.5
    updatePath(c);
    EXPECT_GT(pathT, 1.5f);
    deltaTime = 0.1f;
    updatePath(c);
    EXPECT_EQ(c.controlPoints.size(), 7u) << "no segment may be dropped";
    EXPECT_EQ(c.position, p[0]) << "the current segment starts over";

    // Carried to about 1.3 instead: the next frame moves on to the next segment.
    resetPath();
    c.controlPoints = p;
    deltaTime = 1.0f;
    for (int i = 0; i < 12; ++i) updatePath(c);
    deltaTime = 4.25f;
    updatePath(c);
    ASSERT_GT(pathT, 1.0f);
    ASSERT_LE(pathT, 1.5f);
    deltaTime = 0.1f;
    updatePath(c);
    EXPECT_EQ(c.controlPoints.size(), 4u);
    updatePath(c);
    EXPECT_EQ(c.position, p[3]);
}

TEST_F(CameraPathTest, TheFirstStepStartsTheSegmentAtZero) {
    const std::vector<glm::vec3> p = pointsFrom(kSevenPoints);
    Camera c({0, 3, 2}, nullptr);
    c.controlPoints = p;
    pathT = 0.7f;  // stale value: the pending reset wins
    deltaTime = 0.5f;
    updatePath(c);
    EXPECT_EQ(c.position, p[0]);
    EXPECT_FALSE(pathResetPending);
    EXPECT_FLOAT_EQ(pathT, 0.5f * 0.08f);
}
