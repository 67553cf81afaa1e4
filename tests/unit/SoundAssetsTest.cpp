// Checks of the generated sounds as the program will hear them: decoded with
// libmpg123 in gapless mode, the way the sound backend loads them.

#include <gtest/gtest.h>
#include <unistd.h>
#include <mpg123.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../tools/assetgen/sounds/SoundLengths.h"

namespace {

const std::string kSounds = std::string(MD_BUILD_DIR) + "/sounds/";
const char* const kMusic = "dontYou.mp3";
const char* const kBulb = "DyingLightBulb.mp3";

struct Pcm {
    long rate = 0;
    int channels = 0;
    std::vector<short> samples;  // interleaved
    std::string error;

    size_t frames() const { return channels ? samples.size() / size_t(channels) : 0; }
    float at(size_t frame, int channel) const {
        return samples[frame * size_t(channels) + size_t(channel)] / 32768.0f;
    }
};

Pcm decode(const std::string& path, bool gapless) {
    Pcm pcm;
    int err = MPG123_OK;
    mpg123_handle* mh = mpg123_new(nullptr, &err);
    if (!mh) {
        pcm.error = "mpg123_new failed";
        return pcm;
    }
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_param(mh, gapless ? MPG123_ADD_FLAGS : MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.0);
    // Any rate and channel count, always as 16-bit samples, so the file's own
    // format is what getformat reports.
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    int encoding = 0;
    if (mpg123_open(mh, path.c_str()) != MPG123_OK ||
        mpg123_getformat(mh, &pcm.rate, &pcm.channels, &encoding) != MPG123_OK) {
        pcm.error = std::string("cannot open ") + path + ": " + mpg123_strerror(mh);
        mpg123_delete(mh);
        return pcm;
    }
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        size_t done = 0;
        const int rc = mpg123_read(mh, buffer.data(), buffer.size(), &done);
        const short* s = reinterpret_cast<const short*>(buffer.data());
        pcm.samples.insert(pcm.samples.end(), s, s + done / sizeof(short));
        if (rc == MPG123_DONE) break;
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) {
            pcm.error = std::string("decode error: ") + mpg123_strerror(mh);
            break;
        }
    }
    mpg123_close(mh);
    mpg123_delete(mh);
    return pcm;
}

double rmsOf(const Pcm& pcm, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t f = from; f < to; ++f)
        for (int c = 0; c < pcm.channels; ++c) sum += double(pcm.at(f, c)) * pcm.at(f, c);
    return std::sqrt(sum / std::max<double>(1.0, double(to - from) * pcm.channels));
}

float peakOf(const Pcm& pcm, size_t from, size_t to) {
    float p = 0.0f;
    for (size_t f = from; f < to; ++f)
        for (int c = 0; c < pcm.channels; ++c) p = std::max(p, std::fabs(pcm.at(f, c)));
    return p;
}

double dbfs(double level) {
    return 20.0 * std::log10(std::max(level, 1e-9));
}

// Power of one frequency in the first channel (Goertzel), per frame.
double powerAt(const Pcm& pcm, double hz, size_t from, size_t to) {
    const double k = 2.0 * std::cos(2.0 * M_PI * hz / double(pcm.rate));
    double s1 = 0.0, s2 = 0.0;
    for (size_t f = from; f < to; ++f) {
        const double s0 = pcm.at(f, 0) + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - k * s1 * s2) / double(to - from);
}

struct Expected {
    const char* file;
    double minSeconds, maxSeconds;
    long frames;  // what went into the encoder
};

const Expected kExpected[] = {{kMusic, 30.0, 90.0, assetgen::kMusicFrames},
                              {kBulb, 1.5, 3.0, assetgen::kBulbFrames}};

TEST(SoundAssets, DecodeAsStereo44kOfTheIntendedLengthAudibleAndUnclipped) {
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.file);
        const Pcm pcm = decode(kSounds + e.file, true);
        ASSERT_EQ(pcm.error, "");
        EXPECT_EQ(pcm.rate, 44100);
        EXPECT_EQ(pcm.channels, 2);
        const double seconds = double(pcm.frames()) / 44100.0;
        EXPECT_GE(seconds, e.minSeconds);
        EXPECT_LE(seconds, e.maxSeconds);
        // Gapless decoding hands back exactly the frames that were encoded.
        EXPECT_EQ(long(pcm.frames()), e.frames);

        const double rms = rmsOf(pcm, 0, pcm.frames());
        const float peak = peakOf(pcm, 0, pcm.frames());
        std::printf("%-20s %.3f s  rms %.1f dBFS  peak %.1f dBFS\n", e.file, seconds, dbfs(rms),
                    dbfs(peak));
        EXPECT_GT(dbfs(rms), -35.0);
        EXPECT_GT(dbfs(peak), -12.0);
        EXPECT_LT(peak, 32000.0f / 32768.0f) << "too close to full scale";
        const long clipped = std::count_if(pcm.samples.begin(), pcm.samples.end(),
                                           [](short s) { return s >= 32767 || s <= -32767; });
        EXPECT_EQ(clipped, 0);
    }
}

