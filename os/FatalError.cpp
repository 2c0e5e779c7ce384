#include "os/FatalError.h"

#include "os/CodePage.h"

#include <SDL.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace os {

namespace {

// Straight to the descriptor: stdio buffers are not flushed by _exit.
void WriteAll(int fd, const std::string& text) {
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t written = write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        data += written;
        left -= static_cast<size_t>(written);
    }
}

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Headless runs and tests set BRINDLEWICK_NO_DIALOG so nothing waits for a click.
bool MayShowDialog() {
    const char* noDialog = std::getenv("BRINDLEWICK_NO_DIALOG");
    if (noDialog != nullptr && std::strcmp(noDialog, "1") == 0) return false;
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void ShowDialog(const std::string& text) {
    if (MayShowDialog()) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", DialogText(text).c_str(), nullptr);
}

// A step of the report that fails (the report may be of lack of memory)
// leaves the others to be done.
void Quietly(void (*step)(const std::string&), const std::string& text) {
    try {
        step(text);
    } catch (...) {
    }
}

FatalReportLog g_ReportLog = nullptr;

}  // namespace

void SetFatalReportLog(FatalReportLog log) { g_ReportLog = log; }

void FatalScriptError(const std::string& text, int exitCode) {
    WriteAll(STDERR_FILENO, text);
    WriteAll(STDERR_FILENO, "\n");
    if (g_ReportLog) Quietly(g_ReportLog, text);
    Quietly(ShowDialog, text);
    _exit(exitCode);
}

std::string DialogText(const std::string& text) { return AnsiToUtf8(text.c_str()); }

}  // namespace os
