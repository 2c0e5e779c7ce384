#include "renderers/CMenuCreditsRenderer.h"

#include "host/CGFXStarter.h"
#include "media/CCursorHelper.h"

CMenuCreditsRenderer::CMenuCreditsRenderer() : CGFXFuncHelperBase("scripts\\credits.lua", true) {}

bool CMenuCreditsRenderer::Frame(float dt, CGFXStarter*) { return CallScriptUpdate(dt); }

bool CMenuCreditsRenderer::Render(float, CGFXStarter*) {
    CallScriptRender(0, 0, false);
    return false;
}

void CMenuCreditsRenderer::SetActive(CGFXStarter* starter, bool active) {
    CGFXFuncHelperBase::SetActive(starter, active);
    CCursorHelper* cursor = starter->GetCursor();
    if (active)
        cursor->Hide();
    else
        cursor->Show();
}

