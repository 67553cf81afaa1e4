#include "camera/CameraPath.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <istream>

#include "camera/Camera.h"
#include "core/Globals.h"

const char* const controlPointFile = "../textures/controlpoints.txt";

float pathT = 0.0f;
bool pathResetPending = true;

namespace {

constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kSegmentSpeed = 0.08f;  // curve parameter per second: 12.5 s a segment
constexpr float kTurnDegreesPerSecond = 100.0f;
constexpr float kRestartAbove = 1.5f;  // pathT beyond this restarts the segment

// A whole token that reads as a finite single-precision decimal number.
// strtod alone would also take hexadecimal ("0x10"), "inf" and "nan".
bool readNumber(const std::string& token, float& value) {
    if (token.empty()) return false;
    if (token.find_first_not_of("0123456789+-.eE") != std::string::npos) return false;
    char* end = nullptr;
    const double parsed = std::strtod(token.c_str(), &end);
    if (end != token.c_str() + token.size()) return false;
    if (!std::isfinite(parsed) || std::fabs(parsed) > FLT_MAX) return false;
    value = static_cast<float>(parsed);
    return true;
}

}  // namespace

void resetPath() {
    pathT = 0.0f;
    pathResetPending = true;
}

std::vector<glm::vec3> parseControlPoints(std::istream& in) {
    std::vector<glm::vec3> points;
    float xyz[3];
    int filled = 0;
    std::string token;
    while (in >> token) {
        if (!readNumber(token, xyz[filled])) break;
        if (++filled == 3) {
            points.emplace_back(xyz[0], xyz[1], xyz[2]);
            filled = 0;
        }
    }
    return points;
}

void readControlPoints(Camera& camera, const std::string& path) {
    std::ifstream file(path);
    if (!file.is_open()) return;
    const std::vector<glm::vec3> points = parseControlPoints(file);
    camera.controlPoints.insert(camera.controlPoints.end(), points.begin(), points.end());
}

glm::vec3 bezierPoint(const glm::vec3& p0, const glm::vec3& p1, const glm::vec3& p2,
                      const glm::vec3& p3, float t) {
    const float u = 1.0f - t;
    return u * u * u * p0 + 3.0f * t * u * u * p1 + 3.0f * t * t * u * p2 + t * t * t * p3;
}

glm::vec3 bezierTangent(const glm::vec3& p0, const glm::vec3& p1, const glm::vec3& p2,
                        const glm::vec3& p3, float t) {
    const float u = 1.0f - t;
    return 3.0f * u * u * (p1 - p0) + 6.0f * t * u * (p2 - p1) + 3.0f * t * t * (p3 - p2);
}

void evaluateSegment(Camera& camera, const glm::vec3& p0, const glm::vec3& p1, const glm::vec3& p2,
                     const glm::vec3& p3, float t) {
    camera.position = bezierPoint(p0, p1, p2, p3, t);
    // In path mode this only re-derives right and up from the previous front.
    camera.updateCameraVectors();

    const glm::vec3 direction = bezierTangent(p0, p1, p2, p3, t);
    const float lengthSquared = glm::dot(direction, direction);
    if (lengthSquared > 1e-30f && std::isfinite(lengthSquared))
        camera.front = direction / std::sqrt(lengthSquared);

    // up still belongs to the previous front; it catches up at the next
    // updateCameraVectors.
    camera.view = camera.viewMatrix();
}

void dropSegment(Camera& camera) {
    if (camera.controlPoints.size() < 4) return;
    camera.controlPoints.erase(camera.controlPoints.begin(), camera.controlPoints.begin() + 3);
}

void updatePath(Camera& camera) {
    if (pathResetPending || pathT > kRestartAbove) {
        pathT = 0.0f;
        pathResetPending = false;
    }

    if (camera.controlPoints.size() <= 3) {
        camera.turnStep = deltaTime * kTurnDegreesPerSecond * kDegreesToRadians;
        return;
    }

    if (pathT >= 0.0f && pathT <= 1.0f) {
        const std::vector<glm::vec3>& p = camera.controlPoints;
        evaluateSegment(camera, p[0], p[1], p[2], p[3], pathT);
        pathT += deltaTime * kSegmentSpeed;
    } else {
        // The segment is finished: the next frame starts the next one at the
        // end point of this one.
        pathT = 0.0f;
        dropSegment(camera);
    }
}
