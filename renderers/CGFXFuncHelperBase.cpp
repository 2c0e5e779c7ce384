#include "renderers/CGFXFuncHelperBase.h"

#include "host/CGFXStarter.h"
#include "host/CTexelCopy.h"
#include "media/CScriptFont.h"
#include "media/CScriptFontEx.h"
#include "media/CScriptParticle.h"
#include "media/CScriptSprite.h"
#include "media/CScriptStream.h"
#include "script/CHostFunctionTable.h"
#include "script/CLuaFunctionCall.h"
#include "script/CLuaStarter.h"

namespace {
const int kMaskTargetSize = 512;

// An object no table of the script reaches any more can never be used
// again: it goes when a later one of its kind comes, so a script making
// objects every frame does not pile them up. The list is looked over when its
// size is a power of two, so that thousands of objects kept are made at a
// constant cost each.
template <class T>
void AdoptInto(CPtrVector<T>* list, T* object) {
    const size_t size = list->size();
    if ((size & (size - 1)) == 0) list->DeleteIf([](T* item) { return !item->HasLiveTables(); });
    list->Add(object);
}
}  // namespace

CGFXFuncHelperBase::CGFXFuncHelperBase(const char* scriptFile, bool hasScript)
    : m_ScriptFile(scriptFile ? scriptFile : ""), m_bHasScript(hasScript) {}

CGFXFuncHelperBase::~CGFXFuncHelperBase() = default;

lua_State* CGFXFuncHelperBase::GetLuaState() const { return m_Lua ? m_Lua->GetState() : nullptr; }

int CGFXFuncHelperBase::OnLuaCall(lua_State* L, int id, const char*) { return CHostFunctionTable::Call(*this, L, id); }

int CGFXFuncHelperBase::OnLuaIndex(lua_State*, const char*) { return 0; }

int CGFXFuncHelperBase::OnLuaNewIndex(lua_State*, const char*) { return 0; }

void CGFXFuncHelperBase::SetActive(CGFXStarter*, bool active) { m_bRunning = active; }

std::unique_ptr<CLuaBinder<CGFXFuncHelperBase>> CGFXFuncHelperBase::NewHostBinder(lua_State* L) {
    auto binder = std::make_unique<CLuaBinder<CGFXFuncHelperBase>>(L, this, 0);
    CHostFunctionTable::Register(binder.get());
    return binder;
}

void CGFXFuncHelperBase::Attach(CGFXStarter* starter) {
    if (m_bAttached) return;
    m_Starter = starter;
    if (m_bHasScript) {
        m_Sprites = new CPtrVector<CScriptSprite>();
        m_Fonts = new CPtrVector<CScriptFont>();
        m_FontsEx = new CPtrVector<CScriptFontEx>();
        m_Streams = new CPtrVector<CScriptStream>();
        m_Particles = new CPtrVector<CScriptParticle>();
        m_Lua = new CLuaStarter(true);
        m_Lua->RunFile(m_ScriptFile.c_str());
        InitScript();
    }
    m_bAttached = true;
    OnInit(starter);
}

void CGFXFuncHelperBase::InitScript() {
    m_HostBinder = NewHostBinder(m_Lua->GetState());
    CLuaFunctionCall call(m_Lua->GetState(), "Init");
    call.PushTable(m_HostBinder.get());
    call.Call();
}

void CGFXFuncHelperBase::Detach(CGFXStarter* starter) {
    if (!m_bAttached) return;
    m_bAttached = false;
    OnShutdown(starter);
    if (m_bHasScript) {
        // The state goes first, so no script runs while its objects are deleted.
        if (m_Lua) m_Lua->Close();
        delete m_Lua;
        m_Lua = nullptr;
        m_HostBinder.reset();
        ReleaseTempMaskedSprite();
        delete m_Sprites;
        m_Sprites = nullptr;
        delete m_Fonts;
        m_Fonts = nullptr;
        delete m_FontsEx;
        m_FontsEx = nullptr;
        delete m_Streams;
        m_Streams = nullptr;
        delete m_Particles;
        m_Particles = nullptr;
        if (m_bModalFrame) DeleteModalChild(starter);
        m_bModalActive = false;
        m_bEndModalRequested = false;
    }
    if (m_MaskTarget) {
        starter->GetEngine()->Target_Free(m_MaskTarget);
        m_MaskTarget = 0;
    }
}

void CGFXFuncHelperBase::DeleteModalChild(CGFXStarter* starter) {
    m_bModalFrame->Detach(starter);
    delete m_bModalFrame;
    m_bModalFrame = nullptr;
}

