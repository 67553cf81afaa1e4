// The recording tool: a short stretch of the day as an MP4 file with its
// sound, checked with ffprobe; the bulb's sound where the lamp fails; and
// the arguments it refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "e2e/E2eSupport.h"
#include "e2e/WavFile.h"

using namespace std::chrono_literals;

namespace {

const std::string kRecord = std::string(MD_BIN_DIR) + "/record";
constexpr int kFps = 30;

std::string tempPath(const std::string& tag, const std::string& ext) {
    return "/tmp/md_record_" + std::to_string(getpid()) + "_" + tag + ext;
}

// ffprobe's key=value lines for one stream ("v:0" or "a:0").
std::map<std::string, std::string> probeStream(const std::string& file, const std::string& which) {
    const ProcessResult r = runCommand(
        {"ffprobe", "-v", "error", "-select_streams", which, "-count_frames", "-show_entries",
         "stream=codec_name,width,height,pix_fmt,r_frame_rate,"
         "nb_read_frames,duration",
         "-of", "default=noprint_wrappers=1", file},
        ".", 60s);
    std::map<std::string, std::string> values;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

int streamCount(const std::string& file) {
    const ProcessResult r = runCommand(
        {"ffprobe", "-v", "error", "-show_entries", "stream=index", "-of", "csv=p=0", file}, ".",
        30s);
    int count = 0;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) count += line.empty() ? 0 : 1;
    return count;
}

// The file's sound, decoded (through an ffmpeg filter, if given) to a WAV
// file and read back.
WavFile soundOf(const std::string& file, const std::string& filter = "anull") {
    const std::string wav = tempPath("sound", ".wav");
    runCommand(
        {"ffmpeg", "-v", "error", "-y", "-i", file, "-vn", "-af", filter, "-c:a", "pcm_f32le", wav},
        ".", 60s);
    WavFile sound = readWav(wav);
    std::remove(wav.c_str());
    return sound;
}

// The temporary files the tool made next to `out` and left behind.
int leftovers(const std::string& out) {
    const std::filesystem::path path(out);
    const std::string prefix = "." + path.filename().string() + ".";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path()))
        count += entry.path().filename().string().rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

ProcessResult record(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {kRecord};
    argv.insert(argv.end(), args.begin(), args.end());
    return runCommand(argv, MD_BIN_DIR, 600s);
}

