// Process-wide left-click emulation, set by the scripts and read by every
// "LeftMouseClicked" and every sprite's "Clicked" until it is reset.
#pragma once

inline bool g_bClickEmulation = false;
inline bool g_bEmulatedClick = false;

// The left button went up this frame, or the emulated value while emulation is on.
class GFX;
bool LeftClickReleased(GFX* engine);
