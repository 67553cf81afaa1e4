#include "render/TextureLoader.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <map>
#include <vector>

#include "core/Console.h"
#include "core/Globals.h"
#include "platform/GlCompat.h"
#include "render/MipChain.h"
#include "render/ReadAhead.h"

namespace {

LoadChoices loading;

// The 2D textures made here, whose filter readNearestLevels sets, and the
// mipmap filter they have now.
std::vector<unsigned int> filteredTextures;
bool nearestLevels = false;

GLint minFilter() {
    return nearestLevels ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_LINEAR;
}

// The file and the reason on a line of their own, after the fixed message.
void reportProblem(const std::string& path, const std::string& problem) {
    std::cerr << "  " << path << ": " << problem << std::endl;
}

[[noreturn]] void textureLoadFailed(const std::string& path, const std::string& problem) {
    std::cerr << "Texture failed to load" << std::endl;
    reportProblem(path, problem);
    consolePause();
    std::exit(1);
}

// The largest side a texture may have here: the driver's limit for its kind,
// and never above what we agree to decode at all.
int sideLimit(GLenum limitQuery) {
    GLint driverLimit = 0;
    glGetIntegerv(limitQuery, &driverLimit);
    return driverLimit > 0 ? std::min(int(driverLimit), kMaxImageSide) : kMaxImageSide;
}

// Decoded rows are tightly packed; three-byte pixels would otherwise be read
// with GL's default four-byte row alignment, past the end of odd-width images.
class TightUnpack {
public:
    TightUnpack() {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    ~TightUnpack() { glPixelStorei(GL_UNPACK_ALIGNMENT, previous); }

private:
    GLint previous = 4;
};

// The sampling of every 2D texture here, the bound one: repeat wrapping,
// trilinear filtering (or the nearest level's, while frames read that); the
// texture joins those whose filter readNearestLevels sets.
void setRepeatFiltered(unsigned int id) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    filteredTextures.push_back(id);
}

// Uploads level 0 from the decoded 8-bit buffer and the mipmap levels built
// with it (or, with the shortcuts off, has the driver build them), then sets
// the sampling parameters.
void upload2D(unsigned int id, GLint internalFormat, const PreparedImage& prepared) {
    const DecodedImage& image = prepared.image;
    const GLenum format = image.bufferChannels == 4 ? GL_RGBA : GL_RGB;
    {
        TightUnpack unpack;
        glTexImage2D(GL_TEXTURE_2D, 0, textureFormatFor(internalFormat, format, GL_UNSIGNED_BYTE),
                     image.width, image.height, 0, format, GL_UNSIGNED_BYTE, image.pixels.get());
        // The CPU's levels are texel for texel the driver's; with the
        // shortcuts off the driver builds them, as the design's loader does.
        const bool cpuLevels = loading.cpuMipmaps && mixedLevelTypesAllowed() &&
                               !(prepared.byteLevels.empty() && prepared.halfLevels.empty());
        GLint level = 1;
        for (const ByteLevel& l : prepared.byteLevels)
            if (cpuLevels)
                glTexImage2D(GL_TEXTURE_2D, level++, internalFormat, l.width, l.height, 0, format,
                             GL_UNSIGNED_BYTE, l.texels.data());
        for (const HalfLevel& l : prepared.halfLevels)
            if (cpuLevels)
                glTexImage2D(GL_TEXTURE_2D, level++, internalFormat, l.width, l.height, 0, format,
                             GL_HALF_FLOAT, l.texels.data());
        if (!cpuLevels) glGenerateMipmap(GL_TEXTURE_2D);
    }
    setRepeatFiltered(id);
}

// Model textures and the copies of their alpha.
std::map<unsigned int, unsigned int> alphaCopies;

// The alpha of a four-channel image's 16-bit float levels as a texture of
// its own: level 0 converted from the bytes as the driver converts a
// four-channel row, the other levels taken from the CPU-built ones.
unsigned int alphaCopy(const PreparedImage& prepared) {
    const DecodedImage& image = prepared.image;
    unsigned int id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    const size_t count = size_t(image.width) * size_t(image.height);
    std::vector<uint16_t> alpha(count);
    for (size_t i = 0; i < count; ++i) alpha[i] = halfOfByte(image.pixels.get()[i * 4 + 3], 4);
    {
        TightUnpack unpack;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_R16F, image.width, image.height, 0, GL_RED, GL_HALF_FLOAT,
                     alpha.data());
        GLint level = 1;
        for (const HalfLevel& l : prepared.halfLevels) {
            alpha.resize(size_t(l.width) * size_t(l.height));
            for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = l.texels[i * 4 + 3];
            glTexImage2D(GL_TEXTURE_2D, level++, GL_R16F, l.width, l.height, 0, GL_RED,
                         GL_HALF_FLOAT, alpha.data());
        }
    }
    setRepeatFiltered(id);
    return id;
}

}  // namespace

