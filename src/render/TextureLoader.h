#pragma once
// Image files to OpenGL textures. Every call creates a new texture object and
// leaves nothing bound; nothing is cached and nothing is ever deleted here.
// A 2D image that cannot be decoded is fatal ("Texture failed to load" on
// standard error, pause, exit status 1); a missing cube-map face is not.

#include <string>
#include <vector>

#include "core/FrameChoices.h"

// What the loaders make beside the design's textures (none until set): the
// mipmap levels read ahead on the CPU, and the one-channel alpha copies.
void setLoadChoices(const LoadChoices& choices);

// A 2D texture from a path relative to the working directory: 8-bit RGBA
// storage, a full mipmap chain (built on the CPU), repeat wrapping, trilinear filtering.
unsigned int loadTexture(const char* path);

// A model's material texture: the file is directory + "/" + path. Stored as
// 16-bit floats per channel, with mipmaps.
unsigned int textureFromFile(const char* path, const std::string& directory);

// The one-channel copy of a model texture's alpha that textureFromFile made
// alongside it (16-bit floats, the same values level for level, the same
// sampling), or 0: made for four-channel images whose levels were built on
// the CPU.
unsigned int alphaTextureOf(unsigned int texture);

// Whether the 2D textures made here are read from their nearest mipmap level
// (filtered bilinearly within it) instead of blended between the two nearest
// levels, as they are made. Sets every such texture's filter when the answer
// changes, and the filter of those made later; the binding stays as it was.
void readNearestLevels(bool nearest);

// A cube map from six files in the order +X, -X, +Y, -Y, +Z, -Z. A face that
// cannot be decoded is reported and filled with black.
unsigned int loadCubemap(const std::vector<std::string>& faces);
