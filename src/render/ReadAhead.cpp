#include "render/ReadAhead.h"

#include <algorithm>
#include <condition_variable>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "platform/GlCompat.h"

namespace {

using ImageKey = std::pair<std::string, ImageUse>;

std::mutex guard;
std::condition_variable published;
std::map<std::string, ImportedModel> models;
std::map<ImageKey, PreparedImage> images;
// Queued and not yet published; a taker waits only for these.
std::set<std::string> modelsQueued;
std::set<ImageKey> imagesQueued;
bool stopping = false;

// The worker; its destructor waits for it, so leaving the program while it
// runs (a fatal load error exits from the main thread) ends cleanly.
struct Worker {
    std::future<void> job;
    ~Worker() { stopReadAhead(); }
} worker;

bool stopRequested() {
    std::lock_guard<std::mutex> lock(guard);
    return stopping;
}

void publishImage(const ImageKey& key) {
    PreparedImage prepared = prepareImage(key.first, key.second, kMaxImageSide);
    std::lock_guard<std::mutex> lock(guard);
    images[key] = std::move(prepared);
    imagesQueued.erase(key);
    published.notify_all();
}

void publishModel(const std::string& path) {
    ImportedModel model = importModel(path, false);
    std::vector<ImageKey> textures;
    const std::string directory = modelDirectory(path);
    for (const ImportedMesh& mesh : model.meshes)
        for (const ImportedTexture& texture : mesh.textures) {
            const ImageKey key{directory + "/" + texture.file, ImageUse::ModelTexture};
            if (std::find(textures.begin(), textures.end(), key) == textures.end())
                textures.push_back(key);
        }
    {
        // The textures are queued before the model is handed out, so its
        // taker finds them queued or ready, never missing.
        std::lock_guard<std::mutex> lock(guard);
        for (const ImageKey& key : textures)
            if (!images.count(key)) imagesQueued.insert(key);
        models[path] = std::move(model);
        modelsQueued.erase(path);
        published.notify_all();
    }
    for (const ImageKey& key : textures)
        if (!stopRequested()) publishImage(key);
}

void work(const ReadAheadList& list) {
    for (const std::string& path : list.textures)
        if (!stopRequested()) publishImage({path, ImageUse::Texture});
    for (const std::string& path : list.models)
        if (!stopRequested()) publishModel(path);
    for (const std::string& path : list.cubeFaces)
        if (!stopRequested()) publishImage({path, ImageUse::CubeFace});
    // What a stop left unread is read by its taker.
    std::lock_guard<std::mutex> lock(guard);
    modelsQueued.clear();
    imagesQueued.clear();
    published.notify_all();
}

}  // namespace

PreparedImage prepareImage(const std::string& path, ImageUse use, int maxSide) {
    PreparedImage prepared;
    prepared.image = decodeImageFile(path, use == ImageUse::ModelTexture ? 0 : 3, maxSide);
    const DecodedImage& image = prepared.image;
    // Levels of other sizes would not halve evenly; the driver builds those.
    auto powerOfTwo = [](int side) { return (side & (side - 1)) == 0; };
    if (!image || !powerOfTwo(image.width) || !powerOfTwo(image.height)) return prepared;
    if (use == ImageUse::Texture)
        prepared.byteLevels =
            byteMipLevels(image.pixels.get(), image.width, image.height, image.bufferChannels);
    else if (use == ImageUse::ModelTexture)
        prepared.halfLevels =
            halfMipLevels(image.pixels.get(), image.width, image.height, image.bufferChannels);
    return prepared;
}

void startReadAhead(const ReadAheadList& list) {
    std::lock_guard<std::mutex> lock(guard);
    if (worker.job.valid() || !hasWorkerThreads()) return;
    stopping = false;
    for (const std::string& path : list.textures) imagesQueued.insert({path, ImageUse::Texture});
    for (const std::string& path : list.models) modelsQueued.insert(path);
    for (const std::string& path : list.cubeFaces) imagesQueued.insert({path, ImageUse::CubeFace});
    worker.job = std::async(std::launch::async, [list] { work(list); });
}

ImportedModel takeReadAheadModel(const std::string& path, bool forceUpNormals) {
    ImportedModel model;
    {
        std::unique_lock<std::mutex> lock(guard);
        published.wait(lock, [&] { return models.count(path) || !modelsQueued.count(path); });
        const auto found = models.find(path);
        if (found == models.end()) return importModel(path, forceUpNormals);
        model = std::move(found->second);
        models.erase(found);
    }
    // Read ahead with the file's own normals; the switch replaces them all.
    if (forceUpNormals)
        for (ImportedMesh& mesh : model.meshes)
            for (Vertex& v : mesh.vertices) v.normal = glm::vec3(0.0f, 1.0f, 0.0f);
    return model;
}

PreparedImage takeReadAheadImage(const std::string& path, ImageUse use, int maxSide) {
    const ImageKey key{path, use};
    PreparedImage prepared;
    {
        std::unique_lock<std::mutex> lock(guard);
        published.wait(lock, [&] { return images.count(key) || !imagesQueued.count(key); });
        const auto found = images.find(key);
        if (found != images.end()) {
            prepared = std::move(found->second);
            images.erase(found);
        }
    }
    const DecodedImage& image = prepared.image;
    if (!image || image.width > maxSide || image.height > maxSide)
        prepared = prepareImage(path, use, maxSide);
    return prepared;
}

std::string modelDirectory(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

void stopReadAhead() {
    std::future<void> job;
    {
        std::lock_guard<std::mutex> lock(guard);
        stopping = true;
        job = std::move(worker.job);
    }
    if (job.valid()) job.wait();
    std::lock_guard<std::mutex> lock(guard);
    models.clear();
    images.clear();
    modelsQueued.clear();
    imagesQueued.clear();
}
