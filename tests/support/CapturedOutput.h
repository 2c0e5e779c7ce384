// What this process writes to its standard output or error, caught in a file
// without a name: nothing is left behind, even when the process ends with
// _exit (a death test's child) or is killed.
#pragma once

#include <string>

class CapturedOutput {
public:
    // fd is STDOUT_FILENO or STDERR_FILENO; the capture begins at once.
    explicit CapturedOutput(int fd);
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Ends the capture (the stream writes where it did before) and returns
    // all that was written during it.
    std::string Take();

private:
    void Restore();

    int m_Fd;
    int m_Saved;
    int m_File;
};
