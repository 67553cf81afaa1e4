// The sound system as the program uses it, on OpenAL's null device: the two
// sounds, the endless music, overlapping bulb sounds, and missing files.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../../tools/assetgen/sounds/SoundLengths.h"
#include "SilentMp3.h"
#include "sound/SoundSystem.h"
#include "unit/QuietAudio.h"

namespace {

namespace fs = std::filesystem;

const fs::path kBuiltSounds = fs::path(MD_BUILD_DIR) / "sounds";

int voicesPlaying(const SoundSystem& s, const AudioSound* sound, bool looping) {
    int count = 0;
    for (size_t i = 0; i < s.system->voices.size(); ++i) {
        const Voice& v = s.system->voices[i];
        count += s.system->isPlaying(int(i)) && v.sound == sound && v.looping == looping;
    }
    return count;
}

TEST(SoundSystem, MusicLoopsAndEveryBulbCallOverlapsUpToTheVoiceLimit) {
    // Run from the program's folder, like the program.
    ASSERT_TRUE(fs::exists("../sounds/dontYou.mp3")) << "run in " << MD_BIN_DIR;
    SoundSystem sound;
    ASSERT_NE(sound.sounds, nullptr);
    ASSERT_NE(sound.sounds->music, nullptr);
    ASSERT_NE(sound.sounds->bulbSound, nullptr);
    EXPECT_EQ(sound.sounds->music->frames, assetgen::kMusicFrames);
    EXPECT_EQ(sound.sounds->bulbSound->frames, assetgen::kBulbFrames);

    sound.playMusic();
    EXPECT_EQ(voicesPlaying(sound, sound.sounds->music, true), 1);
    sound.playBulbSound();
    sound.playBulbSound();
    EXPECT_EQ(voicesPlaying(sound, sound.sounds->bulbSound, false), 2);
    // A lamp event at a very high frame rate calls it many more times: the
    // pool fills with bulbs, and the music keeps its voice.
    for (int i = 0; i < 60; ++i) sound.playBulbSound();
    EXPECT_EQ(sound.system->playingVoices(), SoundSystem::kVoices);
    EXPECT_EQ(voicesPlaying(sound, sound.sounds->music, true), 1);
    EXPECT_EQ(voicesPlaying(sound, sound.sounds->bulbSound, false), SoundSystem::kVoices - 1);
}

TEST(SoundSystem, AMissingOrBrokenFileSilencesOnlyThatSound) {
    const fs::path dir = fs::temp_directory_path() / ("md_sounds_" + std::to_string(getpid()));
    fs::create_directories(dir / "noMusic");
    fs::create_directories(dir / "brokenMusic");
    fs::copy_file(kBuiltSounds / "DyingLightBulb.mp3", dir / "noMusic" / "DyingLightBulb.mp3");
    std::ofstream(dir / "brokenMusic" / "dontYou.mp3") << "ID3 but nothing after it";

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        SoundSystem sound((dir / "noMusic").string() + "/");
        ASSERT_NE(sound.sounds, nullptr);
        EXPECT_EQ(sound.sounds->music, nullptr);
        ASSERT_NE(sound.sounds->bulbSound, nullptr);
        sound.playMusic();
        EXPECT_EQ(sound.system->playingVoices(), 0);
        sound.playBulbSound();
        EXPECT_EQ(voicesPlaying(sound, sound.sounds->bulbSound, false), 1);
    }
    {
        SoundSystem sound((dir / "brokenMusic").string() + "/");
        ASSERT_NE(sound.sounds, nullptr);
        EXPECT_EQ(sound.sounds->music, nullptr);
        EXPECT_EQ(sound.sounds->bulbSound, nullptr);
        sound.playMusic();
        sound.playBulbSound();
        EXPECT_EQ(sound.system->playingVoices(), 0);
    }
    // Only the file that is there but holds no sound is named.
    const std::string said =
        testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "Sound file cannot be played (not MP3 audio): " +
                        (dir / "brokenMusic").string() + "/dontYou.mp3\n");
    fs::remove_all(dir);
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Twenty minutes of music neither wait to be decoded nor take their length in
// memory (they would take over 200 MB as samples); the whole length is still
// known and played.
TEST(SoundSystem, ALongMusicFileIsPlayedWithoutHoldingItWhole) {
    const fs::path dir = fs::temp_directory_path() / ("md_long_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const double seconds = 20.0 * 60.0;
    std::ofstream(dir / "dontYou.mp3", std::ios::binary) << silentMp3(seconds);
    fs::copy_file(kBuiltSounds / "DyingLightBulb.mp3", dir / "DyingLightBulb.mp3");

    const long before = peakKilobytes();
    {
        SoundSystem sound(dir.string() + "/", 44100);
        ASSERT_NE(sound.sounds, nullptr);
        ASSERT_NE(sound.sounds->music, nullptr);
        EXPECT_EQ(sound.sounds->music->frames,
                  long(seconds * 44100.0) / kSilentMp3FramesPerFrame * kSilentMp3FramesPerFrame);
        sound.playMusic();
        const std::vector<float> mix = sound.system->render(44100);
        EXPECT_EQ(mix.size(), size_t(2 * 44100));
        EXPECT_EQ(sound.system->playingVoices(), 1);
    }
    EXPECT_LT(peakKilobytes() - before, 32L * 1024) << "kilobytes taken by the music";
    fs::remove_all(dir);
}

}  // namespace
