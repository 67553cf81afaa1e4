#include "e2e/WavFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

uint32_t u32(const std::vector<unsigned char>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

uint16_t u16(const std::vector<unsigned char>& b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

}  // namespace

WavFile readWav(const std::string& path) {
    WavFile wav;
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(&b[8], "WAVE", 4)) {
        wav.error = "not a RIFF WAVE file: " + path;
        return wav;
    }
    int format = 0, bits = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        const uint32_t size = u32(b, at + 4);
        const size_t body = at + 8;
        if (!std::memcmp(&b[at], "fmt ", 4) && body + 16 <= b.size()) {
            format = u16(b, body);
            wav.channels = u16(b, body + 2);
            wav.rate = int(u32(b, body + 4));
            bits = u16(b, body + 14);
            // Extensible: the real format is the start of the sub-format GUID.
            if (format == 0xFFFE && body + 26 <= b.size()) format = u16(b, body + 24);
        } else if (!std::memcmp(&b[at], "data", 4)) {
            const size_t end = std::min(b.size(), size == 0xFFFFFFFFu ? b.size() : body + size);
            if (format == 1 && bits == 16) {
                for (size_t i = body; i + 2 <= end; i += 2)
                    wav.samples.push_back(float(int16_t(u16(b, i))) / 32768.0f);
            } else if (format == 3 && bits == 32) {
                for (size_t i = body; i + 4 <= end; i += 4) {
                    const uint32_t word = u32(b, i);
                    float f = 0.0f;
                    std::memcpy(&f, &word, sizeof f);
                    wav.samples.push_back(f);
                }
            } else {
                wav.error = "unsupported sample format " + std::to_string(format) + "/" +
                            std::to_string(bits);
            }
            return wav;
        }
        at = body + size + (size & 1);
    }
    wav.error = "no data chunk";
    return wav;
}

double levelDb(const WavFile& wav, size_t from, size_t to) {
    const size_t c = size_t(wav.channels);
    double sum = 0.0;
    for (size_t i = from * c; i < to * c && i < wav.samples.size(); ++i)
        sum += double(wav.samples[i]) * wav.samples[i];
    return 10.0 * std::log10(std::max(sum / double(std::max<size_t>(1, (to - from) * c)), 1e-20));
}
