#pragma once
// Mesh builders. Every shape comes back with its faces wound counter-clockwise
// seen from outside and with smooth normals (crease 60 degrees) unless stated;
// callers may recompute normals with another crease.

#include <functional>
#include <vector>

#include "lib/Mesh.h"

namespace assetgen {

// Connects rings of equal length: quad (i, j), (i, j+1), (i+1, j+1), (i+1, j).
// The front side is where (P[i][j+1] - P[i][j]) x (P[i+1][j] - P[i][j])
// points. us[j] and vs[i] are the texture coordinates. Zero-area triangles
// (rings shrunk to a point) are left out. Normals are not computed.
Mesh loft(const std::vector<std::vector<glm::vec3>>& rings, const std::vector<float>& us,
          const std::vector<float>& vs);

// A parametric sheet f(u, v), u and v in [0, 1]; the front faces along
// df/du x df/dv. Texture coordinates are (u, v) times uvScale.
Mesh surface(int nu, int nv, const std::function<glm::vec3(float, float)>& f,
             glm::vec2 uvScale = glm::vec2(1.0f));

// Surface of revolution about the y axis. profile holds (radius, y) points;
// walking along it the outside is on the right (e.g. from the bottom centre
// outwards and up the outer wall). A radius of 0 closes the surface there.
// u runs once around (times uRepeat), v is the profile's arc length times vScale.
Mesh lathe(const std::vector<glm::vec2>& profile, int segments, float uRepeat = 1.0f,
           float vScale = 1.0f);

Mesh cylinder(float radius, float y0, float y1, int segments, float uRepeat = 1.0f,
              float vScale = 1.0f);
Mesh uvSphere(float radius, int segments, int rings);

// A rounded box: superellipsoid with these half extents; exponent 1 is an
// ellipsoid, smaller values square it off. Centred at the origin.
Mesh superellipsoid(glm::vec3 halfExtents, float exponent, int segments, int rings);

// Axis-aligned box, one planar-mapped patch per face (uv = length * uvScale).
Mesh box(glm::vec3 lo, glm::vec3 hi, float uvScale = 1.0f);

// A simple polygon in the xy plane (either orientation) extruded from z0 to
// z1 with both ends capped. uv = (x, y) * uvScale on the caps, (edge length,
// z) * uvScale on the sides.
Mesh extrude(const std::vector<glm::vec2>& polygon, float z0, float z1, float uvScale = 1.0f);

// A tube along a path with a radius at every path point, using rotation-free
// frames; closed with flat caps where asked. u goes around, v along the path
// (length * vScale).
Mesh tube(const std::vector<glm::vec3>& path, const std::vector<float>& radii, int segments,
          bool capStart, bool capEnd, float uRepeat = 1.0f, float vScale = 1.0f);

// A flat rectangle at origin spanned by two edges; front faces along uEdge x vEdge.
Mesh quad(glm::vec3 origin, glm::vec3 uEdge, glm::vec3 vEdge, glm::vec2 uv0 = glm::vec2(0.0f),
          glm::vec2 uv1 = glm::vec2(1.0f));

// The sheet plus a reversed copy, so it shows from both sides with culling on.
Mesh twoSided(const Mesh& sheet);

// Ear-clipping triangulation of a simple polygon; triangles come out
// counter-clockwise whatever the polygon's orientation.
std::vector<glm::uvec3> triangulate(const std::vector<glm::vec2>& polygon);

// Catmull-Rom curve through the points, `steps` samples per span, ends included.
std::vector<glm::vec2> smoothCurve(const std::vector<glm::vec2>& points, int steps);
std::vector<glm::vec3> smoothCurve(const std::vector<glm::vec3>& points, int steps);

// Rotation about y by degrees, then translation: the usual placement of a part.
glm::mat4 placeAt(glm::vec3 position, float yawDegrees = 0.0f, glm::vec3 scale = glm::vec3(1.0f));

}  // namespace assetgen
