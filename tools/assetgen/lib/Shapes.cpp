#include "lib/Shapes.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace assetgen {

namespace {

constexpr float kTwoPi = 6.28318531f;
constexpr float kDefaultCrease = 60.0f;

bool degenerate(const Mesh& m, uint32_t a, uint32_t b, uint32_t c) {
    const glm::vec3 n =
        glm::cross(m.positions[b] - m.positions[a], m.positions[c] - m.positions[a]);
    return glm::dot(n, n) < 1e-14f;
}

void addIfArea(Mesh& m, uint32_t a, uint32_t b, uint32_t c) {
    if (!degenerate(m, a, b, c)) m.addTriangle(a, b, c);
}

float cross2(glm::vec2 a, glm::vec2 b) {
    return a.x * b.y - a.y * b.x;
}

float signedArea(const std::vector<glm::vec2>& poly) {
    float area = 0.0f;
    for (size_t i = 0; i < poly.size(); ++i) area += cross2(poly[i], poly[(i + 1) % poly.size()]);
    return 0.5f * area;
}

bool insideTriangle(glm::vec2 p, glm::vec2 a, glm::vec2 b, glm::vec2 c) {
    return cross2(b - a, p - a) > 0.0f && cross2(c - b, p - b) > 0.0f &&
           cross2(a - c, p - c) > 0.0f;
}

}  // namespace

Mesh loft(const std::vector<std::vector<glm::vec3>>& rings, const std::vector<float>& us,
          const std::vector<float>& vs) {
    Mesh m;
    if (rings.empty()) return m;
    const size_t n = rings[0].size();
    for (size_t i = 0; i < rings.size(); ++i)
        for (size_t j = 0; j < n; ++j) m.addVertex(rings[i][j], glm::vec2(us[j], vs[i]));
    for (size_t i = 0; i + 1 < rings.size(); ++i) {
        for (size_t j = 0; j + 1 < n; ++j) {
            const uint32_t a = uint32_t(i * n + j), b = a + 1;
            const uint32_t d = uint32_t((i + 1) * n + j), c = d + 1;
            addIfArea(m, a, b, c);
            addIfArea(m, a, c, d);
        }
    }
    return m;
}

Mesh surface(int nu, int nv, const std::function<glm::vec3(float, float)>& f, glm::vec2 uvScale) {
    std::vector<std::vector<glm::vec3>> rings(size_t(nv) + 1);
    std::vector<float> us(size_t(nu) + 1), vs(size_t(nv) + 1);
    for (int j = 0; j <= nu; ++j) us[j] = float(j) / nu * uvScale.x;
    for (int i = 0; i <= nv; ++i) {
        vs[i] = float(i) / nv * uvScale.y;
        for (int j = 0; j <= nu; ++j) rings[i].push_back(f(float(j) / nu, float(i) / nv));
    }
    return loft(rings, us, vs).smoothNormals(kDefaultCrease);
}

Mesh lathe(const std::vector<glm::vec2>& profile, int segments, float uRepeat, float vScale) {
    std::vector<std::vector<glm::vec3>> rings;
    std::vector<float> us, vs;
    for (int j = 0; j <= segments; ++j) us.push_back(float(j) / segments * uRepeat);
    float arc = 0.0f;
    for (size_t k = 0; k < profile.size(); ++k) {
        if (k > 0) arc += glm::length(profile[k] - profile[k - 1]);
        vs.push_back(arc * vScale);
        std::vector<glm::vec3> ring;
        for (int j = 0; j <= segments; ++j) {
            const float a = kTwoPi * float(j % segments) / segments;
            ring.emplace_back(profile[k].x * std::cos(a), profile[k].y,
                              -profile[k].x * std::sin(a));
        }
        rings.push_back(std::move(ring));
    }
    return loft(rings, us, vs).smoothNormals(kDefaultCrease);
}

Mesh cylinder(float radius, float y0, float y1, int segments, float uRepeat, float vScale) {
    return lathe({{0.0f, y0}, {radius, y0}, {radius, y1}, {0.0f, y1}}, segments, uRepeat, vScale);
}

Mesh uvSphere(float radius, int segments, int rings) {
    std::vector<glm::vec2> profile;
    for (int i = 0; i <= rings; ++i) {
        const float a = -1.57079633f + 3.14159265f * float(i) / rings;
        profile.emplace_back(i == 0 || i == rings ? 0.0f : radius * std::cos(a),
                             radius * std::sin(a));
    }
    return lathe(profile, segments, 1.0f, 1.0f / (3.14159265f * radius));
}

