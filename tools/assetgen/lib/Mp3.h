#pragma once
// Writes an AudioBuffer as an MP3 file with LAME: 44.1 kHz, joint stereo,
// constant bit rate. The first frame of the file is the encoder's info tag,
// which records the encoder delay and the padding of the last frame, so a
// gapless decoder returns exactly the frames that went in (a loop stays a
// loop).

#include <filesystem>

#include "lib/AudioBuffer.h"

namespace assetgen {

// Throws std::runtime_error when the encoder fails or the file cannot be
// written. Samples should stay within +/- 1 (full scale).
void writeMp3(const AudioBuffer& audio, const std::filesystem::path& file, int kbps = 128);

}  // namespace assetgen
