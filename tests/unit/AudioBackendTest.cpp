// The audio backend: loading the generated sounds, the voice pool, the
// looped mix, and silence without an output device. Mixing is checked on a
// loopback device, which renders exactly as many frames as a test asks for.

#include <AL/al.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "../../tools/assetgen/sounds/SoundLengths.h"
#include "sound/AudioBackend.h"
#include "sound/SoundSystem.h"
#include "unit/QuietAudio.h"

namespace {

namespace fs = std::filesystem;

const std::string kSounds = std::string(MD_BUILD_DIR) + "/sounds/";
constexpr int kRate = 44100;
constexpr int kVideoFrame = kRate / 60;  // one frame of the picture at 60 Hz

double dbfs(const std::vector<float>& mix, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += double(mix[i]) * mix[i];
    return 10.0 * std::log10(std::max(sum / double(to - from), 1e-18));
}

class LoopbackBackend : public ::testing::Test {
protected:
    AudioBackend backend;
    AudioSound* music = nullptr;
    AudioSound* bulb = nullptr;

    void SetUp() override {
        ASSERT_TRUE(backend.initLoopback(SoundSystem::kVoices, kRate));
        ASSERT_EQ(int(backend.voices.size()), SoundSystem::kVoices);
        music = backend.load(kSounds + "dontYou.mp3");
        bulb = backend.load(kSounds + "DyingLightBulb.mp3");
        ASSERT_NE(music, nullptr);
        ASSERT_NE(bulb, nullptr);
    }

    // Mixes `frames` frames in picture-sized pieces, as a running program would.
    std::vector<float> renderFor(long frames) {
        std::vector<float> mix;
        mix.reserve(size_t(frames) * 2);
        for (long done = 0; done < frames; done += kVideoFrame) {
            const std::vector<float> piece =
                backend.render(int(std::min<long>(kVideoFrame, frames - done)));
            mix.insert(mix.end(), piece.begin(), piece.end());
        }
        return mix;
    }
};

TEST_F(LoopbackBackend, GeneratedSoundsLoadWholeAndGaplessAtTheirOwnRate) {
    EXPECT_EQ(music->rate, 44100);
    EXPECT_EQ(music->channels, 2);
    EXPECT_EQ(music->frames, assetgen::kMusicFrames);
    EXPECT_EQ(bulb->rate, 44100);
    EXPECT_EQ(bulb->channels, 2);
    EXPECT_EQ(bulb->frames, assetgen::kBulbFrames);
    // The buffer holds every sample, not a streamed window of them.
    ALint bytes = 0;
    alGetBufferi(music->buffer, AL_SIZE, &bytes);
    EXPECT_EQ(long(bytes), assetgen::kMusicFrames * 2 * 2);
}

TEST_F(LoopbackBackend, BrokenOrMissingFilesLoadAsNothingQuietly) {
    const fs::path dir = fs::temp_directory_path() / ("md_audio_" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "empty.mp3").close();
    std::ofstream(dir / "text.mp3") << "not a sound at all\n";
    {
        // The first bytes of the real music only: an info tag and no audio.
        std::ifstream in(kSounds + "dontYou.mp3", std::ios::binary);
        std::vector<char> head(200);
        in.read(head.data(), long(head.size()));
        std::ofstream(dir / "head.mp3", std::ios::binary).write(head.data(), long(head.size()));
    }
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (const std::string name : {"missing.mp3", "empty.mp3", "text.mp3", "head.mp3", ""}) {
        SCOPED_TRACE(name);
        AudioSound* sound = backend.load((dir / name).string());
        EXPECT_EQ(sound, nullptr);
        EXPECT_EQ(backend.play(sound, false), -1);
    }
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out + err, "");
    fs::remove_all(dir);
    // The failures leave the backend working.
    EXPECT_GE(backend.play(bulb, false), 0);
    EXPECT_EQ(backend.playingVoices(), 1);
}

// Decoded whole, or streamed through a few small buffers as the program
// plays its music: the same samples, the same seam.
TEST_F(LoopbackBackend, LoopedMusicRepeatsWithExactlyItsOwnLength) {
    AudioSound* streamed = backend.openStream(kSounds + "dontYou.mp3");
    ASSERT_NE(streamed, nullptr);
    EXPECT_EQ(streamed->frames, assetgen::kMusicFrames);
    for (AudioSound* sound : {music, streamed}) {
        SCOPED_TRACE(sound == music ? "whole" : "streamed");
        const int voice = backend.play(sound, true);
        ASSERT_GE(voice, 0);
        const long period = assetgen::kMusicFrames;
        const long extra = 2 * kRate;
        const std::vector<float> mix = renderFor(period + extra);
        ASSERT_EQ(long(mix.size()), (period + extra) * 2);
        EXPECT_TRUE(backend.isPlaying(voice));
        EXPECT_GT(dbfs(mix, 0, mix.size()), -30.0);
        // Two seconds round the seam equal the start of the first pass: the
        // loop adds no gap and drops nothing (a decoder that kept the codec's
        // delay or padding would shift this by over a thousand frames).
        long differing = 0;
        float largest = 0.0f;
        for (long i = 0; i < extra * 2; ++i) {
            const float d = std::fabs(mix[size_t(i)] - mix[size_t(i + period * 2)]);
            largest = std::max(largest, d);
            differing += d > 1e-4f ? 1 : 0;
        }
        EXPECT_EQ(differing, 0) << "largest difference " << largest;
        EXPECT_GT(dbfs(mix, size_t(period * 2), size_t((period + extra) * 2)), -30.0);
        backend.release(sound);
    }
}

