// A model file read the way the program reads one, as Wavefront OBJ.
#include "FuzzTarget.h"
#include "render/ModelImport.h"

int fuzzModelImport(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte picks the vegetation switch, the rest is the file.
    const bool forceUpNormals = data[0] & 1;
    const ImportedModel model = importModelFromMemory(data + 1, size - 1, "obj", forceUpNormals);
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
