#include "renderers/CMenuRenderer.h"

#include "host/CGFXStarter.h"
#include "host/CHelperToKeyBinder.h"

CMenuRenderer::CMenuRenderer() : CGFXFuncHelperBase("scripts\\menu.lua", true) {}

void CMenuRenderer::OnInit(CGFXStarter* starter) {
    starter->GetKeyBinder()->Register("options", &m_OptionsRenderer);
    starter->GetKeyBinder()->Register("credits", &m_CreditsRenderer);
}

bool CMenuRenderer::Frame(float dt, CGFXStarter*) { return CallScriptUpdate(dt); }

bool CMenuRenderer::Render(float, CGFXStarter*) {
    CallScriptRender(0, 0, false);
    return false;
}
