// The base of every screen: it owns the screen's Lua state and script, the
// script's media objects, an optional modal child and a mask render target,
// and it is the object behind the host table that its script receives.
#pragma once

#include "engine/gfx.h"
#include "script/ILuaBindableEvents.h"
#include "script/CLuaBinder.h"
#include "script/CPtrVector.h"

#include <memory>
#include <string>

struct lua_State;
class CGFXStarter;
class CLuaStarter;
class CScriptSprite;
class CScriptFont;
class CScriptFontEx;
class CScriptStream;
class CScriptParticle;

struct RenderOffset {
    float x = 0.0f;
    float y = 0.0f;
};

class CGFXFuncHelperBase : public ILuaBindableEvents {
public:
    CGFXFuncHelperBase(const char* scriptFile, bool hasScript);
    virtual ~CGFXFuncHelperBase();
    CGFXFuncHelperBase(const CGFXFuncHelperBase&) = delete;
    CGFXFuncHelperBase& operator=(const CGFXFuncHelperBase&) = delete;

    // Final: the host table's closures run the function table's rows
    // straight, as this does.
    int OnLuaCall(lua_State* L, int id, const char* name) final;
    int OnLuaIndex(lua_State* L, const char* key) override;
    int OnLuaNewIndex(lua_State* L, const char* key) override;
    virtual void OnInit(CGFXStarter* starter) = 0;
    virtual void OnShutdown(CGFXStarter* starter) = 0;
    virtual bool Frame(float dt, CGFXStarter* starter) = 0;
    virtual bool Render(float dt, CGFXStarter* starter) = 0;
    virtual RenderOffset GetRenderOffset() { return m_RenderOffset; }
    virtual bool IsRunning() { return m_bRunning; }
    virtual void SetActive(CGFXStarter* starter, bool active);

    void Attach(CGFXStarter* starter);
    void Detach(CGFXStarter* starter);
    bool FrameUpdate(float dt, CGFXStarter* starter);
    bool RenderAll(float dt, CGFXStarter* starter);
    bool CallScriptUpdate(float dt);
    void CallScriptRender(float x, float y, bool usePosition);
    void InitScript();
    void DeleteSprite(CScriptSprite* sprite);
    // Calls the script's global of that name without arguments; nothing without a Lua state.
    void CallScriptFunction(const char* name);

    // The screen's lists own what its script made, bound already, until it is
    // detached or no table of the script reaches it any more.
    void Adopt(CScriptSprite* sprite);
    void Adopt(CScriptFont* font);
    void Adopt(CScriptFontEx* font);
    void Adopt(CScriptStream* stream);
    void Adopt(CScriptParticle* particle);

    // Ends the loop when asked during the script's "Update".
    void RequestExit() { m_bExitRequested = true; }
    // Takes the child as this screen's modal screen: attaches it and, unless
    // its own "Init" already ended it, activates it.
    void OpenModal(CGFXFuncHelperBase* child);
    // The modal screen asks its opener to end it at the opener's next frame.
    void RequestEndModal();

    HTARGET GetMaskTarget();
    static HTEXTURE CopyTargetToTexture(HTARGET target, GFX* engine);
    // True while the script's "Render" runs.
    bool IsInScriptRender() const { return m_bInScriptRender; }
    // The masked sprite and its texture last until the outermost "Render"
    // returns or the next one is kept, which ends this one.
    void KeepMaskedSprite(CScriptSprite* sprite, HTEXTURE texture);
    void ReleaseTempMaskedSprite();

    bool IsAttached() const { return m_bAttached; }
    CGFXStarter* GetStarter() const { return m_Starter; }
    lua_State* GetLuaState() const;
    // From the state's making in Attach to the end of Detach, its closing
    // included: while the script's host functions may run.
    bool HasScriptState() const { return m_Lua != nullptr; }
    const std::string& GetScriptFile() const { return m_ScriptFile; }
    bool HasModalChild() const { return m_bModalFrame != nullptr; }
    bool IsModalActive() const { return m_bModalActive; }

protected:
    // The script's own "Update"/"Render" drive a screen; renderer classes
    // without a script replace Frame and Render.
    bool FrameModalChild(float dt, CGFXStarter* starter, bool& handled);
    // A binder on L with every host function, calling this screen.
    std::unique_ptr<CLuaBinder<CGFXFuncHelperBase>> NewHostBinder(lua_State* L);

private:
    void DeleteModalChild(CGFXStarter* starter);

    bool m_bAttached = false;
    bool m_bExitRequested = false;
    CPtrVector<CScriptSprite>* m_Sprites = nullptr;
    CPtrVector<CScriptFont>* m_Fonts = nullptr;
    CPtrVector<CScriptFontEx>* m_FontsEx = nullptr;
    CPtrVector<CScriptStream>* m_Streams = nullptr;
    CPtrVector<CScriptParticle>* m_Particles = nullptr;
    CGFXStarter* m_Starter = nullptr;
    std::string m_ScriptFile;
    bool m_bHasScript;
    std::unique_ptr<CLuaBinder<CGFXFuncHelperBase>> m_HostBinder;
    HTARGET m_MaskTarget = 0;
    bool m_bInScriptRender = false;
    CScriptSprite* m_TempMaskedSprite = nullptr;
    HTEXTURE m_TempMaskedTexture = 0;
    RenderOffset m_RenderOffset;
    bool m_bRunning = true;
    bool m_bModalActive = false;
    CGFXFuncHelperBase* m_bModalFrame = nullptr;
    bool m_bEndModalRequested = false;
    CLuaStarter* m_Lua = nullptr;
    // Nesting depth of the script's "Render": a "Render" reached again through
    // the host table must not end the outer one's temporaries.
    int m_RenderDepth = 0;
};
