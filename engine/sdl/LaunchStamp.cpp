#include "engine/sdl/LaunchStamp.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace gfxsdl {

namespace {
const char* const kVariable = "BRINDLEWICK_LAUNCH_NS";

int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}
}  // namespace

LaunchStamp::LaunchStamp() {
    const char* text = std::getenv(kVariable);
    if (!text || !*text) return;
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value <= 0) return;
    m_LaunchNs = value;
    m_Pending = true;
}

void LaunchStamp::FrameShown() {
    if (!m_Pending) return;
    m_Pending = false;
    const double ms = static_cast<double>(MonotonicNs() - m_LaunchNs) / 1e6;
    std::fprintf(stderr, "first frame shown %.1f ms after launch\n", ms);
}

}  // namespace gfxsdl
