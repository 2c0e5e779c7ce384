// Files opened for reading only when they are plain files: a FIFO, a device
// or a folder is refused at once, where opening it could wait for a writer.
#pragma once

#include <string>

namespace os {

// A descriptor open for blocking reads, or -1 with why set and errno as the
// failure left it (ENOENT: no such file).
int OpenRegularFile(const std::string& path, std::string& why);

}  // namespace os
