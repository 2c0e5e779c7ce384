#include "script/CHostFunctionTable.h"

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

const ScriptMethod<CGFXFuncHelperBase> kHostFunctions[CHostFunctionTable::kCount] = {
    {"GetSprite", M::GetSprite},
    {"MousePos", I::MousePos},
    {"GetScreenResolution", S::GetScreenResolution},
    {"LeftMousePressed", I::LeftMousePressed},
    {"SwitchToRenderer", R::SwitchToRenderer},
    {"Exit", R::Exit},
    {"RunScript", R::RunScript},
    {"GetLastSurface", M::GetLastSurface},
    {"HideCursor", C::HideCursor},
    {"ShowCursor", C::ShowCursor},
    {"EscapePressed", I::EscapePressed},
    {"EnterPressed", I::EnterPressed},
    {"EndModal", R::EndModal},
    {"ShowModal", R::ShowModal},
    {"GetFont", M::GetFont},
    {"GetSound", M::GetSound},
    {"ConfigGetString", G::ConfigGetString},
    {"ConfigSetString", G::ConfigSetString},
    {"ConfigGetNumber", G::ConfigGetNumber},
    {"ConfigSetNumber", G::ConfigSetNumber},
    {"GetParticle", M::GetParticle},
    {"SetClipping", S::SetClipping},
    {"RegisterRenderer", R::RegisterRenderer},
    {"CacheTexture", M::CacheTexture},
    {"CacheSound", M::CacheSound},
    {"Update", R::Update},
    {"Render", R::Render},
    {"GetRegisteredRenderer", R::GetRegisteredRenderer},
    {"CallFunction", R::CallFunction},
    {"LeftMouseClicked", I::LeftMouseClicked},
    {"SetDebugFontColor", S::SetDebugFontColor},
    {"ClearScreen", S::ClearScreen},
    {"EnableSound", Y::EnableSound},
    {"SetSoundVolume", Y::SetSoundVolume},
    {"TestIntersection", Y::TestIntersection},
    {"EmulateLeftMouseClicked", I::EmulateLeftMouseClicked},
    {"ResetLeftMouseClickedEmulation", I::ResetLeftMouseClickedEmulation},
    {"GetLastPressedKey", I::GetLastPressedKey},
    {"GetLastPressedChar", I::GetLastPressedChar},
    {"IsKeyPressed", I::IsKeyPressed},
    {"OutputDebugString", Y::OutputDebugString},
    {"SetCursorHotSpot", C::SetCursorHotSpot},
    {"GetFPS", Y::GetFPS},
    {"SetFullScreen", S::SetFullScreen},
    {"GetMaskedSprite", K::GetMaskedSprite},
    {"SetAutoRenderingMode", S::SetAutoRenderingMode},
    {"BeginScene", S::BeginScene},
    {"EndScene", S::EndScene},
    {"GetFontEx", M::GetFontEx},
    {"SetCursor", C::SetCursor},
    {"ShowSystemCursor", S::ShowSystemCursor},
    {"GetTextFileData", G::GetTextFileData},
    {"ConfigDeleteSection", G::ConfigDeleteSection},
};

constexpr ScriptMethodTable<CGFXFuncHelperBase> kTable(kHostFunctions);
}  // namespace

void CHostFunctionTable::Register(CLuaBinder<CGFXFuncHelperBase>* binder) { kTable.AddTo(*binder); }

int CHostFunctionTable::Call(CGFXFuncHelperBase& self, lua_State* L, int id) { return kTable.Call(self, L, id); }

const char* CHostFunctionTable::Name(int id) { return kTable.Name(id); }
