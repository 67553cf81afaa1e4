#pragma once
// Decoding a whole MP3 file into memory as 16-bit PCM.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DecodedSound {
    long rate = 0;                 // frames per second
    int channels = 0;              // 1 or 2
    std::vector<int16_t> samples;  // interleaved

    size_t frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
};

// Decodes the file, gapless (see Mp3Stream), up to its end or to where it
// changes its format or cannot be decoded further. False, silently, if the
// file cannot be opened, is not MPEG audio, holds no samples at its start or
// would not fit in one sound buffer; `out` is then empty.
bool decodeMp3(const std::string& path, DecodedSound& out);
