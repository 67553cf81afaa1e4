#pragma once
// Reading the WAV files that OpenAL Soft's file writer produces: 16-bit PCM
// or 32-bit float, plain or extensible format.

#include <string>
#include <vector>

struct WavFile {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;  // interleaved, full scale at 1
    std::string error;           // empty when the file was read

    size_t frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
};

// The data chunk may still carry the placeholder size of a file that was
// not closed properly; the samples then run to the end of the file.
WavFile readWav(const std::string& path);

// Root-mean-square level of frames [from, to) over all channels, in dBFS.
double levelDb(const WavFile& wav, size_t from, size_t to);
