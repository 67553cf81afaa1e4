#pragma once
// Turns the recorded frames and sound into one MP4 file (H.264 in yuv420p,
// AAC) with the ffmpeg program: the frames go to it raw through a pipe while
// they are drawn, so the encoding runs beside the drawing in a process of
// its own; the sound is kept in a side file and muxed in at the end. Every
// file is made under a temporary name in the output's folder and the result
// is renamed onto the output only when all went well.

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <vector>

class Encoder {
public:
    Encoder(std::string output, int width, int height, int fps, int sampleRate);
    ~Encoder() { abandon(); }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // Checks that the output's folder can be written (by making the
    // temporary files) and starts the video encoder; false with `error` set.
    bool start();
    // One frame: RGB rows, bottom row first, width x height.
    bool addFrame(const std::vector<unsigned char>& rgb);
    // Stereo interleaved samples, full scale at 1.
    bool addSound(const std::vector<float>& samples);
    // Ends the video, muxes in the sound and renames the result onto the
    // output.
    bool finish();
    // Stops the encoder and removes every temporary file; the output is not
    // touched.
    void abandon();

    std::string error;

private:
    std::string output_, videoPath_, soundPath_, resultPath_;
    int width_, height_, fps_, sampleRate_;
    pid_t encoder_ = -1;
    FILE* frames_ = nullptr;
    FILE* sound_ = nullptr;

    bool closeVideo();
    // Removes the temporary files that recordings of the same output left
    // when they were killed (their process is gone).
    void removeDeadRunsFiles() const;
};

// Why an existing `output` must not be replaced, or "" if it may be (it is
// missing or a regular file). Folders, FIFOs, devices and sockets are
// refused, and so is a symbolic link, whatever it points to: the rename at
// the end would replace the link itself, and following it could reach a
// device.
std::string outputRefusal(const std::string& output);

// Runs a program (searched on PATH) with the given arguments, standard
// input from `input` when it is not -1; its pid, or -1 if it cannot start.
pid_t startProgram(const std::vector<std::string>& argv, int input);
// Waits for it; true if it exited with status 0.
bool programSucceeded(pid_t pid);
