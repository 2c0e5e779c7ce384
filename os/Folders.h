// Folders and files of the running program and its user.
#pragma once

#include <string>

namespace os {

// Folder of the running executable, ending in '/'; "" when it cannot be found.
std::string ProgramFolder();

// The user's data folder ($XDG_DATA_HOME, else $HOME/.local/share), ending in
// '/'; "" when neither variable gives an absolute folder.
std::string LocalDataFolder();

// Makes one folder level with mode 0755; true only when it was made now.
bool CreateFolder(const std::string& path);

// Makes the folder and every missing folder above it, each with mode 0755;
// true when the folder is there afterwards.
bool CreateFolderPath(const std::string& path);

// True when path names an existing entry that is not a folder.
bool FileExists(const std::string& path);

// True when the file was removed.
bool RemoveFile(const std::string& path);

// True when a file can be made in the folder now: one is made and removed
// again, since the permission bits do not tell (root, read-only mounts).
// "" is the working folder.
bool CanWriteInFolder(const std::string& folder);

}  // namespace os