TEST_F(LoopbackBackend, OneShotsOverlapAndEndWhileTheLoopGoesOn) {
    const int first = backend.play(bulb, false);
    const std::vector<float> alone = renderFor(kVideoFrame);
    const int second = backend.play(bulb, false);
    const int loop = backend.play(music, true);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    ASSERT_GE(loop, 0);
    EXPECT_EQ(std::set<int>({first, second, loop}).size(), 3u);
    EXPECT_EQ(backend.playingVoices(), 3);

    renderFor(assetgen::kBulbFrames - kVideoFrame - 100);
    EXPECT_TRUE(backend.isPlaying(second)) << "ended before its length";
    renderFor(kVideoFrame + 200);
    EXPECT_FALSE(backend.isPlaying(first));
    EXPECT_FALSE(backend.isPlaying(second));
    EXPECT_TRUE(backend.isPlaying(loop));
    EXPECT_EQ(backend.playingVoices(), 1);
    // A finished voice is free again.
    EXPECT_EQ(backend.play(bulb, false), std::min(first, second));
    EXPECT_GT(dbfs(alone, 0, alone.size()), -60.0) << "the bulb is audible from its start";
}

TEST_F(LoopbackBackend, FullPoolTakesTheOldestOneShotNeverTheMusic) {
    const int loop = backend.play(music, true);
    std::vector<int> oneShots;
    for (int i = 1; i < SoundSystem::kVoices; ++i) oneShots.push_back(backend.play(bulb, false));
    std::set<int> used(oneShots.begin(), oneShots.end());
    used.insert(loop);
    EXPECT_EQ(used.size(), size_t(SoundSystem::kVoices));
    EXPECT_EQ(used.count(-1), 0u);
    ASSERT_EQ(backend.playingVoices(), SoundSystem::kVoices);

    // Two more one-shots and another loop: each takes the oldest one-shot.
    EXPECT_EQ(backend.play(bulb, false), oneShots[0]);
    EXPECT_EQ(backend.play(bulb, false), oneShots[1]);
    EXPECT_EQ(backend.play(music, true), oneShots[2]);
    EXPECT_EQ(backend.playingVoices(), SoundSystem::kVoices);
    const Voice& musicVoice = backend.voices[size_t(loop)];
    EXPECT_TRUE(backend.isPlaying(loop));
    EXPECT_TRUE(musicVoice.looping);
    EXPECT_EQ(musicVoice.sound, music);
}

TEST_F(LoopbackBackend, PoolOfLoopsOnlyDropsNewPlays) {
    for (int i = 0; i < SoundSystem::kVoices; ++i) ASSERT_EQ(backend.play(music, true), i);
    EXPECT_EQ(backend.play(bulb, false), -1);
    EXPECT_EQ(backend.play(music, true), -1);
    EXPECT_EQ(backend.playingVoices(), SoundSystem::kVoices);
    for (const Voice& v : backend.voices) EXPECT_EQ(v.sound, music);
}

TEST_F(LoopbackBackend, ReleasingAPlayingSoundStopsOnlyItsVoices) {
    alGetError();
    const int loop = backend.play(music, true);
    const int shot = backend.play(bulb, false);
    renderFor(kVideoFrame);
    backend.release(music);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    EXPECT_FALSE(backend.isPlaying(loop));
    EXPECT_TRUE(backend.isPlaying(shot));
    EXPECT_EQ(backend.voices[size_t(loop)].sound, nullptr);
    // Releasing again, or nothing, changes nothing.
    backend.release(music);
    backend.release(nullptr);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    EXPECT_EQ(backend.playingVoices(), 1);
    // The freed voice takes the next sound.
    EXPECT_EQ(backend.play(bulb, false), loop);
}

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
            hadOld_ = true;
        }
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (hadOld_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool hadOld_ = false;
};

// OpenAL reads its driver list once per process, so the check without a
// device runs in a fresh copy of this test program. Its exit status has one
// bit for each thing that went wrong; its standard error must stay empty.
TEST(AudioWithoutDevice, EverythingIsSilentAndNothingIsPrinted) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ScopedEnv drivers("ALSOFT_DRIVERS", "none");
    EXPECT_EXIT(
        {
            int faults = 0;
            if (AudioBackend::countOutputDevices() != 0) faults |= 1;
            AudioBackend backend;
            if (backend.init(SoundSystem::kVoices) || backend.ready()) faults |= 2;
            AudioSound* sound = backend.load(kSounds + "dontYou.mp3");
            if (sound) faults |= 4;
            if (backend.play(sound, true) != -1 || backend.playingVoices() != 0) faults |= 8;
            backend.release(sound);
            SoundSystem* system = new SoundSystem(kSounds);
            system->playMusic();
            system->playBulbSound();
            if (system->sounds || system->system->playingVoices() != 0) faults |= 16;
            delete system;
            std::fflush(stdout);
            std::exit(faults);
        },
        ::testing::ExitedWithCode(0), "^$");
}

// A recording mixes on a loopback device of its own, which needs no driver.
TEST(AudioWithoutDevice, ARecordingStillGetsTheMixOnALoopbackDevice) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ScopedEnv drivers("ALSOFT_DRIVERS", "none");
    EXPECT_EXIT(
        {
            int faults = 0;
            SoundSystem recording(kSounds, kRate);
            if (!recording.sounds || !recording.sounds->music || !recording.sounds->bulbSound)
                faults |= 1;
            recording.playMusic();
            const std::vector<float> mix = recording.system->render(kRate / 2);
            if (mix.size() != size_t(kRate) || dbfs(mix, 0, mix.size()) < -40.0) faults |= 2;
            std::exit(faults);
        },
        ::testing::ExitedWithCode(0), "^$");
}

}  // namespace
