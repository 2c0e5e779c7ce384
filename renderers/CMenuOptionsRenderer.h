// The options screen: its script draws it; Escape returns to the main menu.
#pragma once

#include "renderers/CGFXFuncHelperBase.h"

class CMenuOptionsRenderer : public CGFXFuncHelperBase {
public:
    CMenuOptionsRenderer();

    void OnInit(CGFXStarter*) override {}
    void OnShutdown(CGFXStarter*) override {}
    bool Frame(float dt, CGFXStarter* starter) override;
    bool Render(float dt, CGFXStarter* starter) override;
};