TEST(Record, TwoSecondsGiveOneH264StreamAndTheSoundOfTheSameLength) {
    const std::string out = tempPath("short", ".mp4");
    const ProcessResult r = record({"160", "120", std::to_string(kFps), out, "0", "2"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_NE(r.out.find("60 frames at 30 fps"), std::string::npos) << r.out;
    EXPECT_EQ(leftovers(out), 0);

    EXPECT_EQ(streamCount(out), 2);
    auto video = probeStream(out, "v:0");
    EXPECT_EQ(video["codec_name"], "h264");
    EXPECT_EQ(video["pix_fmt"], "yuv420p");
    EXPECT_EQ(video["width"], "160");
    EXPECT_EQ(video["height"], "120");
    EXPECT_EQ(video["r_frame_rate"], "30/1");
    EXPECT_EQ(video["nb_read_frames"], "60");

    auto audio = probeStream(out, "a:0");
    EXPECT_EQ(audio["codec_name"], "aac");
    EXPECT_NEAR(std::atof(audio["duration"].c_str()), 2.0, 1.0 / kFps);
    const WavFile sound = soundOf(out);
    ASSERT_EQ(sound.error, "");
    EXPECT_NEAR(double(sound.frames()) / sound.rate, 2.0, 1.0 / kFps);
    // The music plays from the first frame on.
    const size_t half = size_t(sound.rate / 2);
    EXPECT_GT(levelDb(sound, 0, half), -40.0);
    EXPECT_GT(levelDb(sound, 3 * half, 4 * half), -40.0);
    std::remove(out.c_str());
}

TEST(Record, TheBulbSoundStartsOnTheFrameOfTheLampFailure) {
    // The lamp fails on the first frame whose clock passes 7200: 20.45 s
    // after the first frame, frame 614 at 30 fps.
    const double from = 19.5;
    const int failureFrame = int(std::ceil((7200.0 - 4950.0) / 110.0 * kFps + 1e-9));
    const double failureAt = double(failureFrame) / kFps - from;
    const std::string out = tempPath("lamp", ".mp4");
    const ProcessResult r = record({"160", "120", std::to_string(kFps), out, "19.5", "21.5"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    // Below 150 Hz the music is steady here and the bulb's crackle is not.
    const WavFile sound = soundOf(out, "lowpass=f=150,lowpass=f=150");
    ASSERT_EQ(sound.error, "");
    // The onset: the first 5 ms block more than 6 dB above the level of the
    // range's first half second, well before the failure.
    const size_t block = size_t(sound.rate / 200);
    const double before = levelDb(sound, 0, size_t(sound.rate / 2));
    double onset = -1.0;
    for (size_t b = 0; (b + 1) * block <= sound.frames(); ++b)
        if (levelDb(sound, b * block, (b + 1) * block) > before + 6.0) {
            onset = double(b * block) / sound.rate;
            break;
        }
    std::printf("music %.1f dBFS, onset at %.3f s, failure frame at %.3f s\n", before, onset,
                failureAt);
    EXPECT_NEAR(onset, failureAt, 1.0 / kFps);
    std::remove(out.c_str());
}

// An output that exists and is not a regular file is never replaced: a
// FIFO, and a symbolic link, which is refused rather than followed. The
// temporary files a killed run left next to an output go with the next run
// to it, those of a process still alive stay.
TEST(Record, OnlyARegularFileIsReplacedAndADeadRunsTemporaryFilesGo) {
    namespace fs = std::filesystem;
    const fs::path dir = tempPath("special", "");
    fs::create_directories(dir);
    const fs::path fifo = dir / "fifo.mp4", link = dir / "link.mp4", target = dir / "kept.mp4";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::ofstream(target) << "kept";
    fs::create_symlink(target, link);
    for (const fs::path& out : {fifo, link}) {
        const ProcessResult r = record({"160", "120", "30", out.string(), "0", "0.1"});
        EXPECT_EQ(r.exitStatus, 1) << out;
        EXPECT_NE(r.err.find("record: " + out.string()), std::string::npos) << r.err;
        // Refused with the arguments, before start-up.
        EXPECT_NE(r.err.find("usage: record"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    std::string kept;
    std::ifstream(target) >> kept;
    EXPECT_EQ(kept, "kept");
    EXPECT_EQ(leftovers(fifo.string()) + leftovers(link.string()), 0);

    // A process that has ended: its pid is free.
    const pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_GT(dead, 0);
    waitpid(dead, nullptr, 0);
    const fs::path out = dir / "day.mp4";
    const std::string stale = "." + out.filename().string() + "." + std::to_string(dead);
    const std::string alive = "." + out.filename().string() + "." + std::to_string(getpid());
    for (const std::string suffix : {".video.mp4", ".sound.f32", ".mp4"})
        std::ofstream(dir / (stale + suffix)) << "left by a killed run";
    std::ofstream(dir / (alive + ".video.mp4")) << "still being written";
    const ProcessResult r = record({"160", "120", "30", out.string(), "0", "0.1"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(out));
    EXPECT_EQ(leftovers(out.string()), 1);
    EXPECT_TRUE(fs::exists(dir / (alive + ".video.mp4")));
    fs::remove_all(dir);
}

TEST(Record, BadArgumentsAndAMissingEncoderAreRefusedAndLeaveNoFile) {
    const std::string out = tempPath("bad", ".mp4");
    const std::vector<std::vector<std::string>> bad = {
        {"0", "120", "30", out},
        {"160", "-120", "30", out},
        {"160", "120", "0", out},
        {"160", "120", "-5", out},
        {"161", "120", "30", out},
        {"160", "120", "thirty", out},
        {"160", "120", "30", out, "-1", "2"},
        {"160", "120", "30", out, "149", "170"},
        {"160", "120", "30", out, "3", "2"},
        {"160", "120", "30", out, "1"},
        {"160", "120", "30", "/proc/md_record.mp4"},
        {"160", "120", "30", "/md_record_no_such_folder/out.mp4"},
        {"160", "120", "30", "/tmp"}};
    for (const auto& args : bad) {
        const ProcessResult r = record(args);
        std::string line;
        for (const std::string& a : args) line += a + " ";
        EXPECT_EQ(r.exitStatus, 1) << line;
        EXPECT_NE(r.err.find("record: "), std::string::npos) << line << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << line;
    }
    // Without the encoder on the PATH, and without a display to open the
    // window on (start-up then ends the process itself).
    const ProcessResult noEncoder =
        runCommand({kRecord, "160", "120", "30", out, "0", "1"}, MD_BIN_DIR, 60s,
                   {{"PATH", "/md_record_no_such_folder"}});
    EXPECT_EQ(noEncoder.exitStatus, 1);
    EXPECT_NE(noEncoder.err.find("ffmpeg"), std::string::npos) << noEncoder.err;
    const ProcessResult noDisplay = runCommand({kRecord, "160", "120", "30", out, "0", "1"},
                                               MD_BIN_DIR, 60s, {{"DISPLAY", ""}});
    EXPECT_EQ(noDisplay.exitStatus, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(leftovers(out), 0);
}

}  // namespace
