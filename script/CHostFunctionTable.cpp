#include "script/CHostFunctionTable.h"

#include "renderers/CGFXFuncHelperBase.h"
#include "script/CHostConfigFunctions.h"
#include "script/CHostCursorFunctions.h"
#include "script/CHostInputFunctions.h"
#include "script/CHostMaskFunctions.h"
#include "script/CHostMediaFunctions.h"
#include "script/CHostRendererFunctions.h"
#include "script/CHostScreenFunctions.h"
#include "script/CHostSystemFunctions.h"
#include "script/ScriptMethodTable.h"

namespace {
using R = CHostRendererFunctions;
using S = CHostScreenFunctions;
using I = CHostInputFunctions;
using Y = CHostSystemFunctions;
using M = CHostMediaFunctions;
using C = CHostCursorFunctions;
using G = CHostConfigFunctions;
using K = CHostMaskFunctions;
using Handler = int (*)(CGFXFuncHelperBase&, lua_State*);

// A screen's table made in another screen's state outlives the screen's
// script: then the function does nothing.
template <Handler F>
int WithScript(CGFXFuncHelperBase& self, lua_State* L) {
    return self.HasScriptState() ? F(self, L) : 0;
}

const ScriptMethod<CGFXFuncHelperBase> kHostFunctions[CHostFunctionTable::kCount] = {
    {"GetSprite", WithScript<M::GetSprite>},
    {"MousePos", WithScript<I::MousePos>},
    {"GetScreenResolution", WithScript<S::GetScreenResolution>},
    {"LeftMousePressed", WithScript<I::LeftMousePressed>},
    {"SwitchToRenderer", WithScript<R::SwitchToRenderer>},
    {"Exit", WithScript<R::Exit>},
    {"RunScript", WithScript<R::RunScript>},
    {"GetLastSurface", WithScript<M::GetLastSurface>},
    {"HideCursor", WithScript<C::HideCursor>},
    {"ShowCursor", WithScript<C::ShowCursor>},
    {"EscapePressed", WithScript<I::EscapePressed>},
    {"EnterPressed", WithScript<I::EnterPressed>},
    {"EndModal", WithScript<R::EndModal>},
    {"ShowModal", WithScript<R::ShowModal>},
    {"GetFont", WithScript<M::GetFont>},
    {"GetSound", WithScript<M::GetSound>},
    {"ConfigGetString", WithScript<G::ConfigGetString>},
    {"ConfigSetString", WithScript<G::ConfigSetString>},
    {"ConfigGetNumber", WithScript<G::ConfigGetNumber>},
    {"ConfigSetNumber", WithScript<G::ConfigSetNumber>},
    {"GetParticle", WithScript<M::GetParticle>},
    {"SetClipping", WithScript<S::SetClipping>},
    {"RegisterRenderer", WithScript<R::RegisterRenderer>},
    {"CacheTexture", WithScript<M::CacheTexture>},
    {"CacheSound", WithScript<M::CacheSound>},
    {"Update", WithScript<R::Update>},
    {"Render", WithScript<R::Render>},
    {"GetRegisteredRenderer", WithScript<R::GetRegisteredRenderer>},
    {"CallFunction", WithScript<R::CallFunction>},
    {"LeftMouseClicked", WithScript<I::LeftMouseClicked>},
    {"SetDebugFontColor", WithScript<S::SetDebugFontColor>},
    {"ClearScreen", WithScript<S::ClearScreen>},
    {"EnableSound", WithScript<Y::EnableSound>},
    {"SetSoundVolume", WithScript<Y::SetSoundVolume>},
    {"TestIntersection", WithScript<Y::TestIntersection>},
    {"EmulateLeftMouseClicked", WithScript<I::EmulateLeftMouseClicked>},
    {"ResetLeftMouseClickedEmulation", WithScript<I::ResetLeftMouseClickedEmulation>},
    {"GetLastPressedKey", WithScript<I::GetLastPressedKey>},
    {"GetLastPressedChar", WithScript<I::GetLastPressedChar>},
    {"IsKeyPressed", WithScript<I::IsKeyPressed>},
    {"OutputDebugString", WithScript<Y::OutputDebugString>},
    {"SetCursorHotSpot", WithScript<C::SetCursorHotSpot>},
    {"GetFPS", WithScript<Y::GetFPS>},
    {"SetFullScreen", WithScript<S::SetFullScreen>},
    {"GetMaskedSprite", WithScript<K::GetMaskedSprite>},
    {"SetAutoRenderingMode", WithScript<S::SetAutoRenderingMode>},
    {"BeginScene", WithScript<S::BeginScene>},
    {"EndScene", WithScript<S::EndScene>},
    {"GetFontEx", WithScript<M::GetFontEx>},
    {"SetCursor", WithScript<C::SetCursor>},
    {"ShowSystemCursor", WithScript<S::ShowSystemCursor>},
    {"GetTextFileData", WithScript<G::GetTextFileData>},
    {"ConfigDeleteSection", WithScript<G::ConfigDeleteSection>},
};

constexpr ScriptMethodTable<CGFXFuncHelperBase> kTable(kHostFunctions);
}  // namespace

void CHostFunctionTable::Register(CLuaBinder<CGFXFuncHelperBase>* binder) { kTable.AddRowsTo(*binder); }

int CHostFunctionTable::Call(CGFXFuncHelperBase& self, lua_State* L, int id) { return kTable.Call(self, L, id); }

const char* CHostFunctionTable::Name(int id) { return kTable.Name(id); }
