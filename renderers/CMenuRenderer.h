// The main menu: its script draws it; it registers the options and credits
// screens, which live as long as it does.
#pragma once

#include "renderers/CGFXFuncHelperBase.h"
#include "renderers/CMenuCreditsRenderer.h"
#include "renderers/CMenuOptionsRenderer.h"

class CMenuRenderer : public CGFXFuncHelperBase {
public:
    CMenuRenderer();

    void OnInit(CGFXStarter* starter) override;
    void OnShutdown(CGFXStarter*) override {}
    bool Frame(float dt, CGFXStarter* starter) override;
    bool Render(float dt, CGFXStarter* starter) override;

    CMenuOptionsRenderer& GetOptionsRenderer() { return m_OptionsRenderer; }
    CMenuCreditsRenderer& GetCreditsRenderer() { return m_CreditsRenderer; }

private:
    CMenuOptionsRenderer m_OptionsRenderer;
    CMenuCreditsRenderer m_CreditsRenderer;
};
