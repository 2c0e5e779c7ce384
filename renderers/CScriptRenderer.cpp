#include "renderers/CScriptRenderer.h"

CScriptRenderer::CScriptRenderer(const char* scriptFile, CGFXFuncHelperBase* parent)
    : CGFXFuncHelperBase(scriptFile, true),
      m_BoundTables(new CPtrVector<CLuaBinder<CGFXFuncHelperBase>>()),
      m_Parent(parent) {}

CScriptRenderer::~CScriptRenderer() { delete m_BoundTables; }

// One binder per calling state, a new table per call: a script asking for the
// table every frame must not grow the renderer's binders without end.
void CScriptRenderer::BindForScript(lua_State* L) {
    CLuaBinder<CGFXFuncHelperBase>* binder = nullptr;
    for (CLuaBinder<CGFXFuncHelperBase>* bound : *m_BoundTables)
        if (bound->GetState() == L) binder = bound;
    if (!binder) {
        binder = new CLuaBinder<CGFXFuncHelperBase>(L, this, 0);
        m_BoundTables->Add(binder);
        RegisterHostFunctions(binder);
    }
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
