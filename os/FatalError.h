// The report of an error that ends the program.
#pragma once

#include <string>

namespace os {

// Writes text to standard error, shows it in a message box when a display is
// there (unless BRINDLEWICK_NO_DIALOG is "1"), then ends the process at once
// with exitCode: no destructors and no atexit handlers run, so nothing is saved.
[[noreturn]] void FatalScriptError(const std::string& text, int exitCode);

// The text as the message box takes it: in UTF-8, where the report comes in the
// locale's character set (standard error keeps that, as the terminal uses it).
std::string DialogText(const std::string& text);

}  // namespace os
