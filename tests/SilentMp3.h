#pragma once
// A long MP3 file of silence made without an encoder, for the tests of long
// music: MPEG-1 layer III frames at 44.1 kHz, 32 kbit/s, stereo, whose side
// information is all zero, so every granule decodes to 1152 silent frames.

#include <string>

constexpr long kSilentMp3FramesPerFrame = 1152;

// The bytes of a file that plays `seconds` of silence (rounded down to whole
// MPEG frames).
inline std::string silentMp3(double seconds) {
    const long frames = long(seconds * 44100.0) / kSilentMp3FramesPerFrame;
    std::string frame(104, '\0');  // 144 * 32000 / 44100 bytes, no padding
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);  // MPEG-1, layer III, no checksum
    frame[2] = char(0x10);  // 32 kbit/s, 44.1 kHz
    frame[3] = char(0x00);  // stereo
    std::string file;
    file.reserve(size_t(frames) * frame.size());
    for (long i = 0; i < frames; ++i) file += frame;
    return file;
}
