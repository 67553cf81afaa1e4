#include "render/ModelPrefetch.h"

#include <future>
#include <map>
#include <mutex>

namespace {

using Imported = std::map<std::string, ImportedModel>;

std::mutex guard;
std::future<Imported> pending;
Imported ready;

}  // namespace

void prefetchModels(const std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> lock(guard);
    if (pending.valid()) return;
    pending = std::async(std::launch::async, [paths] {
        Imported imported;
        for (const std::string& path : paths) imported[path] = importModel(path, false);
        return imported;
    });
}

ImportedModel takePrefetchedModel(const std::string& path, bool forceUpNormals) {
    ImportedModel model;
    {
        std::lock_guard<std::mutex> lock(guard);
        if (pending.valid())
            for (auto& entry : pending.get()) ready[entry.first] = std::move(entry.second);
        const auto found = ready.find(path);
        if (found == ready.end()) return importModel(path, forceUpNormals);
        model = std::move(found->second);
        ready.erase(found);
    }
    // Read ahead with the file's own normals; the switch replaces them all.
    if (forceUpNormals)
        for (ImportedMesh& mesh : model.meshes)
            for (Vertex& v : mesh.vertices) v.normal = glm::vec3(0.0f, 1.0f, 0.0f);
    return model;
}

void dropPrefetchedModels() {
    std::lock_guard<std::mutex> lock(guard);
    if (pending.valid()) pending.get();
    ready.clear();
}
