// The plain callbacks handed to the engine. Each holds a reference of the host
// singleton for the length of the call.
#pragma once

bool FrameFunc();
bool RenderFunc();
bool FocusLostFunc();
bool FocusGainFunc();
