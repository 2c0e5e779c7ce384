// Start-up measurement: when BRINDLEWICK_LAUNCH_NS holds the monotonic clock
// (CLOCK_MONOTONIC, nanoseconds) read by whoever started the process, the
// first frame shown writes how long after that it came, on standard error.
#pragma once

#include <cstdint>

namespace gfxsdl {

class LaunchStamp {
public:
    // Reads the variable; without a valid one FrameShown does nothing.
    LaunchStamp();
    // Called after each frame is shown; writes the first one only.
    void FrameShown();

private:
    int64_t m_LaunchNs = 0;
    bool m_Pending = false;
};

}  // namespace gfxsdl
