// The scripts' debug output. Standard output belongs to the scripts' print,
// so this goes to standard error.
#pragma once

namespace os {

// Writes text (no line break added) to standard error at once; null does nothing.
void DebugOutput(const char* text);

}  // namespace os
