#include "os/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

// Closes fd when open; the caller sees errno as error.
int Refuse(int fd, const std::string& text, int error, std::string& why) {
    why = text;
    if (fd >= 0) close(fd);
    errno = error;
    return -1;
}

int Failure(int fd, const char* what, std::string& why) {
    const int error = errno;
    return Refuse(fd, std::string(what) + ": " + std::strerror(error), error, why);
}

}  // namespace

// Without O_NONBLOCK the open of a FIFO waits until something writes to it.
int OpenRegularFile(const std::string& path, std::string& why) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Failure(fd, "cannot open", why);
    struct stat info;
    if (fstat(fd, &info) != 0) return Failure(fd, "cannot examine", why);
    if (!S_ISREG(info.st_mode)) return Refuse(fd, "not a regular file", EINVAL, why);
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return Failure(fd, "cannot open", why);
    return fd;
}

}  // namespace os
