#include "os/AtomicFile.h"

#include "os/RegularFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

std::string Failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool Fail(std::string& why, const std::string& text) {
    why = text;
    return false;
}

// Replacing a symbolic link would cut it from the file it names.
std::string ResolvedTarget(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;
    std::string target = real;
    std::free(real);
    return target;
}

// What the umask allows a new file.
mode_t FreshMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The new file keeps the old one's mode; a first file gets what the umask allows.
mode_t ModeFor(const std::string& target) {
    struct stat info;
    if (stat(target.c_str(), &info) == 0) return info.st_mode & 07777;
    return FreshMode();
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename itself lives in the folder; without this a power cut may undo it.
void SyncFolder(const std::string& path) {
    int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool WriteAndSync(const std::function<void(std::FILE*)>& write, std::FILE* file, std::string& why) {
    write(file);
    if (std::fflush(file) != 0 || std::ferror(file)) return Fail(why, Failure("cannot write"));
    if (fsync(fileno(file)) != 0) return Fail(why, Failure("cannot sync"));
    return true;
}

bool WriteTemporary(const std::function<void(std::FILE*)>& write, int fd, mode_t mode, std::string& why) {
    if (fchmod(fd, mode) != 0) {
        why = Failure("cannot set the mode");
        close(fd);
        return false;
    }
    std::FILE* file = fdopen(fd, "w");
    if (file == nullptr) {
        why = Failure("cannot write");
        close(fd);
        return false;
    }
    bool written = WriteAndSync(write, file, why);
    if (std::fclose(file) != 0 && written) return Fail(why, Failure("cannot close"));
    return written;
}

// Writes what is left to read from source; false, with why, when a read fails.
bool CopyRest(int source, std::FILE* file, std::string& why) {
    char chunk[65536];
    for (;;) {
        ssize_t got = read(source, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Fail(why, Failure("cannot read"));
        if (got == 0 || std::fwrite(chunk, 1, static_cast<size_t>(got), file) != static_cast<size_t>(got)) return true;
    }
}

// Where a link is refused (another filesystem, FAT, protected links), a copy
// of the bytes, with the file's permissions narrowed as a new file's are.
bool CopyBytes(const std::string& target, const std::string& temporary, std::string& why) {
    int source = OpenRegularFile(target, why);
    if (source < 0) return false;
    struct stat info {};
    int fd = -1;
    if (fstat(source, &info) != 0)
        why = Failure("cannot examine");
    else if ((fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)) < 0)
        why = Failure("cannot create a temporary file");
    bool wholeRead = true;
    const auto copy = [source, &wholeRead, &why](std::FILE* file) { wholeRead = CopyRest(source, file, why); };
    const bool copied = fd >= 0 && WriteTemporary(copy, fd, info.st_mode & FreshMode(), why) && wholeRead;
    close(source);
    if (!copied && fd >= 0) unlink(temporary.c_str());
    return copied;
}

}  // namespace

bool KeepCopy(const std::string& path, const std::string& copy, std::string& why) {
    // A fresh name for the link, then a rename over the old copy.
    std::string temporary = copy + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) return Fail(why, Failure("cannot create a temporary file"));
    close(fd);
    unlink(temporary.c_str());
    const std::string target = ResolvedTarget(path);
    if (link(target.c_str(), temporary.c_str()) != 0) {
        const std::string linkWhy = Failure("cannot link");
        if (!CopyBytes(target, temporary, why)) return Fail(why, linkWhy + "; " + why);
    }
    if (std::rename(temporary.c_str(), copy.c_str()) != 0) {
        why = Failure("cannot rename");
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool IsSameFile(const std::string& path, const std::string& other) {
    struct stat a, b;
    return stat(path.c_str(), &a) == 0 && stat(other.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool ReplaceFile(const std::string& path, const std::function<void(std::FILE*)>& write, std::string& why) {
    std::string target = ResolvedTarget(path);
    mode_t mode = ModeFor(target);
    std::string temporary = target + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) return Fail(why, Failure("cannot create a temporary file"));
    bool saved = WriteTemporary(write, fd, mode, why);
    if (saved && std::rename(temporary.c_str(), target.c_str()) != 0)
        saved = Fail(why, Failure("cannot replace the file"));
    if (!saved) {
        unlink(temporary.c_str());
        return false;
    }
    SyncFolder(target);
    return true;
}

}  // namespace os
