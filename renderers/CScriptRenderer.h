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
    // Binders behind the tables BindForScript handed out: one per calling
    // state whose tables may still be called.
    size_t BoundTableCount() const { return m_BoundTables.size(); }
    CGFXFuncHelperBase* GetParent() const { return m_Parent; }

private:
    struct BoundTables {
        // The calling state's registry: the same for all its coroutines.
        const void* state;
        std::unique_ptr<CLuaBinder<CGFXFuncHelperBase>> binder;
    };
    void DropUnusedBinders();

    std::vector<BoundTables> m_BoundTables;
    int m_TablesInMaking = 0;
    CGFXFuncHelperBase* m_Parent;
};
