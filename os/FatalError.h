// The report of an error that ends the program.
#pragma once

#include <string>

namespace os {

// Writes text to standard error, hands it to the report log (when one is
// set), shows it in a message box when a display is there (unless
// BRINDLEWICK_NO_DIALOG is "1"), then ends the process at once with exitCode:
// no destructors and no atexit handlers run, so nothing is saved.
[[noreturn]] void FatalScriptError(const std::string& text, int exitCode);

// Where a fatal report is kept on disk: the host points it at its log, so the
// reason stays once the box is closed. Null sets none. What it throws is
// dropped: the report goes on.
using FatalReportLog = void (*)(const std::string& text);
void SetFatalReportLog(FatalReportLog log);

// The text as the message box takes it: in UTF-8, where the report comes in the
// locale's character set (standard error keeps that, as the terminal uses it).
std::string DialogText(const std::string& text);

}  // namespace os
