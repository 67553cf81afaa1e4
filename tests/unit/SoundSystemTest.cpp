// The sound system as the program uses it, on OpenAL's null device: the two
// sounds, the endless music, overlapping bulb sounds, and missing files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../../tools/assetgen/sounds/SoundLengths.h"
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
    const std::string said =
        testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "");
    fs::remove_all(dir);
}

}  // namespace
