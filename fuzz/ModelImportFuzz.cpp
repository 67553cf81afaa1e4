// A model file read the way the program reads one: from disk, as Wavefront
// OBJ. (Assimp's reading from memory differs: it crashes on inputs that the
// file path reads safely, see fuzz/corpus/model_import/crash-memory-only.obj.)
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "FuzzTarget.h"
#include "render/ModelImport.h"

namespace {

std::string scratchFile() {
    const auto dir =
        std::filesystem::temp_directory_path() / ("md_fuzz_model_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / "model.obj").string();
}

}  // namespace

int fuzzModelImport(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const std::string path = scratchFile();
    // The first byte picks the vegetation switch, the rest is the file.
    const bool forceUpNormals = data[0] & 1;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    const ImportedModel model = importModel(path, forceUpNormals);
    if (!model.ok) FUZZ_CHECK(model.meshes.empty());
    for (const ImportedMesh& mesh : model.meshes) {
        // Whole triangles only, and every index names a vertex of the mesh:
        // what the GL draw call will read.
        FUZZ_CHECK(mesh.indices.size() % 3 == 0);
        for (unsigned int index : mesh.indices) FUZZ_CHECK(index < mesh.vertices.size());
        if (forceUpNormals)
            for (const Vertex& v : mesh.vertices) FUZZ_CHECK(v.normal == glm::vec3(0, 1, 0));
    }
    return 0;
}

MD_FUZZ_EXPORT(fuzzModelImport)
