#include "tests/support/CapturedOutput.h"

#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>

CapturedOutput::CapturedOutput(int fd) : m_Fd(fd), m_Saved(-1), m_File(memfd_create("captured output", MFD_CLOEXEC)) {
    if (m_File < 0) return;
    std::fflush(nullptr);
    m_Saved = dup(fd);
    if (m_Saved >= 0) dup2(m_File, fd);
}

CapturedOutput::~CapturedOutput() {
    Restore();
    if (m_File >= 0) close(m_File);
}

std::string CapturedOutput::Take() {
    Restore();
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while (m_File >= 0 && (got = pread(m_File, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0)
        text.append(buffer, static_cast<size_t>(got));
    return text;
}

void CapturedOutput::Restore() {
    if (m_Saved < 0) return;
    // What stdio still holds was written during the capture.
    std::fflush(nullptr);
    dup2(m_Saved, m_Fd);
    close(m_Saved);
    m_Saved = -1;
}