Mesh superellipsoid(glm::vec3 h, float e, int segments, int rings) {
    auto spow = [e](float x) { return std::copysign(std::pow(std::abs(x), e), x); };
    return surface(segments, rings, [&](float u, float v) {
        const float phi = kTwoPi * u, theta = 3.14159265f * (v - 0.5f);
        const float ring = v <= 0.0f || v >= 1.0f ? 0.0f : spow(std::cos(theta));
        return glm::vec3(h.x * ring * spow(std::cos(phi)), h.y * spow(std::sin(theta)),
                         -h.z * ring * spow(std::sin(phi)));
    });
}

Mesh quad(glm::vec3 origin, glm::vec3 uEdge, glm::vec3 vEdge, glm::vec2 uv0, glm::vec2 uv1) {
    Mesh m;
    const glm::vec3 n = glm::normalize(glm::cross(uEdge, vEdge));
    const uint32_t a = m.addVertex(origin, uv0, n);
    const uint32_t b = m.addVertex(origin + uEdge, {uv1.x, uv0.y}, n);
    const uint32_t c = m.addVertex(origin + uEdge + vEdge, uv1, n);
    const uint32_t d = m.addVertex(origin + vEdge, {uv0.x, uv1.y}, n);
    m.addQuad(a, b, c, d);
    return m;
}

Mesh box(glm::vec3 lo, glm::vec3 hi, float uvScale) {
    const glm::vec3 s = hi - lo;
    Mesh m;
    auto face = [&](glm::vec3 origin, glm::vec3 u, glm::vec3 v) {
        m.append(quad(origin, u, v, glm::vec2(0.0f),
                      glm::vec2(glm::length(u), glm::length(v)) * uvScale));
    };
    face({hi.x, lo.y, hi.z}, {0, 0, -s.z}, {0, s.y, 0});
    face({lo.x, lo.y, lo.z}, {0, 0, s.z}, {0, s.y, 0});
    face({lo.x, lo.y, hi.z}, {s.x, 0, 0}, {0, s.y, 0});
    face({hi.x, lo.y, lo.z}, {-s.x, 0, 0}, {0, s.y, 0});
    face({lo.x, hi.y, hi.z}, {s.x, 0, 0}, {0, 0, -s.z});
    face({lo.x, lo.y, lo.z}, {s.x, 0, 0}, {0, 0, s.z});
    return m;
}

std::vector<glm::uvec3> triangulate(const std::vector<glm::vec2>& polygon) {
    std::vector<glm::uvec3> out;
    if (polygon.size() < 3) return out;
    std::vector<uint32_t> left;
    for (uint32_t i = 0; i < polygon.size(); ++i) left.push_back(i);
    if (signedArea(polygon) < 0.0f) std::reverse(left.begin(), left.end());
    while (left.size() > 3) {
        bool clipped = false;
        for (size_t k = 0; k < left.size() && !clipped; ++k) {
            const uint32_t p = left[(k + left.size() - 1) % left.size()], c = left[k],
                           n = left[(k + 1) % left.size()];
            const glm::vec2 a = polygon[p], b = polygon[c], d = polygon[n];
            if (cross2(b - a, d - b) <= 0.0f) continue;  // reflex corner
            bool empty = true;
            for (uint32_t q : left)
                if (q != p && q != c && q != n && insideTriangle(polygon[q], a, b, d))
                    empty = false;
            if (!empty) continue;
            out.emplace_back(p, c, n);
            left.erase(left.begin() + long(k));
            clipped = true;
        }
        if (!clipped) break;  // not a simple polygon: fan out what is left
    }
    for (size_t k = 1; k + 1 < left.size(); ++k) out.emplace_back(left[0], left[k], left[k + 1]);
    return out;
}

Mesh extrude(const std::vector<glm::vec2>& polygon, float z0, float z1, float uvScale) {
    std::vector<glm::vec2> ccw = polygon;
    if (signedArea(ccw) < 0.0f) std::reverse(ccw.begin(), ccw.end());
    Mesh m;
    const std::vector<glm::uvec3> tris = triangulate(ccw);
    for (int side = 0; side < 2; ++side) {
        const float z = side == 0 ? z1 : z0;
        const uint32_t base = uint32_t(m.vertexCount());
        for (glm::vec2 p : ccw) m.addVertex({p, z}, p * uvScale, {0, 0, side == 0 ? 1 : -1});
        for (glm::uvec3 t : tris) {
            if (side == 0)
                m.addTriangle(base + t.x, base + t.y, base + t.z);
            else
                m.addTriangle(base + t.x, base + t.z, base + t.y);
        }
    }
    float run = 0.0f;
    for (size_t k = 0; k < ccw.size(); ++k) {
        const glm::vec2 a = ccw[k], b = ccw[(k + 1) % ccw.size()];
        const float len = glm::length(b - a);
        const uint32_t i = m.addVertex({a, z0}, glm::vec2(run, 0.0f) * uvScale);
        m.addVertex({b, z0}, glm::vec2(run + len, 0.0f) * uvScale);
        m.addVertex({b, z1}, glm::vec2(run + len, z1 - z0) * uvScale);
        m.addVertex({a, z1}, glm::vec2(run, z1 - z0) * uvScale);
        m.addQuad(i, i + 1, i + 2, i + 3);
        run += len;
    }
    return m.smoothNormals(kDefaultCrease);
}

