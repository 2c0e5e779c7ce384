#include "engine/sdl/Paths.h"

#include "os/Folders.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace gfxsdl {

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

const std::string& ProgramFolder() {
    static const std::string folder = os::ProgramFolder();
    return folder;
}

std::string ResolveProgramPath(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    std::string relative = name;
    for (char& c : relative)
        if (c == '\\') c = '/';
    size_t first = relative.find_first_not_of('/');
    relative = first == std::string::npos ? std::string() : relative.substr(first);
    return ProgramFolder() + relative;
}

std::string FindFileNoCase(const std::string& path) {
    if (IsRegularFile(path)) return path;
    if (path.empty() || path[0] != '/') return {};
    // Walk the components: each is taken as it is when it exists, else the
    // first directory entry that matches it without regard to case.
    std::string found;
    size_t pos = 1;
    while (pos <= path.size()) {
        size_t next = path.find('/', pos);
        if (next == std::string::npos) next = path.size();
        std::string part = path.substr(pos, next - pos);
        pos = next + 1;
        if (part.empty()) continue;
        std::string exact = found + "/" + part;
        struct stat st;
        if (stat(exact.c_str(), &st) == 0) {
            found = exact;
            continue;
        }
        DIR* dir = opendir(found.empty() ? "/" : found.c_str());
        if (!dir) return {};
        std::string match;
        while (dirent* entry = readdir(dir)) {
            if (strcasecmp(entry->d_name, part.c_str()) == 0) {
                match = entry->d_name;
                break;
            }
        }
        closedir(dir);
        if (match.empty()) return {};
        found += "/" + match;
    }
    return IsRegularFile(found) ? found : std::string();
}

}  // namespace gfxsdl
