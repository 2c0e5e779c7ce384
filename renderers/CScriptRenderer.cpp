#include "renderers/CScriptRenderer.h"

CScriptRenderer::CScriptRenderer(const char* scriptFile, CGFXFuncHelperBase* parent)
    : CGFXFuncHelperBase(scriptFile, true),
      m_BoundTables(new CPtrVector<CLuaBinder<CGFXFuncHelperBase>>()),
      m_Parent(parent) {}

CScriptRenderer::~CScriptRenderer() { delete m_BoundTables; }

void CScriptRenderer::BindForScript(lua_State* L) {
    auto* binder = new CLuaBinder<CGFXFuncHelperBase>(L, this, 0);
    m_BoundTables->Add(binder);
    RegisterHostFunctions(binder);
    binder->Register();
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
