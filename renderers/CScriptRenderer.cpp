#include "renderers/CScriptRenderer.h"

#include <algorithm>

CScriptRenderer::CScriptRenderer(const char* scriptFile, CGFXFuncHelperBase* parent)
    : CGFXFuncHelperBase(scriptFile, true), m_Parent(parent) {}

// One binder per calling state, a new table per call: a script asking for the
// table every frame must not grow the renderer's binders without end.
void CScriptRenderer::BindForScript(lua_State* L) {
    auto bound = std::find_if(m_BoundTables.begin(), m_BoundTables.end(),
                              [L](const auto& binder) { return binder->GetState() == L; });
    if (bound == m_BoundTables.end()) bound = m_BoundTables.insert(bound, NewHostBinder(L));
    (*bound)->Register();
}

bool CScriptRenderer::Frame(float dt, CGFXStarter* starter) {
    bool handled;
    const bool childResult = FrameModalChild(dt, starter, handled);
    if (handled) return childResult;
    return CallScriptUpdate(dt);
}

bool CScriptRenderer::Render(float, CGFXStarter*) {
    if (!IsRunning()) return false;
    CallScriptRender(0, 0, false);
    return false;
}
