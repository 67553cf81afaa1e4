#pragma once
// Runs the real program (or a tool) as a child process with standard input
// closed, collecting its output and exit status, with a time limit.

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct ProcessResult {
    int exitStatus = -1;  // -1 if killed or not exited
    int signal = 0;       // the signal that ended it, if one did
    bool timedOut = false;
    double seconds = 0.0;
    long peakKilobytes = 0;  // the most memory it held at once (its peak RSS)
    std::string out;
    std::string err;
};

class Process {
public:
    // Starts argv[0] (searched on PATH) in workingDir with extra environment.
    Process(const std::vector<std::string>& argv, const std::string& workingDir,
            const std::map<std::string, std::string>& env = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool running();
    // Waits up to timeout; on timeout the child is killed.
    ProcessResult wait(std::chrono::milliseconds timeout);

private:
    bool reap(int options);

    int pid_ = -1;
    std::string outPath_, errPath_;
    std::chrono::steady_clock::time_point start_;
    int status_ = 0;
    long peakKilobytes_ = 0;
    bool reaped_ = false;
};

// Runs a command to completion and returns its result.
ProcessResult runCommand(const std::vector<std::string>& argv, const std::string& workingDir = ".",
                         std::chrono::milliseconds timeout = std::chrono::seconds(30),
                         const std::map<std::string, std::string>& env = {});

// Polls f every 100 ms until it is true or the timeout passes.
bool waitUntil(std::chrono::milliseconds timeout, const std::function<bool()>& f);
