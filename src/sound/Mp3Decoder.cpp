#include "sound/Mp3Decoder.h"

#include <climits>

#include "sound/Mp3Stream.h"

namespace {

// OpenAL takes a buffer's size in bytes as a signed int.
constexpr size_t kMaxSamples = size_t(INT_MAX) / sizeof(int16_t);
constexpr size_t kPieceFrames = 1 << 14;

}  // namespace

bool decodeMp3(const std::string& path, DecodedSound& out) {
    out = DecodedSound();
    Mp3Stream stream;
    if (!stream.open(path)) return false;
    out.rate = stream.rate;
    out.channels = stream.channels;
    const size_t pieceSamples = kPieceFrames * size_t(stream.channels);
    for (;;) {
        const size_t at = out.samples.size();
        if (at + pieceSamples > kMaxSamples) {
            out = DecodedSound();
            return false;
        }
        out.samples.resize(at + pieceSamples);
        const size_t got = stream.read(out.samples.data() + at, kPieceFrames, false);
        out.samples.resize(at + got * size_t(stream.channels));
        if (got < kPieceFrames) break;
    }
    return true;
}
