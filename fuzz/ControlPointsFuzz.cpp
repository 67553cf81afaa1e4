// The camera path's control-point text.
#include <cmath>
#include <sstream>
#include <string>

#include "FuzzTarget.h"
#include "camera/CameraPath.h"

int fuzzControlPoints(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const std::vector<glm::vec3> points = parseControlPoints(in);
    // Every point read is finite: the reader stops at the first token that
    // is not, so nothing can turn the camera's path into NaNs.
    for (const glm::vec3& p : points)
        FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    // Each number takes at least one byte and one separator, bar the last.
    FUZZ_CHECK(points.size() * 3 <= size / 2 + 1);
    return 0;
}

MD_FUZZ_EXPORT(fuzzControlPoints)
