// The program's sound output, captured through OpenAL Soft's WAV file
// writer, and runs without sound.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "e2e/DataTree.h"
#include "e2e/E2eSupport.h"
#include "e2e/Process.h"
#include "e2e/WavFile.h"

using namespace std::chrono_literals;

namespace {

// An OpenAL configuration that sends the mix to a WAV file instead of a
// device; removes both files at the end.
class WaveCapture {
public:
    explicit WaveCapture(const std::string& tag) {
        const std::string base = "/tmp/md_sound_" + std::to_string(getpid()) + "_" + tag;
        config_ = base + ".conf";
        wav = base + ".wav";
        std::remove(wav.c_str());
        std::ofstream(config_) << "[general]\ndrivers=wave\n[wave]\nfile=" << wav << "\n";
    }
    ~WaveCapture() {
        std::remove(config_.c_str());
        std::remove(wav.c_str());
    }
    std::map<std::string, std::string> env() const { return {{"ALSOFT_CONF", config_}}; }

    std::string wav;

private:
    std::string config_;
};

// Runs the program until its window has been up for `seconds`, then ends it
// with Escape; the run must go on until then and end cleanly.
ProcessResult runFor(const std::string& title, const std::string& dir,
                     const std::map<std::string, std::string>& env, std::chrono::seconds seconds) {
    Process program({kProgram, "640", "480", title, "60", "0"}, dir, env);
    const bool shown = waitForWindow(title, program, 60s);
    std::this_thread::sleep_for(seconds);
    const bool stillRunning = program.running();
    const bool pressed = pressKey(title, "Escape");
    ProcessResult r = program.wait(30s);
    EXPECT_TRUE(shown && stillRunning && pressed) << r.out << r.err;
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return r;
}

TEST(Sound, MusicPlaysWithoutABreakFromStartUpToTheEnd) {
    WaveCapture capture("music");
    runFor("SoundMusic", MD_BIN_DIR, capture.env(), 4s);
    const WavFile wav = readWav(capture.wav);
    ASSERT_EQ(wav.error, "");
    EXPECT_EQ(wav.channels, 2);
    ASSERT_GT(wav.rate, 0);
    const size_t half = size_t(wav.rate / 2);
    const size_t blocks = wav.frames() / half;
    std::printf("captured %.2f s at %d Hz, level %.1f dBFS\n", double(wav.frames()) / wav.rate,
                wav.rate, levelDb(wav, 0, wav.frames()));
    // The writer starts with the device, as the music starts (after the
    // window and the scene), so every half second it wrote carries the
    // music, the first one included.
    ASSERT_GE(blocks, 4u);
    for (size_t i = 0; i < blocks; ++i) {
        SCOPED_TRACE("half second " + std::to_string(i));
        EXPECT_GT(levelDb(wav, i * half, (i + 1) * half), -30.0);
    }
    float peak = 0.0f;
    for (float s : wav.samples) peak = std::max(peak, std::fabs(s));
    EXPECT_LT(peak, 1.0f) << "the mix clips";
}

TEST(Sound, WithoutMusicFileTheRunIsSilentAndSaysNothing) {
    WaveCapture capture("nomusic");
    DataTree tree({"sounds/dontYou.mp3"});
    const ProcessResult r = runFor("SoundNoMusic", tree.binDir(), capture.env(), 3s);
    const WavFile wav = readWav(capture.wav);
    ASSERT_EQ(wav.error, "");
    // The device was open (the bulb is loaded and waits for the lamp), but
    // nothing was played.
    ASSERT_GT(wav.frames(), size_t(wav.rate));
    EXPECT_LT(levelDb(wav, 0, wav.frames()), -90.0);
    EXPECT_EQ(r.out.find("dontYou"), std::string::npos) << r.out;
    EXPECT_EQ(r.err.find("dontYou"), std::string::npos) << r.err;
}

TEST(Sound, WithoutAnOutputDeviceTheProgramRunsSilently) {
    // A driver list that names no existing driver leaves OpenAL without a device.
    const ProcessResult r = runFor("SoundNoDevice", MD_BIN_DIR, {{"ALSOFT_DRIVERS", "none"}}, 2s);
    for (const char* noise : {"AL lib", "ALSA", "OpenAL", "mpg123", "sound"}) {
        EXPECT_EQ(r.out.find(noise), std::string::npos) << r.out;
        EXPECT_EQ(r.err.find(noise), std::string::npos) << r.err;
    }
}

}  // namespace
