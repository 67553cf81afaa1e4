#include "core/ProgramFolder.h"

#include <unistd.h>

#include <string>

bool enterProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size()) return false;
    path.resize(static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return false;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    return chdir(folder.c_str()) == 0;
}
