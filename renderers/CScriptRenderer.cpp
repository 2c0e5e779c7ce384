#include "renderers/CScriptRenderer.h"

#include <algorithm>

CScriptRenderer::CScriptRenderer(const char* scriptFile, CGFXFuncHelperBase* parent)
    : CGFXFuncHelperBase(scriptFile, true), m_Parent(parent) {}

namespace {
// Counts the tables in the making; it ends however the making ends.
class Making {
public:
    explicit Making(int& count) : m_Count(count) { ++m_Count; }
    ~Making() { --m_Count; }
    Making(const Making&) = delete;
    Making& operator=(const Making&) = delete;

private:
    int& m_Count;
};
}  // namespace

// One binder per calling state, coroutines included, and a new table per
// call; a binder none of whose tables is left (collected, or its state
// closed) goes. So neither a script asking for the table every frame, nor
// in a new coroutine or a new screen each time, grows the binders without end.
void CScriptRenderer::BindForScript(lua_State* L) {
    // Making a table may run a finalizer that asks again: no binder goes then.
    if (m_TablesInMaking == 0) DropUnusedBinders();
    const void* state = lua_topointer(L, LUA_REGISTRYINDEX);
    auto bound = std::find_if(m_BoundTables.begin(), m_BoundTables.end(),
                              [state](const BoundTables& b) { return b.state == state; });
    if (bound == m_BoundTables.end()) bound = m_BoundTables.insert(bound, BoundTables{state, NewHostBinder(L)});
    // Not through the iterator: a finalizer's call may grow the list.
    CLuaBinder<CGFXFuncHelperBase>* binder = bound->binder.get();
    Making making(m_TablesInMaking);
    binder->Register(L);
}

void CScriptRenderer::DropUnusedBinders() {
    m_BoundTables.erase(std::remove_if(m_BoundTables.begin(), m_BoundTables.end(),
                                       [](const BoundTables& bound) { return !bound.binder->HasLiveTables(); }),
                        m_BoundTables.end());
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
