// The engine's log file: printf-style lines appended to a file in the
// program's folder (or at an absolute path). Without a file nothing is kept.
#pragma once

#include <cstdarg>
#include <set>
#include <string>

namespace gfxsdl {

class Log {
public:
    // A relative name lies in the program's folder; empty = no log file.
    // Setting a file starts it anew, so each run has a log of its own.
    void SetFile(const std::string& name);
    const std::string& Name() const { return m_Name; }
    // The folder the file lies in, ending in '/'; the program's folder
    // without a file.
    std::string Folder() const;

    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void WriteV(const char* format, va_list args);
    // Writes the line only the first time this key is given in a run.
    void Once(const std::string& key, const char* text);
    // Writes the line unless the same line was written before in this run:
    // a file that fails on every frame would otherwise fill the log.
    void WriteOnce(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The last line written (also without a log file).
    const std::string& Last() const { return m_Last; }

private:
    std::string m_Name;
    std::string m_Path;
    std::set<std::string> m_Said;
    std::string m_Last;
};

}  // namespace gfxsdl
