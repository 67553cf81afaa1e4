#pragma once
// Flies a camera along a chain of cubic Bezier segments whose control points
// come from a text file. Segment k uses points 3k..3k+3; the camera's own
// controlPoints list is consumed from the front (three points per finished
// segment), so the current segment always starts at index 0. With 3 or fewer
// points left the camera turns slowly on the spot instead.

#include <glm/glm.hpp>
#include <iosfwd>
#include <string>
#include <vector>

class Camera;

// The control-point file, relative to the working directory.
extern const char* const controlPointFile;

// Curve parameter of the current segment (0..1) and the flag that makes the
// first updatePath start the segment at 0.
extern float pathT;
extern bool pathResetPending;

// Back to the start-up state: pathT 0 and a reset pending.
void resetPath();

// Reads whitespace-separated decimal numbers, three to a point, up to the end
// or the first token that is not a finite number; a trailing group of one or
// two numbers is dropped.
std::vector<glm::vec3> parseControlPoints(std::istream& in);

// Appends the file's points to camera.controlPoints. A file that cannot be
// opened adds nothing and says nothing.
void readControlPoints(Camera& camera, const std::string& path = controlPointFile);

// The cubic Bezier point and its derivative at t.
glm::vec3 bezierPoint(const glm::vec3& p0, const glm::vec3& p1, const glm::vec3& p2,
                      const glm::vec3& p3, float t);
glm::vec3 bezierTangent(const glm::vec3& p0, const glm::vec3& p1, const glm::vec3& p2,
                        const glm::vec3& p3, float t);

// Puts the camera on the curve at t, looking along the tangent, and builds its
// view. A zero tangent keeps the previous front.
void evaluateSegment(Camera& camera, const glm::vec3& p0, const glm::vec3& p1, const glm::vec3& p2,
                     const glm::vec3& p3, float t);

// Erases the first three control points (only while 4 or more remain).
void dropSegment(Camera& camera);

// One frame of the path, using deltaTime: advance along the current segment,
// move on to the next one, or set the turn step once the points are used up.
void updatePath(Camera& camera);