void setLoadChoices(const LoadChoices& choices) {
    loading = choices;
}

unsigned int loadTexture(const char* path) {
    unsigned int textureID = 0;
    glGenTextures(1, &textureID);

    // Always three bytes a pixel, whatever the file holds: grey images come
    // out with the grey in all three channels, and an alpha channel is dropped.
    const PreparedImage prepared =
        takeReadAheadImage(path, ImageUse::Texture, sideLimit(GL_MAX_TEXTURE_SIZE));
    const DecodedImage& image = prepared.image;
    if (!image) textureLoadFailed(path, image.problem);

    glBindTexture(GL_TEXTURE_2D, textureID);
    upload2D(textureID, GL_RGBA8, prepared);
    if (image.fileChannels == 4) std::cout << "4 components" << std::endl;

    glBindTexture(GL_TEXTURE_2D, 0);
    return textureID;
}

unsigned int textureFromFile(const char* path, const std::string& directory) {
    const std::string filename = directory + "/" + path;

    unsigned int textureID = 0;
    glGenTextures(1, &textureID);

    // One- and two-channel files (grey, grey with alpha) are decoded as RGB
    // and RGBA, so the upload always matches the buffer it reads. A texture
    // larger than the driver takes is refused like an unreadable one: the
    // model's look depends on it, and a silently missing image is worse.
    const PreparedImage prepared =
        takeReadAheadImage(filename, ImageUse::ModelTexture, sideLimit(GL_MAX_TEXTURE_SIZE));
    const DecodedImage& image = prepared.image;
    if (!image) textureLoadFailed(filename, image.problem);

    glBindTexture(GL_TEXTURE_2D, textureID);
    upload2D(textureID, GL_RGBA16F, prepared);
    if (loading.alphaCopy && image.bufferChannels == 4 &&
        !prepared.halfLevels.empty())
        alphaCopies[textureID] = alphaCopy(prepared);

    glBindTexture(GL_TEXTURE_2D, 0);
    return textureID;
}

void readNearestLevels(bool nearest) {
    if (nearest == nearestLevels) return;
    nearestLevels = nearest;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    for (unsigned int id : filteredTextures) {
        // A texture deleted elsewhere (or made in a context since gone) is
        // no longer one to bind.
        if (!glIsTexture(id)) continue;
        glBindTexture(GL_TEXTURE_2D, id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter());
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
}

unsigned int alphaTextureOf(unsigned int texture) {
    const auto found = alphaCopies.find(texture);
    return found == alphaCopies.end() ? 0 : found->second;
}

unsigned int loadCubemap(const std::vector<std::string>& faces) {
    unsigned int textureID = 0;
    glGenTextures(1, &textureID);
    glBindTexture(GL_TEXTURE_CUBE_MAP, textureID);

    std::vector<size_t> missing;
    int faceSize = 0;
    const int limit = sideLimit(GL_MAX_CUBE_MAP_TEXTURE_SIZE);
    {
        TightUnpack unpack;
        // A cube map has six faces; further entries have no face to go to.
        const size_t faceCount = faces.size() < 6 ? faces.size() : 6;
        for (size_t i = 0; i < faceCount; ++i) {
            const PreparedImage prepared = takeReadAheadImage(faces[i], ImageUse::CubeFace, limit);
            const DecodedImage& image = prepared.image;
            // Every face must be square and as large as the first one that
            // loaded, or the cube map is incomplete and samples black.
            std::string problem = image.problem;
            if (image && image.width != image.height)
                problem = "is " + std::to_string(image.width) + " x " +
                          std::to_string(image.height) + ", not square";
            else if (image && faceSize != 0 && image.width != faceSize)
                problem = "is " + std::to_string(image.width) + " wide, the first face " +
                          std::to_string(faceSize);
            if (!problem.empty()) {
                std::cerr << "Texture in Cubemap failed to load" << std::endl;
                reportProblem(faces[i], problem);
                missing.push_back(i);
                continue;
            }
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + GLenum(i), 0, GL_RGB, image.width,
                         image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.get());
            if (faceSize == 0) faceSize = image.width;
        }
        // A face left without an image would make the whole cube map
        // incomplete (black everywhere); a black face of the others' size
        // keeps the faces that did load visible.
        if (faceSize == 0) faceSize = 1;
        const std::vector<unsigned char> black(size_t(faceSize) * size_t(faceSize) * 3, 0);
        for (size_t i : missing)
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + GLenum(i), 0, GL_RGB, faceSize, faceSize,
                         0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    }

    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);

    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return textureID;
}
