#include "renderers/CMenuOptionsRenderer.h"

#include "host/CGFXStarter.h"
#include "host/CHelperToKeyBinder.h"

CMenuOptionsRenderer::CMenuOptionsRenderer() : CGFXFuncHelperBase("scripts\\options.lua", true) {}

bool CMenuOptionsRenderer::Frame(float dt, CGFXStarter* starter) {
    if (starter->GetEngine()->Input_GetKey() == GFXK_ESCAPE) {
        starter->SwitchToRenderer(starter->GetKeyBinder()->FindByName("menu"));
        return false;
    }
    return CallScriptUpdate(dt);
}

bool CMenuOptionsRenderer::Render(float, CGFXStarter*) {
    CallScriptRender(0, 0, false);
    return false;
}
