#include "camera/Flight.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace assetgen::flight {

namespace {

constexpr int kSamplesPerSegment = 2000;
constexpr float kGroundClearance = 1.0f;
constexpr float kWaterClearance = 0.5f;

std::string describe(const char* what, int segment, float t, glm::vec3 p) {
    char text[160];
    std::snprintf(text, sizeof text, "segment %d at t %.3f (%.1f, %.1f, %.1f): %s", segment, t, p.x,
                  p.y, p.z, what);
    return text;
}

// Keep-out volumes, margins included: upright cylinders and boxes.
struct Cylinder {
    const char* name;
    glm::vec2 centre;
    float radius, bottom, top;  // bottom and top above the ground at the centre
};

struct Box {
    const char* name;
    glm::vec3 min, max;
};

float cylinderDistance(const Cylinder& c, float ground, glm::vec3 p) {
    const float across = glm::length(glm::vec2(p.x, p.z) - c.centre) - c.radius;
    const float along = std::max(ground + c.bottom - p.y, p.y - ground - c.top);
    if (across <= 0.0f && along <= 0.0f) return std::max(across, along);
    return glm::length(glm::vec2(std::max(across, 0.0f), std::max(along, 0.0f)));
}

float boxDistance(const Box& b, glm::vec3 p) {
    const glm::vec3 outside = glm::max(b.min - p, p - b.max);
    const float inside = std::max({outside.x, outside.y, outside.z});
    if (inside <= 0.0f) return inside;
    return glm::length(glm::max(outside, glm::vec3(0.0f)));
}

std::vector<Cylinder> cylinders() {
    std::vector<Cylinder> list;
    // Trees: about 40 high with crowns some 12 wide around the trunk.
    for (const glm::vec2 tree : land::kTrees) list.push_back({"tree", tree, 14.0f, -1.0f, 45.0f});
    list.push_back({"street lamp", land::kLamp, 6.5f, -1.0f, 20.0f});
    list.push_back({"table and chairs", land::kTableCentre, 10.0f, -1.0f, 11.0f});
    list.push_back({"vase and flower", {1.0f, 1.5f}, 2.5f, -1.0f, 14.0f});
    list.push_back({"steam", {-1.0f, -0.8f}, 1.5f, -1.0f, 10.5f});
    list.push_back({"steam", {-2.3f, 6.3f}, 1.5f, -1.0f, 10.5f});
    for (const glm::vec2 patch : land::kGrassPatches)
        list.push_back({"grass", patch, 14.5f, -1.0f, 2.5f});
    return list;
}

const std::vector<Box> kBoxes{
    {"jetty", {51.0f, -7.0f, 5.0f}, {99.0f, 2.5f, 15.0f}},
    {"boat", {95.0f, -5.0f, -8.0f}, {115.0f, 3.0f, 28.0f}},
};

}  // namespace

std::vector<glm::vec3> controlPoints(const std::vector<Joint>& joints) {
    std::vector<glm::vec3> points;
    for (size_t k = 0; k < joints.size(); ++k) {
        const Joint& j = joints[k];
        const glm::vec3 heading = glm::normalize(j.heading);
        if (k > 0) points.push_back(j.position - j.handleIn * heading);
        points.push_back(j.position);
        if (k + 1 < joints.size()) points.push_back(j.position + j.handleOut * heading);
    }
    return points;
}

glm::vec3 bezier(const glm::vec3* p, float t) {
    const float u = 1.0f - t;
    return u * u * u * p[0] + 3 * t * u * u * p[1] + 3 * t * t * u * p[2] + t * t * t * p[3];
}

glm::vec3 bezierTangent(const glm::vec3* p, float t) {
    const float u = 1.0f - t;
    return 3 * u * u * (p[1] - p[0]) + 6 * t * u * (p[2] - p[1]) + 3 * t * t * (p[3] - p[2]);
}

namespace {

int segmentAt(const std::vector<glm::vec3>& points, float seconds, float& t) {
    const int segments = int(points.size() - 1) / 3;
    const int k = std::clamp(int(seconds / kSegmentSeconds), 0, segments - 1);
    t = std::clamp(seconds / kSegmentSeconds - k, 0.0f, 1.0f);
    return k;
}

}  // namespace

glm::vec3 positionAt(const std::vector<glm::vec3>& points, float seconds) {
    float t;
    const int k = segmentAt(points, seconds, t);
    return bezier(&points[3 * k], t);
}

glm::vec3 headingAt(const std::vector<glm::vec3>& points, float seconds) {
    float t;
    const int k = segmentAt(points, seconds, t);
    return glm::normalize(bezierTangent(&points[3 * k], t));
}

Clearance objectClearance(glm::vec3 p, const land::HeightGrid& ground) {
    Clearance best{1e9f, ""};
    for (const Cylinder& c : cylinders()) {
        const float d = cylinderDistance(c, land::surfaceHeight(ground, c.centre.x, c.centre.y), p);
        if (d < best.distance) best = {d, c.name};
    }
    for (const Box& b : kBoxes) {
        const float d = boxDistance(b, p);
        if (d < best.distance) best = {d, b.name};
    }
    return best;
}

std::vector<std::string> flightProblems(const std::vector<glm::vec3>& points,
                                        const land::HeightGrid& ground) {
    std::vector<std::string> problems;
    if (points.size() < 4 || (points.size() - 1) % 3 != 0) {
        problems.push_back("the points do not make whole segments");
        return problems;
    }
    const int segments = int(points.size() - 1) / 3;
    for (int k = 0; k < segments; ++k) {
        const glm::vec3* p = &points[3 * k];
        if (p[1] == p[0] || p[2] == p[3])
            problems.push_back(describe("handle on its end point", k, 0, p[0]));
        if (k > 0) {
            const glm::vec3 before = glm::normalize(p[0] - p[-1]),
                            after = glm::normalize(p[1] - p[0]);
            if (glm::dot(before, after) < 0.9999f)
                problems.push_back(describe("handles not in line", k, 0, p[0]));
        }
        float length = 0.0f;
        glm::vec3 last = p[0];
        bool reported = false;
        for (int i = 0; i <= kSamplesPerSegment; ++i) {
            const float t = float(i) / kSamplesPerSegment;
            const glm::vec3 q = bezier(p, t);
            length += glm::length(q - last);
            last = q;
            if (reported) continue;
            if (q.y < land::surfaceHeight(ground, q.x, q.z) + kGroundClearance) {
                problems.push_back(describe("too close to the ground", k, t, q));
                reported = true;
            } else if (q.y < land::kWaterLevel + kWaterClearance) {
                problems.push_back(describe("too close to the water", k, t, q));
                reported = true;
            } else if (const Clearance c = objectClearance(q, ground); c.distance < 0.0f) {
                problems.push_back(describe(("inside " + c.obstacle).c_str(), k, t, q));
                reported = true;
            }
        }
        if (length < 20.0f || length > 150.0f) {
            char what[64];
            std::snprintf(what, sizeof what, "length %.1f outside 20..150", length);
            problems.push_back(describe(what, k, 0, p[0]));
        }
    }
    return problems;
}

}  // namespace assetgen::flight
