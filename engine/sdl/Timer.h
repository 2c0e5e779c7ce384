// Frame timing: the last frame's time, the frames shown in the last whole
// second, and the wait that holds the loop to a frame-rate cap.
#pragma once

#include <cstdint>

namespace gfxsdl {

class FrameTimer {
public:
    // Called once at the start of a run of the loop.
    void Start();
    // Waits until the next frame is due under the cap (0 = no cap).
    void WaitForNextFrame(int fps);
    // Starts a frame: measures the time since the last one.
    void BeginFrame();
    // Counts a frame shown.
    void FrameShown();

    float Delta() const { return m_Delta; }
    int Fps() const { return m_Fps; }

private:
    double Now() const;

    double m_FrameStart = 0;   // seconds, of the current frame
    double m_NextFrame = 0;    // when the next frame is due under the cap
    double m_SecondStart = 0;  // start of the second being counted
    bool m_First = true;
    float m_Delta = 0;
    int m_Fps = 0;
    int m_Frames = 0;
};

}  // namespace gfxsdl
