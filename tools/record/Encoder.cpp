#include "Encoder.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
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
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The pid in a temporary name "<prefix><pid><suffix>" with one of the three
// suffixes the encoder uses, or 0 if the name is not one of ours.
pid_t pidOfTemporary(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    const char* digits = name.c_str() + prefix.size();
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    if (end == digits || pid <= 0 || pid > INT_MAX) return 0;
    for (const char* suffix : {".video.mp4", ".sound.f32", ".mp4"})
        if (std::strcmp(end, suffix) == 0) return pid_t(pid);
    return 0;
}

}  // namespace

std::string outputRefusal(const std::string& output) {
    struct stat s;
    if (lstat(output.c_str(), &s) != 0 || S_ISREG(s.st_mode)) return "";
    if (S_ISDIR(s.st_mode)) return output + " is a folder";
    if (S_ISLNK(s.st_mode)) {
        char target[PATH_MAX] = {};
        const ssize_t length = readlink(output.c_str(), target, sizeof target - 1);
        return output + " is a symbolic link" +
               (length > 0 ? std::string(" to ") + target : std::string()) +
               "; links are not followed, name the file itself";
    }
    const char* kind = S_ISFIFO(s.st_mode)                        ? "a FIFO"
                       : S_ISCHR(s.st_mode) || S_ISBLK(s.st_mode) ? "a device"
                       : S_ISSOCK(s.st_mode)                      ? "a socket"
                                                                  : "not a file";
    return output + " is " + kind + ", not a regular file; it is never replaced";
}

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

void Encoder::removeDeadRunsFiles() const {
    const std::string folder = folderOf(output_);
    const std::string prefix = "." + nameOf(output_) + ".";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const pid_t pid = pidOfTemporary(entry->d_name, prefix);
        // A live process (or one of another user: EPERM) keeps its files.
        if (pid == 0 || pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH) continue;
        const std::string path = folder + entry->d_name;
        struct stat s;
        if (lstat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode)) unlink(path.c_str());
    }
    closedir(dir);
}

bool Encoder::start() {
    removeDeadRunsFiles();
    if (!createFresh(videoPath_) || !createFresh(resultPath_) ||
        !(sound_ = std::fopen(soundPath_.c_str(), "wb"))) {
        error = "cannot make files in " + folderOf(output_) + " for " + output_ + ": " +
                std::strerror(errno);
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
    // What was a file when the recording began may have been replaced since.
    const std::string refusal = outputRefusal(output_);
    if (!refusal.empty()) {
        error = refusal;
        return false;
    }
    if (std::rename(resultPath_.c_str(), output_.c_str()) != 0) {
        error = "cannot write " + output_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
