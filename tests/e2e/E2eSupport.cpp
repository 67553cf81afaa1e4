#include "e2e/E2eSupport.h"

#include <unistd.h>

#include <regex>

using namespace std::chrono_literals;

const std::string kProgram = std::string(MD_BIN_DIR) + "/morrowdock";

namespace {

std::string windowId(const std::string& title) {
    const ProcessResult r = runCommand({"xdotool", "search", "--name", "^" + title + "$"}, ".", 10s);
    if (r.exitStatus != 0) return "";
    return r.out.substr(0, r.out.find('\n'));
}

}  // namespace

std::pair<int, int> windowSize(const std::string& title) {
    const ProcessResult r = runCommand({"xwininfo", "-name", title}, ".", 5s);
    if (r.exitStatus != 0) return {-1, -1};
    std::smatch w, h;
    const std::regex wr("Width: (\\d+)"), hr("Height: (\\d+)");
    if (!std::regex_search(r.out, w, wr) || !std::regex_search(r.out, h, hr)) return {-1, -1};
    return {std::stoi(w[1]), std::stoi(h[1])};
}

bool waitForWindow(const std::string& title, Process& program, std::chrono::milliseconds timeout) {
    bool shown = false;
    waitUntil(timeout, [&] {
        shown = windowSize(title).first > 0;
        return shown || !program.running();
    });
    return shown;
}

bool pressKey(const std::string& title, const std::string& key) {
    // Without a window manager, focus the window first, then type through XTEST.
    const std::string id = windowId(title);
    if (id.empty()) return false;
    if (runCommand({"xdotool", "windowfocus", id}, ".", 10s).exitStatus != 0) return false;
    return runCommand({"xdotool", "key", key}, ".", 10s).exitStatus == 0;
}

std::string screenshotOf(const std::string& title) {
    static int counter = 0;
    const std::string id = windowId(title);
    if (id.empty()) return "";
    const std::string file = "/tmp/md_shot_" + std::to_string(getpid()) + "_" +
                             std::to_string(counter++) + ".png";
    const ProcessResult r = runCommand({"import", "-window", id, file}, ".", 20s);
    return r.exitStatus == 0 ? file : "";
}

double imageDifference(const std::string& a, const std::string& b) {
    // compare prints "absolute (normalised)" on standard error.
    const ProcessResult r = runCommand({"compare", "-metric", "RMSE", a, b, "null:"}, ".", 20s);
    std::smatch m;
    const std::regex normalised("\\(([0-9.eE+-]+)\\)");
    if (!std::regex_search(r.err, m, normalised)) return -1.0;
    return std::stod(m[1]);
}