bool CGFXFuncHelperBase::FrameModalChild(float dt, CGFXStarter* starter, bool& handled) {
    handled = false;
    if (m_bModalActive) {
        handled = true;
        return m_bModalFrame->Frame(dt, starter);
    }
    if (m_bEndModalRequested) {
        if (m_bModalFrame) {
            m_bModalFrame->SetActive(starter, false);
            DeleteModalChild(starter);
        }
        // Cleared only now: a "__gc" of the child's closing state may ask again.
        m_bEndModalRequested = false;
        CallScriptFunction("OnEndModal");
    }
    return false;
}

bool CGFXFuncHelperBase::FrameUpdate(float dt, CGFXStarter* starter) {
    bool handled;
    const bool childResult = FrameModalChild(dt, starter, handled);
    if (handled) return childResult;
    return Frame(dt, starter);
}

bool CGFXFuncHelperBase::RenderAll(float dt, CGFXStarter* starter) {
    const bool own = Render(dt, starter);
    if (m_bModalActive && m_bModalFrame) return m_bModalFrame->RenderAll(dt, starter);
    return own;
}

void CGFXFuncHelperBase::CallScriptFunction(const char* name) {
    if (!m_Lua) return;
    CLuaFunctionCall call(m_Lua->GetState(), name);
    call.Call();
}

bool CGFXFuncHelperBase::CallScriptUpdate(float dt) {
    if (!m_bHasScript || !m_Lua) return false;
    m_bExitRequested = false;
    CLuaFunctionCall call(m_Lua->GetState(), "Update");
    call.PushNumber(dt);
    call.Call();
    return m_bExitRequested;
}

void CGFXFuncHelperBase::CallScriptRender(float x, float y, bool usePosition) {
    if (!m_bHasScript || !m_Lua) return;
    ++m_RenderDepth;
    m_bInScriptRender = true;
    RenderOffset at = GetRenderOffset();
    if (usePosition) at = RenderOffset{x, y};
    CLuaFunctionCall call(m_Lua->GetState(), "Render");
    call.PushNumber(at.x);
    call.PushNumber(at.y);
    call.Call();
    if (--m_RenderDepth > 0) return;
    m_bInScriptRender = false;
    ReleaseTempMaskedSprite();
}

void CGFXFuncHelperBase::ReleaseTempMaskedSprite() {
    delete m_TempMaskedSprite;
    m_TempMaskedSprite = nullptr;
    if (m_TempMaskedTexture && m_Starter && m_Starter->GetEngine())
        m_Starter->GetEngine()->Texture_Free(m_TempMaskedTexture);
    m_TempMaskedTexture = 0;
}

void CGFXFuncHelperBase::Adopt(CScriptSprite* sprite) { AdoptInto(m_Sprites, sprite); }

void CGFXFuncHelperBase::Adopt(CScriptFont* font) { AdoptInto(m_Fonts, font); }

void CGFXFuncHelperBase::Adopt(CScriptFontEx* font) { AdoptInto(m_FontsEx, font); }

void CGFXFuncHelperBase::Adopt(CScriptStream* stream) { AdoptInto(m_Streams, stream); }

void CGFXFuncHelperBase::Adopt(CScriptParticle* particle) { AdoptInto(m_Particles, particle); }

void CGFXFuncHelperBase::OpenModal(CGFXFuncHelperBase* child) {
    m_bModalFrame = child;
    child->Attach(m_Starter);
    // The child's "Init" may already have ended it.
    if (m_bEndModalRequested) return;
    child->SetActive(m_Starter, true);
    m_bModalActive = true;
}

void CGFXFuncHelperBase::RequestEndModal() {
    m_bModalActive = false;
    m_bEndModalRequested = true;
}

void CGFXFuncHelperBase::KeepMaskedSprite(CScriptSprite* sprite, HTEXTURE texture) {
    ReleaseTempMaskedSprite();
    m_TempMaskedSprite = sprite;
    m_TempMaskedTexture = texture;
}

void CGFXFuncHelperBase::DeleteSprite(CScriptSprite* sprite) {
    // The temporary masked sprite is in no list; it must be deleted only once.
    if (sprite == m_TempMaskedSprite) m_TempMaskedSprite = nullptr;
    if (m_Sprites) m_Sprites->Remove(sprite);
    delete sprite;
}

HTARGET CGFXFuncHelperBase::GetMaskTarget() {
    if (!m_MaskTarget) m_MaskTarget = m_Starter->GetEngine()->Target_Create(kMaskTargetSize, kMaskTargetSize, false);
    return m_MaskTarget;
}

// The copy is made through a read-back: the picture comes back texel for texel.
HTEXTURE CGFXFuncHelperBase::CopyTargetToTexture(HTARGET target, GFX* engine) {
    CTexelCopy picture;
    return picture.ReadBack(engine, engine->Target_GetTexture(target)) ? picture.ToTexture(engine) : 0;
}
