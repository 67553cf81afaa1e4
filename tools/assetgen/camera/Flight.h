#pragma once
// The camera's flight: a chain of cubic Bezier segments, each flown in 12.5
// seconds, described by the joints between them. At a joint the camera passes
// a point heading one way; the handles on both sides lie along that heading,
// so the camera turns smoothly through it.

#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "lib/Land.h"

namespace assetgen::flight {

constexpr float kSegmentSeconds = 12.5f;

struct Joint {
    glm::vec3 position;
    glm::vec3 heading;  // any length: only its direction counts
    float handleIn;     // distance to the handle before the joint
    float handleOut;    // distance to the handle after it
};

// Control points: joint, handle, handle, joint, ... (3 per segment, plus one).
std::vector<glm::vec3> controlPoints(const std::vector<Joint>& joints);

glm::vec3 bezier(const glm::vec3* p, float t);
glm::vec3 bezierTangent(const glm::vec3* p, float t);

// Where the camera is, and where it looks, a number of seconds into the flight.
glm::vec3 positionAt(const std::vector<glm::vec3>& points, float seconds);
glm::vec3 headingAt(const std::vector<glm::vec3>& points, float seconds);

// Everything wrong with a flight: handles on the wrong side, too short or too
// long segments, the camera too close to the ground, the water or an object.
// Empty when the flight is fine.
std::vector<std::string> flightProblems(const std::vector<glm::vec3>& points,
                                        const land::HeightGrid& ground);

// How close a point comes to the objects of the scene: the distance to the
// nearest obstacle's keep-out volume (negative inside one), and its name.
struct Clearance {
    float distance;
    std::string obstacle;
};
Clearance objectClearance(glm::vec3 p, const land::HeightGrid& ground);

}  // namespace assetgen::flight
