#pragma once
// The scene's files read ahead on a worker thread while the window and the GL
// context come up: model files imported, images decoded and their mipmap
// levels built. Whoever needs a file takes it from here, waiting only for
// that file; a file that was not read ahead, or failed, is read on the spot,
// so the result (and any error message) is the same either way.

#include <string>
#include <vector>

#include "render/ImageDecode.h"
#include "render/MipChain.h"
#include "render/ModelImport.h"

// How an image is stored, which sets its decoding and its mipmap levels.
enum class ImageUse {
    Texture,       // 3 channels, 8-bit storage, mipmaps
    ModelTexture,  // the file's own channels (widened), 16-bit float storage, mipmaps
    CubeFace,      // 3 channels, no mipmaps
};

// A decoded image and the mipmap levels its use needs (one of the two lists;
// both empty for a side that is not a power of two).
struct PreparedImage {
    DecodedImage image;
    std::vector<ByteLevel> byteLevels;
    std::vector<HalfLevel> halfLevels;
};

PreparedImage prepareImage(const std::string& path, ImageUse use, int maxSide);

struct ReadAheadList {
    std::vector<std::string> textures;   // first, in order
    std::vector<std::string> models;     // then each model, followed by its textures
    std::vector<std::string> cubeFaces;  // last
};

// Starts the worker on the list. A second call while one runs adds nothing.
void startReadAhead(const ReadAheadList& list);

// The file's import (waiting for the worker while it is queued), or a fresh
// import; each read-ahead is handed out once.
ImportedModel takeReadAheadModel(const std::string& path, bool forceUpNormals);

// The same for an image; one larger than maxSide, or one that failed, is
// prepared again here so that the refusal names the caller's limit.
PreparedImage takeReadAheadImage(const std::string& path, ImageUse use, int maxSide);

// The folder a model's texture names are relative to.
std::string modelDirectory(const std::string& path);

// Stops the worker after the file in hand and drops whatever was not taken.
void stopReadAhead();
