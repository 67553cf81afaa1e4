#include "sound/Mp3Stream.h"

#include <mpg123.h>

#include <cstdio>

void Mp3Stream::Closer::operator()(mpg123_handle_struct* handle) const {
    mpg123_close(handle);
    mpg123_delete(handle);
}

Mp3Stream::Mp3Stream() = default;
Mp3Stream::~Mp3Stream() = default;

bool Mp3Stream::open(const std::string& path) {
    int err = MPG123_OK;
    handle_.reset(mpg123_new(nullptr, &err));
    if (!handle_) return false;
    mpg123_handle* mh = handle_.get();
    // Quiet: a broken file is the caller's to report, not the decoder's.
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // Whatever rate and channel count the file has, always as 16-bit samples.
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    int encoding = 0;
    int16_t first[2];
    const bool ok = mpg123_open(mh, path.c_str()) == MPG123_OK &&
                    mpg123_getformat(mh, &rate, &channels, &encoding) == MPG123_OK &&
                    encoding == MPG123_ENC_SIGNED_16 && (channels == 1 || channels == 2) &&
                    read(first, 1, false) == 1 && rewind();
    if (!ok) {
        handle_.reset();
        rate = channels = 0;
        return false;
    }
    // Without scanning the file: a long file must not wait to be read through.
    const off_t length = mpg123_length(mh);
    frames = length > 0 ? long(length) : 0;
    return true;
}

bool Mp3Stream::rewind() {
    return handle_ && mpg123_seek(handle_.get(), 0, SEEK_SET) == 0;
}

size_t Mp3Stream::read(int16_t* out, size_t count, bool loop) {
    if (!handle_) return 0;
    const size_t frameBytes = size_t(channels) * sizeof(int16_t);
    size_t done = 0;
    size_t sinceStart = 1;  // frames read since the last rewind here; 0 ends a looped empty pass
    while (done < count) {
        size_t bytes = 0;
        const int rc = mpg123_read(handle_.get(), out + done * size_t(channels),
                                   (count - done) * frameBytes, &bytes);
        // A partial frame would shift the channels of everything after it.
        if (bytes % frameBytes != 0) return done;
        done += bytes / frameBytes;
        sinceStart += bytes / frameBytes;
        if (rc == MPG123_OK) continue;
        if (rc == MPG123_NEW_FORMAT) {
            long newRate = 0;
            int newChannels = 0, encoding = 0;
            mpg123_getformat(handle_.get(), &newRate, &newChannels, &encoding);
            if (newRate == rate && newChannels == channels && encoding == MPG123_ENC_SIGNED_16)
                continue;
        }
        // The end, a format change or damage: a loop starts over, unless a
        // whole pass gave nothing.
        if (!loop || sinceStart == 0 || !rewind()) break;
        sinceStart = 0;
    }
    return done;
}
