#include "e2e/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string tempPath(const char* tag) {
    static int counter = 0;
    return "/tmp/md_e2e_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + tag;
}

}  // namespace

Process::Process(const std::vector<std::string>& argv, const std::string& workingDir,
                 const std::map<std::string, std::string>& env)
    : outPath_(tempPath(".out")), errPath_(tempPath(".err")) {
    start_ = std::chrono::steady_clock::now();
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        int in = open("/dev/null", O_RDONLY);
        int out = open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (chdir(workingDir.c_str()) != 0) _exit(127);
#ifdef MD_KEEP_DRIVER_LIB
        // Sanitizer builds: let the leak checker recognise the GL driver's own
        // leaks in the program (the X tools run as they are).
        if (argv[0].find("morrowdock") != std::string::npos) {
            setenv("LD_PRELOAD", MD_KEEP_DRIVER_LIB, 1);
            setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
            setenv("LSAN_OPTIONS", "suppressions=" MD_LSAN_SUPPRESSIONS, 1);
        }
#endif
        for (const auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
}

Process::~Process() {
    if (pid_ > 0 && !reaped_) {
        kill(-pid_, SIGKILL);
        reap(0);
    }
    std::remove(outPath_.c_str());
    std::remove(errPath_.c_str());
}

bool Process::reap(int options) {
    rusage usage{};
    if (wait4(pid_, &status_, options, &usage) != pid_) return false;
    peakKilobytes_ = usage.ru_maxrss;
    reaped_ = true;
    return true;
}

bool Process::running() {
    if (!reaped_) reap(WNOHANG);
    return !reaped_;
}

ProcessResult Process::wait(std::chrono::milliseconds timeout) {
    ProcessResult r;
    const auto deadline = start_ + timeout;
    while (running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!reaped_) {
        r.timedOut = true;
        kill(-pid_, SIGKILL);
        reap(0);
    } else if (WIFEXITED(status_)) {
        r.exitStatus = WEXITSTATUS(status_);
    } else if (WIFSIGNALED(status_)) {
        r.signal = WTERMSIG(status_);
    }
    r.peakKilobytes = peakKilobytes_;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    r.out = readFile(outPath_);
    r.err = readFile(errPath_);
    return r;
}

ProcessResult runCommand(const std::vector<std::string>& argv, const std::string& workingDir,
                         std::chrono::milliseconds timeout,
                         const std::map<std::string, std::string>& env) {
    Process p(argv, workingDir, env);
    return p.wait(timeout);
}

bool waitUntil(std::chrono::milliseconds timeout, const std::function<bool()>& f) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (f()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return f();
}
