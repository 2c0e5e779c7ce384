// Files replaced whole: whoever reads the file, even after a crash or a
// power cut, finds the old contents or the new, never a part.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace os {

// Has write fill a temporary file beside path, syncs it and renames it over
// path (over the file a symbolic link names), keeping the old file's mode.
// On failure the old file is untouched, the temporary is gone and why says
// what failed.
bool ReplaceFile(const std::string& path, const std::function<void(std::FILE*)>& write, std::string& why);

// Gives the file (the file a symbolic link names) a second name, copy,
// replacing what had that name: a replace of the file then loses nothing.
// Where the filesystem refuses the link, copy is a copy of its bytes; only a
// regular file is copied so. On failure why says what failed.
bool KeepCopy(const std::string& path, const std::string& copy, std::string& why);

// True when both paths name one existing file (after symbolic links).
bool IsSameFile(const std::string& path, const std::string& other);

}  // namespace os
