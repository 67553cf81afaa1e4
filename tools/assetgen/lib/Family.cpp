#include "lib/Family.h"

namespace assetgen {

std::vector<Family>& families() {
    static std::vector<Family> list;
    return list;
}

std::filesystem::path prepareFile(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    return file;
}

}  // namespace assetgen
