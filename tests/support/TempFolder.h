// A fresh folder for one test, removed with everything in it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Where temporary files go: TMPDIR, as the test command sets it, else /tmp.
inline std::string TemporaryBase() {
    const char* base = std::getenv("TMPDIR");
    return base != nullptr && base[0] != '\0' ? base : "/tmp";
}

class TempFolder {
public:
    // In another existing folder (e.g. "/dev/shm") when base is given.
    explicit TempFolder(const std::string& base = TemporaryBase()) {
        std::string name = base + "/bw_test_XXXXXX";
        if (mkdtemp(&name[0]) != nullptr) m_Path = name + "/";
    }
    ~TempFolder() {
        if (!m_Path.empty()) nftw(m_Path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending in '/'.
    const std::string& Path() const { return m_Path; }
    std::string operator/(const std::string& name) const { return m_Path + name; }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(m_Path + name, std::ios::binary) << text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream file(m_Path + name, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

private:
    static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
        std::remove(path);
        return 0;
    }

    std::string m_Path;
};

// How many entries the folder holds, leaving out those whose names begin with '.'.
inline int EntriesIn(const std::string& folder) {
    int count = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.' ? 1 : 0;
        closedir(dir);
    }
    return count;
}
