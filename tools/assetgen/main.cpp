// The scene-data generator: assetgen <output root> [family ...]
// Writes models/, textures/ and sounds/ under the root (only the named
// families' files when names are given). Every family is
// deterministic, so two runs give byte-identical files.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <mutex>
#include <thread>

#include "lib/Family.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen <output root> [family ...]\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    auto& list = assetgen::families();
    if (argc > 2) {
        std::vector<assetgen::Family> chosen;
        for (int a = 2; a < argc; ++a) {
            auto it = std::find_if(list.begin(), list.end(),
                                   [&](const assetgen::Family& f) { return f.name == argv[a]; });
            if (it == list.end()) {
                std::fprintf(stderr, "assetgen: no family named %s\n", argv[a]);
                return 2;
            }
            chosen.push_back(*it);
        }
        list = chosen;
    }
    std::sort(list.begin(), list.end(),
              [](const assetgen::Family& a, const assetgen::Family& b) { return a.name < b.name; });

    const auto start = std::chrono::steady_clock::now();
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex printLock;
    auto worker = [&] {
        for (size_t i = next++; i < list.size(); i = next++) {
            const auto t0 = std::chrono::steady_clock::now();
            try {
                list[i].make(root);
            } catch (const std::exception& e) {
                std::lock_guard<std::mutex> lock(printLock);
                std::fprintf(stderr, "assetgen: %s failed: %s\n", list[i].name.c_str(), e.what());
                failed = true;
                continue;
            }
            const double ms = std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - t0).count();
            std::lock_guard<std::mutex> lock(printLock);
            std::printf("assetgen: %-12s %7.0f ms\n", list[i].name.c_str(), ms);
            std::fflush(stdout);
        }
    };
    const unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
    for (auto& t : pool) t.join();
    const double total =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: %zu families in %.2f s\n", list.size(), total);
    return failed ? 1 : 0;
}
