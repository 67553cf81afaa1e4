// The program's sound output, captured through OpenAL Soft's WAV file
// writer, and a run without an output device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#include "SilentMp3.h"
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

// Runs the program for `seconds` after its window is up and `started` holds,
// then ends it with Escape; the run must go on until then and end cleanly.
ProcessResult runFor(const std::string& title, const std::map<std::string, std::string>& env,
                     std::chrono::seconds seconds, const std::function<bool()>& started,
                     const std::string& programPath = kProgram,
                     const std::string& folder = MD_BIN_DIR) {
    Process program({programPath, "640", "480", title, "60", "0"}, folder, env);
    const bool shown = waitForWindow(title, program, 60s) && waitUntil(60s, started);
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
    // The file appears when the program opens the device, just before the music starts.
    runFor("SoundMusic", capture.env(), 3s, [&] { return std::filesystem::exists(capture.wav); });
    const WavFile wav = readWav(capture.wav);
    ASSERT_EQ(wav.error, "");
    EXPECT_EQ(wav.channels, 2);
    ASSERT_GT(wav.rate, 0);
    const size_t half = size_t(wav.rate / 2);
    const size_t blocks = wav.frames() / half;
    std::printf("captured %.2f s at %d Hz, level %.1f dBFS\n", double(wav.frames()) / wav.rate,
                wav.rate, levelDb(wav, 0, wav.frames()));
    // Every half second the writer wrote carries the music, the first one included.
    ASSERT_GE(blocks, 5u);
    for (size_t i = 0; i < blocks; ++i) {
        SCOPED_TRACE("half second " + std::to_string(i));
        EXPECT_GT(levelDb(wav, i * half, (i + 1) * half), -30.0);
    }
    float peak = 0.0f;
    for (float s : wav.samples) peak = std::max(peak, std::fabs(s));
    EXPECT_LT(peak, 1.0f) << "the mix clips";
}

TEST(Sound, WithoutAnOutputDeviceTheProgramRunsSilently) {
    // A driver list that names no existing driver leaves OpenAL without a
    // device; the default drivers on a machine without a sound card fail to
    // open theirs. Neither may put driver complaints on the console.
    for (const auto& env : std::vector<std::map<std::string, std::string>>{
             {{"ALSOFT_DRIVERS", "none"}}, {{"ALSOFT_DRIVERS", "alsa"}}}) {
        const ProcessResult r = runFor("SoundNoDevice", env, 2s, [] { return true; });
        for (const char* noise : {"AL lib", "ALSA", "OpenAL", "mpg123", "sound"}) {
            EXPECT_EQ(r.out.find(noise), std::string::npos) << r.out;
            EXPECT_EQ(r.err.find(noise), std::string::npos) << r.err;
        }
    }
}

// Half an hour of music makes start-up take no more memory than the usual
// music does (decoded whole, it would add over 300 MB as samples alone). The
// music is silence, so only the memory and the clean run are checked here.
TEST(Sound, ALongMusicFileTakesNoMoreMemoryThanTheUsualOne) {
    WaveCapture usualCapture("usual"), longCapture("long");
    const ProcessResult usual = runFor("SoundUsual", usualCapture.env(), 1s,
                                       [&] { return std::filesystem::exists(usualCapture.wav); });
    const DataTree tree({}, {{"sounds/dontYou.mp3", {silentMp3(30.0 * 60.0)}}});
    const ProcessResult longer = runFor(
        "SoundLong", longCapture.env(), 1s,
        [&] { return std::filesystem::exists(longCapture.wav); }, tree.program(), tree.binDir());
    std::printf("peak memory: %ld MB with the usual music, %ld MB with half an hour\n",
                usual.peakKilobytes / 1024, longer.peakKilobytes / 1024);
    ASSERT_GT(usual.peakKilobytes, 0);
    EXPECT_LT(longer.peakKilobytes - usual.peakKilobytes, 64L * 1024);
}

}  // namespace
