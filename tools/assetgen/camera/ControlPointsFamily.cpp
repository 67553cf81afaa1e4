// The camera's flight through the day, written as textures/controlpoints.txt:
// "x y z" a line, 37 points, 12 segments of 12.5 seconds each.

#include <cstdio>
#include <fstream>
#include <glm/glm.hpp>
#include <stdexcept>

#include "camera/Flight.h"
#include "camera/FlightJoints.h"
#include "lib/Family.h"

using namespace assetgen;

ASSETGEN_FAMILY(controlpoints) {
    // The file keeps three decimals; the checks see the points as written.
    std::vector<glm::vec3> points = flight::controlPoints(flight::dayJoints());
    for (glm::vec3& p : points) p = glm::round(p * 1000.0f) / 1000.0f;
    const std::vector<std::string> problems =
        flight::flightProblems(points, land::sampleHeightGrid());
    if (!problems.empty()) throw std::runtime_error("camera flight: " + problems.front());

    const auto file = prepareFile(root / "textures/controlpoints.txt");
    std::ofstream out(file, std::ios::binary);
    for (const glm::vec3& p : points) {
        char line[64];
        std::snprintf(line, sizeof line, "%.3f %.3f %.3f\n", p.x, p.y, p.z);
        out << line;
    }
    if (!out) throw std::runtime_error("cannot write " + file.string());
}