Mesh tube(const std::vector<glm::vec3>& path, const std::vector<float>& radii, int segments,
          bool capStart, bool capEnd, float uRepeat, float vScale) {
    const size_t count = path.size();
    Mesh m;
    if (count < 2) return m;
    std::vector<glm::vec3> tangents(count);
    for (size_t i = 0; i < count; ++i)
        tangents[i] = glm::normalize(path[std::min(i + 1, count - 1)] - path[i > 0 ? i - 1 : 0]);
    // A start normal least aligned with the first tangent, then carried along.
    glm::vec3 normal = std::abs(tangents[0].y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    std::vector<std::vector<glm::vec3>> rings;
    std::vector<float> us, vs;
    for (int j = 0; j <= segments; ++j) us.push_back(float(j) / segments * uRepeat);
    float length = 0.0f;
    std::vector<glm::vec3> normals, binormals;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) length += glm::length(path[i] - path[i - 1]);
        vs.push_back(length * vScale);
        normal = glm::normalize(normal - tangents[i] * glm::dot(normal, tangents[i]));
        const glm::vec3 binormal = glm::cross(tangents[i], normal);
        std::vector<glm::vec3> ring;
        for (int j = 0; j <= segments; ++j) {
            const float a = kTwoPi * float(j % segments) / segments;
            ring.push_back(path[i] + radii[i] * (std::cos(a) * normal + std::sin(a) * binormal));
        }
        rings.push_back(std::move(ring));
    }
    m = loft(rings, us, vs);
    auto cap = [&](size_t i, bool atEnd) {
        if (radii[i] <= 0.0f) return;
        const uint32_t centre = m.addVertex(path[i], glm::vec2(0.5f));
        const uint32_t first = uint32_t(m.vertexCount());
        for (int j = 0; j < segments; ++j) {
            const float a = kTwoPi * float(j) / segments;
            m.addVertex(rings[i][j],
                        glm::vec2(0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a)));
        }
        for (int j = 0; j < segments; ++j) {
            const uint32_t p = first + uint32_t(j), q = first + uint32_t((j + 1) % segments);
            if (atEnd)
                m.addTriangle(centre, p, q);
            else
                m.addTriangle(centre, q, p);
        }
    };
    if (capStart) cap(0, false);
    if (capEnd) cap(count - 1, true);
    return m.smoothNormals(kDefaultCrease);
}

namespace {

template <typename V>
std::vector<V> catmullRom(const std::vector<V>& p, int steps) {
    std::vector<V> out;
    if (p.size() < 2) return p;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const V p0 = i > 0 ? p[i - 1] : p[i] * 2.0f - p[i + 1];
        const V p3 = i + 2 < p.size() ? p[i + 2] : p[i + 1] * 2.0f - p[i];
        const V p1 = p[i], p2 = p[i + 1];
        for (int s = 0; s < steps; ++s) {
            const float t = float(s) / steps, t2 = t * t, t3 = t2 * t;
            out.push_back(0.5f * (2.0f * p1 + (p2 - p0) * t +
                                  (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t2 +
                                  (3.0f * p1 - p0 - 3.0f * p2 + p3) * t3));
        }
    }
    out.push_back(p.back());
    return out;
}

}  // namespace

std::vector<glm::vec2> smoothCurve(const std::vector<glm::vec2>& points, int steps) {
    return catmullRom(points, steps);
}

std::vector<glm::vec3> smoothCurve(const std::vector<glm::vec3>& points, int steps) {
    return catmullRom(points, steps);
}

Mesh twoSided(const Mesh& sheet) {
    Mesh back = sheet;
    back.flipWinding();
    Mesh both = sheet;
    return both.append(back);
}

glm::mat4 placeAt(glm::vec3 position, float yawDegrees, glm::vec3 scale) {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), position);
    m = glm::rotate(m, glm::radians(yawDegrees), glm::vec3(0, 1, 0));
    return glm::scale(m, scale);
}

}  // namespace assetgen
