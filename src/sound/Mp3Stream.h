#pragma once
// An MP3 file decoded a piece at a time into 16-bit PCM, gapless: when the
// file carries the encoder's delay and padding (an info tag) they are cut
// off, so a looped stream joins its end to its start without a gap.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct mpg123_handle_struct;

class Mp3Stream {
public:
    long rate = 0;     // frames per second
    int channels = 0;  // 1 or 2
    long frames = 0;   // the length the file states (or its size suggests); 0 if unknown

    Mp3Stream();
    ~Mp3Stream();
    Mp3Stream(const Mp3Stream&) = delete;
    Mp3Stream& operator=(const Mp3Stream&) = delete;

    // False, silently, if the file cannot be opened, is not MPEG audio or
    // holds no samples at its start.
    bool open(const std::string& path);

    // Up to `count` frames into `out` (interleaved, count x channels
    // samples). Looped, the end of the file runs on into its start within
    // the same call; fewer frames than asked come only at the end of an
    // unlooped stream, where the file changes its format, or where it cannot
    // be decoded further (a looped stream then starts over).
    size_t read(int16_t* out, size_t count, bool loop);

    // Back to the first sample.
    bool rewind();

private:
    struct Closer {
        void operator()(mpg123_handle_struct* handle) const;
    };
    std::unique_ptr<mpg123_handle_struct, Closer> handle_;
};
