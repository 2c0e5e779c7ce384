// A screen whose script is named at run time ("RunScript", "ShowModal",
// "RegisterRenderer"). It remembers the screen that opened it as a modal one.
#pragma once

#include "renderers/CGFXFuncHelperBase.h"

#include <memory>
#include <vector>

class CScriptRenderer : public CGFXFuncHelperBase {
public:
    CScriptRenderer(const char* scriptFile, CGFXFuncHelperBase* parent);

    void OnInit(CGFXStarter*) override {}
    void OnShutdown(CGFXStarter*) override {}
    bool Frame(float dt, CGFXStarter* starter) override;
    bool Render(float dt, CGFXStarter* starter) override;

    // Pushes onto L a new host table bound to this renderer.
    void BindForScript(lua_State* L);
    // Binders behind the tables BindForScript handed out: one per calling state.
    size_t BoundTableCount() const { return m_BoundTables.size(); }
    CGFXFuncHelperBase* GetParent() const { return m_Parent; }

private:
    std::vector<std::unique_ptr<CLuaBinder<CGFXFuncHelperBase>>> m_BoundTables;
    CGFXFuncHelperBase* m_Parent;
};
