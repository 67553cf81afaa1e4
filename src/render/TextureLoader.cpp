#include "render/TextureLoader.h"

#include <GL/glew.h>
#include <stb/stb_image.h>

#include <cstdlib>
#include <iostream>

#include "core/Console.h"

namespace {

[[noreturn]] void textureLoadFailed() {
    std::cerr << "Texture failed to load" << std::endl;
    consolePause();
    std::exit(1);
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

// Uploads level 0 from a buffer whose pixels hold `bufferChannels` bytes,
// then builds the mipmaps and sets the sampling parameters.
void upload2D(GLint internalFormat, int width, int height, int bufferChannels,
              const unsigned char* data) {
    const GLenum format = bufferChannels == 4 ? GL_RGBA : GL_RGB;
    {
        TightUnpack unpack;
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE,
                     data);
    }
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

}  // namespace

unsigned int loadTexture(const char* path) {
    unsigned int textureID = 0;
    glGenTextures(1, &textureID);

    int width = 0, height = 0, fileChannels = 0;
    // Always three bytes a pixel, whatever the file holds: grey images come
    // out with the grey in all three channels, and an alpha channel is dropped.
    unsigned char* data = stbi_load(path, &width, &height, &fileChannels, 3);
    if (!data) textureLoadFailed();

    glBindTexture(GL_TEXTURE_2D, textureID);
    upload2D(GL_RGBA8, width, height, 3, data);
    if (fileChannels == 4) std::cout << "4 components" << std::endl;

    glBindTexture(GL_TEXTURE_2D, 0);
    stbi_image_free(data);
    return textureID;
}

unsigned int textureFromFile(const char* path, const std::string& directory) {
    const std::string filename = directory + "/" + path;

    unsigned int textureID = 0;
    glGenTextures(1, &textureID);

    int width = 0, height = 0, fileChannels = 0;
    unsigned char* data = stbi_load(filename.c_str(), &width, &height, &fileChannels, 0);
    if (!data) textureLoadFailed();

    // One- and two-channel files (grey, grey with alpha) are decoded again as
    // RGB and RGBA, so the upload always matches the buffer it reads.
    int bufferChannels = fileChannels;
    if (fileChannels == 1 || fileChannels == 2) {
        stbi_image_free(data);
        bufferChannels = fileChannels + 2;
        data = stbi_load(filename.c_str(), &width, &height, &fileChannels, bufferChannels);
        if (!data) textureLoadFailed();
    }

    glBindTexture(GL_TEXTURE_2D, textureID);
    upload2D(GL_RGBA16F, width, height, bufferChannels, data);

    glBindTexture(GL_TEXTURE_2D, 0);
    stbi_image_free(data);
    return textureID;
}

unsigned int loadCubemap(const std::vector<std::string>& faces) {
    unsigned int textureID = 0;
    glGenTextures(1, &textureID);
    glBindTexture(GL_TEXTURE_CUBE_MAP, textureID);

    std::vector<size_t> missing;
    int faceSize = 0;
    {
        TightUnpack unpack;
        // A cube map has six faces; further entries have no face to go to.
        const size_t faceCount = faces.size() < 6 ? faces.size() : 6;
        for (size_t i = 0; i < faceCount; ++i) {
            int width = 0, height = 0, channels = 0;
            unsigned char* data = stbi_load(faces[i].c_str(), &width, &height, &channels, 3);
            if (data) {
                glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + GLenum(i), 0, GL_RGB, width, height,
                             0, GL_RGB, GL_UNSIGNED_BYTE, data);
                if (faceSize == 0) faceSize = width;
                stbi_image_free(data);
            } else {
                std::cerr << "Texture in Cubemap failed to load" << std::endl;
                missing.push_back(i);
            }
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
