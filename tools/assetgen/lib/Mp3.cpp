#include "lib/Mp3.h"

#include <lame.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace assetgen {

namespace {

// LAME builds some shared tables on first use; families run on several
// threads, so encoders take turns.
std::mutex& lameLock() {
    static std::mutex lock;
    return lock;
}

struct LameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

void check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("mp3 encoder: ") + what);
}

}  // namespace

void writeMp3(const AudioBuffer& audio, const std::filesystem::path& file, int kbps) {
    check(audio.frames() > 0, "no samples");
    std::lock_guard<std::mutex> guard(lameLock());
    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    check(lame != nullptr, "lame_init failed");
    lame_global_flags* gf = lame.get();
    lame_set_num_channels(gf, 2);
    lame_set_in_samplerate(gf, kSampleRate);
    lame_set_out_samplerate(gf, kSampleRate);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_VBR(gf, vbr_off);
    lame_set_brate(gf, kbps);
    lame_set_quality(gf, 2);
    lame_set_bWriteVbrTag(gf, 1);  // the info tag that carries delay and padding
    lame_set_write_id3tag_automatic(gf, 0);
    check(lame_init_params(gf) >= 0, "bad parameters");

    std::vector<unsigned char> out;
    constexpr int kChunk = 8192;
    std::vector<unsigned char> chunk(size_t(1.25 * kChunk) + 7200);
    const size_t total = audio.frames();
    for (size_t at = 0; at < total; at += kChunk) {
        const int n = int(std::min<size_t>(kChunk, total - at));
        const int bytes =
            lame_encode_buffer_ieee_float(gf, audio.left.data() + at, audio.right.data() + at, n,
                                          chunk.data(), int(chunk.size()));
        check(bytes >= 0, "encoding failed");
        out.insert(out.end(), chunk.begin(), chunk.begin() + bytes);
    }
    const int tail = lame_encode_flush(gf, chunk.data(), int(chunk.size()));
    check(tail >= 0, "flush failed");
    out.insert(out.end(), chunk.begin(), chunk.begin() + tail);

    // The encoder began the stream with an empty frame of the tag's size;
    // now that the totals are known, the finished tag takes its place.
    std::vector<unsigned char> tag(4096);
    const size_t tagSize = lame_get_lametag_frame(gf, tag.data(), tag.size());
    check(tagSize > 0 && tagSize <= tag.size() && tagSize <= out.size(), "no info tag");
    std::copy(tag.begin(), tag.begin() + long(tagSize), out.begin());

    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    check(bool(stream), "cannot open the output file");
    stream.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    check(bool(stream), "cannot write the output file");
}

}  // namespace assetgen
