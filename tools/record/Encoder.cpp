#include "Encoder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

extern char** environ;

namespace {

// Makes an empty file that did not exist before; false if the folder cannot
// be written.
bool createFresh(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    close(fd);
    return true;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

pid_t startProgram(const std::vector<std::string>& argv, int input) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

bool programSucceeded(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Encoder::Encoder(std::string output, int width, int height, int fps, int sampleRate)
    : output_(std::move(output)),
      width_(width),
      height_(height),
      fps_(fps),
      sampleRate_(sampleRate) {
    // Hidden names next to the output, so the final rename stays within one
    // file system and a failed run leaves nothing under the output's name.
    const std::string base =
        folderOf(output_) + "." + nameOf(output_) + "." + std::to_string(getpid());
    videoPath_ = base + ".video.mp4";
    soundPath_ = base + ".sound.f32";
    resultPath_ = base + ".mp4";
}

void Encoder::abandon() {
    closeVideo();
    if (sound_) std::fclose(sound_);
    sound_ = nullptr;
    std::remove(videoPath_.c_str());
    std::remove(soundPath_.c_str());
    std::remove(resultPath_.c_str());
}

bool Encoder::start() {
    if (!createFresh(videoPath_) || !createFresh(resultPath_) ||
        !(sound_ = std::fopen(soundPath_.c_str(), "wb"))) {
        error = "cannot write in the folder of " + output_ + ": " + std::strerror(errno);
        abandon();
        return false;
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    fcntl(pipeEnds[1], F_SETFD, FD_CLOEXEC);
    const std::string size = std::to_string(width_) + "x" + std::to_string(height_);
    // The rows arrive bottom first (GL's order); vflip puts them upright.
    encoder_ = startProgram({"ffmpeg",    "-hide_banner",
                             "-loglevel", "error",
                             "-nostdin",  "-y",
                             "-f",        "rawvideo",
                             "-pix_fmt",  "rgb24",
                             "-s",        size,
                             "-r",        std::to_string(fps_),
                             "-i",        "pipe:0",
                             "-vf",       "vflip",
                             "-c:v",      "libx264",
                             "-preset",   "medium",
                             "-crf",      "18",
                             "-pix_fmt",  "yuv420p",
                             "-f",        "mp4",
                             videoPath_},
                            pipeEnds[0]);
    close(pipeEnds[0]);
    if (encoder_ < 0) {
        close(pipeEnds[1]);
        error = "cannot start the encoder: the ffmpeg program is missing (Debian package ffmpeg)";
        return false;
    }
    frames_ = fdopen(pipeEnds[1], "wb");
    return frames_ != nullptr;
}

bool Encoder::addFrame(const std::vector<unsigned char>& rgb) {
    if (!frames_ || std::fwrite(rgb.data(), 1, rgb.size(), frames_) != rgb.size()) {
        error = "the encoder stopped taking frames";
        return false;
    }
    return true;
}

bool Encoder::addSound(const std::vector<float>& samples) {
    if (!sound_ ||
        std::fwrite(samples.data(), sizeof(float), samples.size(), sound_) != samples.size()) {
        error = "cannot write the sound: " + std::string(std::strerror(errno));
        return false;
    }
    return true;
}

bool Encoder::closeVideo() {
    if (encoder_ < 0) return false;
    const bool written = frames_ && std::fclose(frames_) == 0;
    frames_ = nullptr;
    const bool encoded = programSucceeded(encoder_);
    encoder_ = -1;
    return written && encoded;
}

bool Encoder::finish() {
    if (!closeVideo()) {
        error = "the video encoder failed";
        return false;
    }
    const bool soundWritten = sound_ && std::fclose(sound_) == 0;
    sound_ = nullptr;
    if (!soundWritten) {
        error = "cannot write the sound";
        return false;
    }
    const pid_t mux = startProgram({"ffmpeg",    "-hide_banner",
                                    "-loglevel", "error",
                                    "-nostdin",  "-y",
                                    "-i",        videoPath_,
                                    "-f",        "f32le",
                                    "-ar",       std::to_string(sampleRate_),
                                    "-ac",       "2",
                                    "-i",        soundPath_,
                                    "-map",      "0:v",
                                    "-map",      "1:a",
                                    "-c:v",      "copy",
                                    "-c:a",      "aac",
                                    "-b:a",      "192k",
                                    "-movflags", "+faststart",
                                    "-f",        "mp4",
                                    resultPath_},
                                   -1);
    if (mux < 0 || !programSucceeded(mux)) {
        error = "adding the sound failed";
        return false;
    }
    if (std::rename(resultPath_.c_str(), output_.c_str()) != 0) {
        error = "cannot write " + output_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
