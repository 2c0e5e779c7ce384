#include "engine/sdl/Timer.h"

#include <SDL_timer.h>

namespace gfxsdl {

double FrameTimer::Now() const {
    return static_cast<double>(SDL_GetPerformanceCounter()) / static_cast<double>(SDL_GetPerformanceFrequency());
}

void FrameTimer::Start() {
    m_First = true;
    m_Delta = 0;
    m_Frames = 0;
    m_SecondStart = Now();
    m_NextFrame = m_SecondStart;
}

void FrameTimer::WaitForNextFrame(int fps) {
    if (m_First || fps <= 0) return;
    double period = 1.0 / fps;
    m_NextFrame += period;
    double now = Now();
    // Far behind (a long frame, a breakpoint): start the rhythm anew rather
    // than run a burst of frames to catch up.
    if (now > m_NextFrame + period) {
        m_NextFrame = now;
        return;
    }
    // Sleep most of the wait, then spin the last bit for an even pace.
    while (m_NextFrame - now > 0.002) {
        SDL_Delay(static_cast<Uint32>((m_NextFrame - now - 0.001) * 1000.0));
        now = Now();
    }
    while (now < m_NextFrame) now = Now();
}

void FrameTimer::BeginFrame() {
    double now = Now();
    if (m_First) {
        m_First = false;
        m_Delta = 0;
        m_NextFrame = now;
    } else {
        m_Delta = static_cast<float>(now - m_FrameStart);
    }
    m_FrameStart = now;
}

void FrameTimer::FrameShown() {
    ++m_Frames;
    double now = Now();
    if (now - m_SecondStart >= 1.0) {
        m_Fps = m_Frames;
        m_Frames = 0;
        m_SecondStart = now;
    }
}

}  // namespace gfxsdl
