#include "lib/ObjWriter.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "lib/Family.h"

namespace assetgen {

void ObjModel::add(const std::string& part, const std::string& material, const Mesh& mesh) {
    for (ModelPart& p : parts) {
        if (p.name == part) {
            if (p.material != material)
                throw std::invalid_argument("part " + part + " already has another material");
            p.mesh.append(mesh);
            return;
        }
    }
    parts.push_back({part, material, mesh});
}

size_t ObjModel::triangleCount() const {
    size_t n = 0;
    for (const ModelPart& p : parts) n += p.mesh.triangleCount();
    return n;
}

namespace {

void appendf(std::string& out, const char* format, double a, double b, double c) {
    char line[96];
    const int n = std::snprintf(line, sizeof line, format, a, b, c);
    out.append(line, size_t(n));
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(prepareFile(file), std::ios::binary);
    out.write(text.data(), std::streamsize(text.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

bool finite(const Mesh& mesh) {
    for (const glm::vec3& p : mesh.positions)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    for (const glm::vec3& n : mesh.normals)
        if (!std::isfinite(n.x) || !std::isfinite(n.y) || !std::isfinite(n.z)) return false;
    for (const glm::vec2& t : mesh.uvs)
        if (!std::isfinite(t.x) || !std::isfinite(t.y)) return false;
    return true;
}

}  // namespace

void writeObj(const ObjModel& model, const std::filesystem::path& file) {
    const std::string stem = file.stem().string();
    std::string mtl;
    for (const Material& m : model.materials) {
        mtl += "newmtl " + m.name + "\n";
        appendf(mtl, "Ka %.3f %.3f %.3f\n", 0.1, 0.1, 0.1);
        appendf(mtl, "Kd %.3f %.3f %.3f\n", m.diffuse.x, m.diffuse.y, m.diffuse.z);
        appendf(mtl, "Ks %.3f %.3f %.3f\n", m.specular, m.specular, m.specular);
        mtl += "Ns 16\nd 1\nillum 2\n";
        mtl += "map_Kd " + m.diffuseMap + "\nmap_Ks " + m.specularMap + "\n\n";
    }

    std::string obj = "mtllib " + stem + ".mtl\n";
    size_t base = 1;
    for (const ModelPart& part : model.parts) {
        bool known = false;
        for (const Material& m : model.materials) known = known || m.name == part.material;
        if (!known)
            throw std::invalid_argument("part " + part.name + ": no material " + part.material);
        const Mesh& mesh = part.mesh;
        if (!finite(mesh))
            throw std::runtime_error("part " + part.name + " has a coordinate that is not finite");
        obj += "o " + part.name + "\nusemtl " + part.material + "\n";
        for (const glm::vec3& p : mesh.positions) appendf(obj, "v %.4f %.4f %.4f\n", p.x, p.y, p.z);
        for (const glm::vec2& t : mesh.uvs) {
            char line[64];
            obj.append(line, size_t(std::snprintf(line, sizeof line, "vt %.5f %.5f\n", t.x, t.y)));
        }
        for (const glm::vec3& n : mesh.normals) appendf(obj, "vn %.5f %.5f %.5f\n", n.x, n.y, n.z);
        for (const glm::uvec3& t : mesh.triangles) {
            char line[96];
            const size_t a = t.x + base, b = t.y + base, c = t.z + base;
            const int n =
                std::snprintf(line, sizeof line, "f %zu/%zu/%zu %zu/%zu/%zu %zu/%zu/%zu\n", a, a, a,
                              b, b, b, c, c, c);
            obj.append(line, size_t(n));
        }
        base += mesh.positions.size();
    }
    writeText(file, obj);
    writeText(file.parent_path() / (stem + ".mtl"), mtl);
}

}  // namespace assetgen
