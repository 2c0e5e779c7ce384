#include "os/Folders.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace os {

namespace {

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// Relative values are ignored, as the XDG base-directory rules ask.
const char* AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && value[0] == '/') ? value : nullptr;
}

}  // namespace

std::string ProgramFolder() {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return "";
        if (static_cast<size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(length));
            return path.substr(0, path.rfind('/') + 1);
        }
        // The link may have been cut short: read it again into more room.
        buffer.resize(buffer.size() * 2);
    }
}

std::string LocalDataFolder() {
    if (const char* data = AbsoluteEnv("XDG_DATA_HOME")) return WithTrailingSlash(data);
    if (const char* home = AbsoluteEnv("HOME")) return WithTrailingSlash(home) + ".local/share/";
    return "";
}

bool CreateFolder(const std::string& path) { return mkdir(path.c_str(), 0755) == 0; }

bool CreateFolderPath(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
    mkdir(path.c_str(), 0755);
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool CanWriteInFolder(const std::string& folder) {
    std::string probe = folder.empty() ? std::string() : WithTrailingSlash(folder);
    probe += ".write-probe.XXXXXX";
    const int fd = mkstemp(&probe[0]);
    if (fd < 0) return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

}  // namespace os
