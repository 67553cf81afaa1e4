#include "lib/Mesh.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <unordered_map>

namespace assetgen {

namespace {

// Positions closer than this are treated as one point when normals are shared.
constexpr float kWeldStep = 1e-4f;

struct GridKey {
    int64_t x, y, z;
    bool operator==(const GridKey& o) const { return x == o.x && y == o.y && z == o.z; }
};

struct GridKeyHash {
    size_t operator()(const GridKey& k) const {
        return size_t(k.x * 73856093ll) ^ size_t(k.y * 19349663ll) ^ size_t(k.z * 83492791ll);
    }
};

GridKey gridKey(glm::vec3 p, float step) {
    return {std::llround(p.x / step), std::llround(p.y / step), std::llround(p.z / step)};
}

}  // namespace

uint32_t Mesh::addVertex(glm::vec3 p, glm::vec2 uv, glm::vec3 n) {
    positions.push_back(p);
    uvs.push_back(uv);
    normals.push_back(n);
    return uint32_t(positions.size() - 1);
}

void Mesh::addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

Mesh& Mesh::append(const Mesh& other) {
    const uint32_t base = uint32_t(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (const glm::uvec3& t : other.triangles) triangles.push_back(t + glm::uvec3(base));
    return *this;
}

Mesh& Mesh::transform(const glm::mat4& m) {
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(m)));
    for (glm::vec3& p : positions) p = glm::vec3(m * glm::vec4(p, 1.0f));
    for (glm::vec3& n : normals) {
        const glm::vec3 t = normalMatrix * n;
        const float len = glm::length(t);
        n = len > 0.0f ? t / len : glm::vec3(0.0f, 1.0f, 0.0f);
    }
    if (glm::determinant(glm::mat3(m)) < 0.0f)
        for (glm::uvec3& t : triangles) std::swap(t.y, t.z);
    return *this;
}

Mesh& Mesh::translate(glm::vec3 t) {
    for (glm::vec3& p : positions) p += t;
    return *this;
}

Mesh& Mesh::flipWinding() {
    for (glm::uvec3& t : triangles) std::swap(t.y, t.z);
    for (glm::vec3& n : normals) n = -n;
    return *this;
}

Mesh& Mesh::scaleUv(glm::vec2 s, glm::vec2 offset) {
    for (glm::vec2& uv : uvs) uv = uv * s + offset;
    return *this;
}

Mesh& Mesh::projectUv(glm::vec3 uAxis, glm::vec3 vAxis, glm::vec2 offset) {
    for (size_t i = 0; i < positions.size(); ++i)
        uvs[i] = glm::vec2(glm::dot(positions[i], uAxis), glm::dot(positions[i], vAxis)) + offset;
    return *this;
}

Mesh& Mesh::setNormals(glm::vec3 n) {
    std::fill(normals.begin(), normals.end(), glm::normalize(n));
    return *this;
}

Mesh& Mesh::smoothNormals(float creaseDegrees) {
    const size_t count = triangles.size();
    // Each face counts with the angle it spans at the corner, so the result
    // does not depend on how the faces were split into triangles.
    std::vector<glm::vec3> unit(count);
    std::vector<float> cornerAngle(count * 3, 0.0f);
    for (size_t t = 0; t < count; ++t) {
        const glm::vec3 a = positions[triangles[t].x];
        const glm::vec3 n =
            glm::cross(positions[triangles[t].y] - a, positions[triangles[t].z] - a);
        const float len = glm::length(n);
        unit[t] = len > 0.0f ? n / len : glm::vec3(0.0f);
        for (int k = 0; k < 3; ++k) {
            const glm::vec3 p = positions[triangles[t][k]];
            const glm::vec3 e1 = positions[triangles[t][(k + 1) % 3]] - p;
            const glm::vec3 e2 = positions[triangles[t][(k + 2) % 3]] - p;
            const float l1 = glm::length(e1), l2 = glm::length(e2);
            if (l1 > 0.0f && l2 > 0.0f)
                cornerAngle[t * 3 + k] =
                    std::acos(std::clamp(glm::dot(e1, e2) / (l1 * l2), -1.0f, 1.0f));
        }
    }
    // Every triangle corner, grouped by the point it sits on.
    std::unordered_map<GridKey, std::vector<uint32_t>, GridKeyHash> cornersAt;
    for (size_t t = 0; t < count; ++t)
        for (int k = 0; k < 3; ++k)
            cornersAt[gridKey(positions[triangles[t][k]], kWeldStep)].push_back(
                uint32_t(t * 3 + k));

    const float cosCrease = creaseDegrees <= 0.0f ? 0.9999f : std::cos(glm::radians(creaseDegrees));
    Mesh out;
    std::map<std::tuple<uint32_t, int64_t, int64_t, int64_t>, uint32_t> made;
    out.triangles.resize(count);
    for (size_t t = 0; t < count; ++t) {
        for (int k = 0; k < 3; ++k) {
            const uint32_t v = triangles[t][k];
            glm::vec3 sum(0.0f);
            if (unit[t] == glm::vec3(0.0f)) {
                sum = normals[v];
            } else {
                for (uint32_t corner : cornersAt[gridKey(positions[v], kWeldStep)]) {
                    const size_t other = corner / 3;
                    if (glm::dot(unit[t], unit[other]) >= cosCrease)
                        sum += cornerAngle[corner] * unit[other];
                }
            }
            const float len = glm::length(sum);
            const glm::vec3 n = len > 0.0f ? sum / len : glm::vec3(0.0f, 1.0f, 0.0f);
            const GridKey nk = gridKey(n, 1e-4f);
            const auto key = std::make_tuple(v, nk.x, nk.y, nk.z);
            auto found = made.find(key);
            if (found == made.end())
                found = made.emplace(key, out.addVertex(positions[v], uvs[v], n)).first;
            out.triangles[t][k] = found->second;
        }
    }
    *this = std::move(out);
    return *this;
}

glm::vec3 Mesh::boundsMin() const {
    glm::vec3 m(INFINITY);
    for (const glm::vec3& p : positions) m = glm::min(m, p);
    return m;
}

glm::vec3 Mesh::boundsMax() const {
    glm::vec3 m(-INFINITY);
    for (const glm::vec3& p : positions) m = glm::max(m, p);
    return m;
}

double Mesh::signedVolume() const {
    double v = 0.0;
    for (const glm::uvec3& t : triangles) {
        const glm::dvec3 a = positions[t.x], b = positions[t.y], c = positions[t.z];
        v += glm::dot(a, glm::cross(b, c));
    }
    return v / 6.0;
}

}  // namespace assetgen
