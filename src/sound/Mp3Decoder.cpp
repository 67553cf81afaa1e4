#include "sound/Mp3Decoder.h"

#include <mpg123.h>

#include <climits>
#include <memory>

namespace {

// OpenAL takes a buffer's size in bytes as a signed int.
constexpr size_t kMaxSamples = size_t(INT_MAX) / sizeof(int16_t);

struct HandleDeleter {
    void operator()(mpg123_handle* mh) const {
        mpg123_close(mh);
        mpg123_delete(mh);
    }
};
using Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

Handle openDecoder(const std::string& path) {
    int err = MPG123_OK;
    Handle mh(mpg123_new(nullptr, &err));
    if (!mh) return nullptr;
    // Quiet: a broken file is the caller's silent failure, not a console line.
    mpg123_param(mh.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // Whatever rate and channel count the file has, always as 16-bit samples.
    mpg123_format_none(mh.get());
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(mh.get(), path.c_str()) != MPG123_OK) return nullptr;
    return mh;
}

}  // namespace

bool decodeMp3(const std::string& path, DecodedSound& out) {
    out = DecodedSound();
    Handle mh = openDecoder(path);
    if (!mh) return false;
    int encoding = 0;
    if (mpg123_getformat(mh.get(), &out.rate, &out.channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_SIGNED_16 || (out.channels != 1 && out.channels != 2)) {
        out = DecodedSound();
        return false;
    }

    std::vector<int16_t> chunk(1 << 15);
    bool ok = true;
    for (;;) {
        size_t bytes = 0;
        const int rc = mpg123_read(mh.get(), chunk.data(), chunk.size() * sizeof(int16_t), &bytes);
        const size_t count = bytes / sizeof(int16_t);
        if (out.samples.size() + count > kMaxSamples) {
            ok = false;
            break;
        }
        out.samples.insert(out.samples.end(), chunk.begin(), chunk.begin() + long(count));
        if (rc == MPG123_DONE) break;
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            if (mpg123_getformat(mh.get(), &rate, &channels, &encoding) != MPG123_OK ||
                rate != out.rate || channels != out.channels) {
                ok = false;
                break;
            }
        } else if (rc != MPG123_OK) {
            ok = false;
            break;
        }
    }
    // A partial frame at the end would shift the channels of a looped sound.
    if (!ok || out.frames() == 0 || out.samples.size() % size_t(out.channels) != 0) {
        out = DecodedSound();
        return false;
    }
    return true;
}