TEST(SoundAssets, InfoTagLetsTheDecoderTrimDelayAndPadding) {
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.file);
        const Pcm gapless = decode(kSounds + e.file, true);
        const Pcm raw = decode(kSounds + e.file, false);
        ASSERT_EQ(gapless.error, "");
        ASSERT_EQ(raw.error, "");
        // Without the tag's numbers a decoder returns whole frames of 1152,
        // starting with the encoder's and its own delay of over 1000 samples.
        EXPECT_EQ(raw.frames() % 1152, 0u);
        EXPECT_GE(raw.frames(), gapless.frames() + 1105);
    }
    // The music is sound right up to both ends: no silence left from the
    // codec's delay or padding to interrupt the loop.
    const Pcm music = decode(kSounds + kMusic, true);
    ASSERT_GT(music.frames(), 4410u);
    const size_t edge = 441;  // 10 ms
    EXPECT_GT(dbfs(rmsOf(music, 0, edge)), -50.0);
    EXPECT_GT(dbfs(rmsOf(music, music.frames() - edge, music.frames())), -50.0);
}

// Differences of the first or second order along the track played as a
// loop, so the last ones straddle the seam: the first difference is the step
// from one sample to the next; the second, the step's change, shows a click
// even where the music itself moves fast.
struct SeamSteps {
    float seam = 0.0f;     // largest difference that straddles the seam
    float typical = 0.0f;  // 99.9th percentile of all the others
};

SeamSteps seamSteps(const Pcm& pcm, int channel, int order) {
    const size_t n = pcm.frames();
    auto y = [&](size_t i) { return pcm.at(i % n, channel); };
    SeamSteps result;
    std::vector<float> others;
    others.reserve(n);
    for (size_t i = size_t(order); i < n + size_t(order); ++i) {
        const float d = order == 1 ? y(i) - y(i - 1) : y(i) - 2.0f * y(i - 1) + y(i - 2);
        if (i >= n)
            result.seam = std::max(result.seam, std::fabs(d));
        else
            others.push_back(std::fabs(d));
    }
    const size_t k = others.size() * 999 / 1000;
    std::nth_element(others.begin(), others.begin() + long(k), others.end());
    result.typical = others[k];
    return result;
}

TEST(SoundAssets, MusicEndJoinsItsStartWithoutAClick) {
    const Pcm pcm = decode(kSounds + kMusic, true);
    ASSERT_EQ(pcm.error, "");
    ASSERT_GT(pcm.frames(), 44100u);
    for (int c = 0; c < 2; ++c)
        for (int order = 1; order <= 2; ++order) {
            SCOPED_TRACE(std::string(c == 0 ? "left" : "right") + ", order " +
                         std::to_string(order));
            const SeamSteps s = seamSteps(pcm, c, order);
            std::printf("channel %d order %d: seam %.5f, 99.9%% of others below %.5f\n", c, order,
                        s.seam, s.typical);
            EXPECT_LE(s.seam, s.typical);
        }
}

TEST(SoundAssets, BulbHumsAt50HzAndEndsWithAPopThenSilence) {
    const Pcm pcm = decode(kSounds + kBulb, true);
    ASSERT_EQ(pcm.error, "");
    const size_t n = pcm.frames();
    ASSERT_GT(n, 44100u);
    // The first second is mains hum: its harmonics stand far above the
    // frequencies between them.
    const size_t second = 44100;
    for (double hz : {100.0, 150.0, 200.0}) {
        SCOPED_TRACE(hz);
        EXPECT_GT(powerAt(pcm, hz, 0, second), 100.0 * powerAt(pcm, hz - 25.0, 0, second));
        EXPECT_GT(powerAt(pcm, hz, 0, second), 100.0 * powerAt(pcm, hz + 25.0, 0, second));
    }
    // The loudest moment (the pop) comes in the last half, and the file
    // fades to silence.
    size_t loudest = 0;
    for (size_t f = 0; f < n; ++f)
        if (std::fabs(pcm.at(f, 0)) > std::fabs(pcm.at(loudest, 0))) loudest = f;
    EXPECT_GT(loudest, n / 2);
    EXPECT_LT(loudest, n - 4410);  // with a fizz after it
    EXPECT_GT(dbfs(rmsOf(pcm, loudest + 441, loudest + 4410)), -45.0);
    EXPECT_LT(dbfs(rmsOf(pcm, n - 441, n)), -60.0);
}

std::vector<char> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

TEST(SoundAssets, GeneratorWritesTheSameBytesEveryRun) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("morrowdock_sound_determinism_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    const std::string command =
        std::string("\"") + MD_ASSETGEN + "\" \"" + dir.string() + "\" bulb music > /dev/null";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::printf("generating both sounds took %.2f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    for (const char* name : {kMusic, kBulb}) {
        SCOPED_TRACE(name);
        const std::vector<char> again = readBytes(dir / "sounds" / name);
        const std::vector<char> built = readBytes(std::filesystem::path(kSounds) / name);
        ASSERT_FALSE(built.empty());
        EXPECT_TRUE(again == built) << "sizes " << again.size() << " and " << built.size();
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
