#pragma once
// The four ground textures that the terrain repeats many times over the
// valley: 512 x 512, three channels, each tiling without seams.

#include "lib/Image.h"

namespace assetgen {

constexpr int kGroundTextureSize = 512;

Image sandTexture();
Image pathTexture();
Image dirtTexture();
Image grassTexture();

}  // namespace assetgen
