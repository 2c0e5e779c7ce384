#include "os/DebugOutput.h"

#include <cstdio>

namespace os {

void DebugOutput(const char* text) {
    if (text == nullptr) return;
    std::fputs(text, stderr);
    std::fflush(stderr);
}

}  // namespace os
