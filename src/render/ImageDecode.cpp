#include "render/ImageDecode.h"

#include <stb/stb_image.h>

#include <climits>
#include <functional>

namespace {

using InfoFn = std::function<bool(int&, int&, int&)>;
using LoadFn = std::function<unsigned char*(int&, int&, int&, int)>;

std::string sizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

DecodedImage decode(const InfoFn& info, const LoadFn& load, int channels, int maxSide) {
    DecodedImage image;
    int width = 0, height = 0, fileChannels = 0;
    if (!info(width, height, fileChannels)) {
        image.problem = "not a readable image";
        return image;
    }
    if (width < 1 || height < 1 || width > maxSide || height > maxSide) {
        image.problem = "declares " + sizeText(width, height) + ", above the limit of " +
                        std::to_string(maxSide);
        return image;
    }
    const int wanted = channels > 0 ? channels : widenedChannels(fileChannels);
    int loadedWidth = 0, loadedHeight = 0, loadedChannels = 0;
    unsigned char* data = load(loadedWidth, loadedHeight, loadedChannels, wanted);
    if (!data) {
        image.problem = "cannot be decoded";
        return image;
    }
    image.pixels = {data, stbi_image_free};
    // The header read above and the decoder must agree; a file that changed
    // in between is refused rather than trusted.
    if (loadedWidth != width || loadedHeight != height) {
        image.pixels.reset();
        image.problem = "changed size while being read";
        return image;
    }
    image.width = width;
    image.height = height;
    image.fileChannels = loadedChannels;
    image.bufferChannels = wanted;
    return image;
}

}  // namespace

int widenedChannels(int fileChannels) {
    if (fileChannels == 1) return 3;
    if (fileChannels == 2) return 4;
    return fileChannels;
}

DecodedImage decodeImageFile(const std::string& path, int channels, int maxSide) {
    const char* file = path.c_str();
    return decode(
        [file](int& w, int& h, int& c) { return stbi_info(file, &w, &h, &c) != 0; },
        [file](int& w, int& h, int& c, int want) { return stbi_load(file, &w, &h, &c, want); },
        channels, maxSide);
}

DecodedImage decodeImageMemory(const unsigned char* bytes, size_t size, int channels, int maxSide) {
    if (!bytes || size == 0 || size > size_t(INT_MAX)) {
        DecodedImage image;
        image.problem = "not a readable image";
        return image;
    }
    const int length = int(size);
    return decode([=](int& w, int& h,
                      int& c) { return stbi_info_from_memory(bytes, length, &w, &h, &c) != 0; },
                  [=](int& w, int& h, int& c, int want) {
                      return stbi_load_from_memory(bytes, length, &w, &h, &c, want);
                  },
                  channels, maxSide);
}
