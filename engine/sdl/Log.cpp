#include "engine/sdl/Log.h"

#include "engine/sdl/Paths.h"

#include <cstdio>

namespace gfxsdl {

void Log::SetFile(const std::string& name) {
    m_Name = name;
    m_Path = name.empty() ? std::string() : ResolveProgramPath(name);
    if (m_Path.empty()) return;
    if (FILE* f = std::fopen(m_Path.c_str(), "w")) std::fclose(f);
}

std::string Log::Folder() const {
    if (m_Path.empty()) return ProgramFolder();
    return m_Path.substr(0, m_Path.rfind('/') + 1);
}

void Log::Write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteV(format, args);
    va_end(args);
}

void Log::WriteV(const char* format, va_list args) {
    if (!format) return;
    char line[1024];
    va_list copy;
    va_copy(copy, args);
    std::vsnprintf(line, sizeof line, format, copy);
    va_end(copy);
    m_Last = line;
    if (m_Path.empty()) return;
    // Opened per line so that a crash keeps every line written before it.
    FILE* f = std::fopen(m_Path.c_str(), "a");
    if (!f) return;
    std::vfprintf(f, format, args);
    std::fputc('\n', f);
    std::fclose(f);
}

void Log::WriteOnce(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Once(line, line);
}

void Log::Once(const std::string& key, const char* text) {
    if (m_Said.insert(key).second) Write("%s", text);
}

}  // namespace gfxsdl
