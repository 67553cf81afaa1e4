#include "render/ModelPrefetch.h"

#include <assimp/postprocess.h>

#include <future>
#include <map>
#include <mutex>

namespace {

using Parsed = std::map<std::string, std::unique_ptr<Assimp::Importer>>;

std::mutex guard;
std::future<Parsed> pending;
Parsed ready;

}  // namespace

unsigned int modelImportFlags() {
    // No normal generation, vertex joining or pre-transformation: the files
    // carry their own normals and the entities do all the placing.
    return aiProcess_Triangulate | aiProcess_FlipUVs;
}

void prefetchModels(const std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> lock(guard);
    if (pending.valid()) return;
    pending = std::async(std::launch::async, [paths] {
        Parsed parsed;
        for (const std::string& path : paths) {
            auto importer = std::make_unique<Assimp::Importer>();
            importer->ReadFile(path, modelImportFlags());
            parsed[path] = std::move(importer);
        }
        return parsed;
    });
}

std::unique_ptr<Assimp::Importer> takePrefetchedModel(const std::string& path) {
    std::lock_guard<std::mutex> lock(guard);
    if (pending.valid()) {
        Parsed parsed = pending.get();
        for (auto& entry : parsed) ready[entry.first] = std::move(entry.second);
    }
    const auto found = ready.find(path);
    if (found == ready.end()) return nullptr;
    std::unique_ptr<Assimp::Importer> importer = std::move(found->second);
    ready.erase(found);
    return importer;
}

void dropPrefetchedModels() {
    std::lock_guard<std::mutex> lock(guard);
    if (pending.valid()) pending.get();
    ready.clear();
}
