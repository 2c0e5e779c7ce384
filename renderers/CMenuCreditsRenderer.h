// The credits screen: its script draws it; the mouse cursor is hidden while
// it is active.
#pragma once

#include "renderers/CGFXFuncHelperBase.h"

class CMenuCreditsRenderer : public CGFXFuncHelperBase {
public:
    CMenuCreditsRenderer();

    void OnInit(CGFXStarter*) override {}
    void OnShutdown(CGFXStarter*) override {}
    bool Frame(float dt, CGFXStarter* starter) override;
    bool Render(float dt, CGFXStarter* starter) override;
    void SetActive(CGFXStarter* starter, bool active) override;
};
