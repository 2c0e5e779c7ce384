#include "host/EngineCallbacks.h"

#include "host/CGFXStarter.h"

namespace {
template <typename Step>
bool WithStarter(Step step) {
    CGFXStarter* starter = CGFXStarter::GetInstance();
    const bool result = step(starter);
    starter->Release();
    return result;
}
}  // namespace

bool FrameFunc() {
    return WithStarter([](CGFXStarter* s) { return s->OnFrame(); });
}

bool RenderFunc() {
    return WithStarter([](CGFXStarter* s) { return s->OnRender(); });
}

bool FocusLostFunc() {
    return WithStarter([](CGFXStarter* s) {
        s->OnFocusLost();
        return false;
    });
}

bool FocusGainFunc() {
    return WithStarter([](CGFXStarter* s) {
        s->OnFocusGain();
        return false;
    });
}
