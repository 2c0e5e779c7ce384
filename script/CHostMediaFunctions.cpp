#include "script/CHostMediaFunctions.h"

#include "host/CGFXStarter.h"
#include "media/CScriptFont.h"
#include "media/CScriptFontEx.h"
#include "media/CScriptParticle.h"
#include "media/CScriptSprite.h"
#include "media/CScriptStream.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "script/LuaStack.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace {
CResourceCache* Cache(CGFXFuncHelperBase& self) { return self.GetStarter()->GetResourceCache(); }

// The common end of every object made here: the script gets its method
// table and the renderer's list owns it. Bound first: binding may run the
// script's finalizers, and their calls may drop what the lists hold that no
// table reaches (a failing one raises, and the object goes with the call).
template <class T>
int HandOver(CGFXFuncHelperBase& self, T* made, lua_State* L) {
    std::unique_ptr<T> object(made);
    object->Bind(L);
    self.Adopt(object.release());
    return 1;
}

std::string PopText(lua_State* L) {
    std::string text;
    LuaPop(L, -1, text);
    return text;
}
}  // namespace

// Frames lie side by side in the image; a remainder of columns is not used.
int CHostMediaFunctions::GetSprite(CGFXFuncHelperBase& self, lua_State* L) {
    LuaCheck(L, lua_gettop(L) == 5, "top == 5");
    double fps;
    LuaPop(L, -1, fps);
    if (!(std::isfinite(fps) && fps >= 1.0)) fps = 1.0;
    fps = std::min(fps, static_cast<double>(std::numeric_limits<float>::max()));
    int frames;
    LuaPop(L, -1, frames);
    if (frames < 1) frames = 1;
    bool animated;
    LuaPop(L, -1, animated);
    const std::string file = PopText(L);

    CGFXStarter* starter = self.GetStarter();
    const HTEXTURE texture = Cache(self)->GetTexture(file, false);
    GFX* engine = starter->GetEngine();
    int width = engine->Texture_GetWidth(texture, true);
    const int height = engine->Texture_GetHeight(texture, true);
    if (frames > 1) width /= frames;
    auto* sprite = new CScriptSprite(starter, &self, texture, animated, static_cast<float>(width),
                                     static_cast<float>(height), 0, 0, frames, static_cast<float>(fps));
    return HandOver(self, sprite, L);
}

int CHostMediaFunctions::GetLastSurface(CGFXFuncHelperBase& self, lua_State* L) {
    CGFXStarter* starter = self.GetStarter();
    const HTEXTURE texture = starter->TakeLastSurface();
    if (!texture) return 0;
    auto* sprite = new CScriptSprite(starter, &self, texture, false, static_cast<float>(starter->GetScreenWidth()),
                                     static_cast<float>(starter->GetScreenHeight()), 0, 0, 1, 1.0f);
    return HandOver(self, sprite, L);
}

int CHostMediaFunctions::GetFont(CGFXFuncHelperBase& self, lua_State* L) {
    const std::string file = PopText(L);
    return HandOver(self, new CScriptFont(self.GetStarter(), &self, file), L);
}

int CHostMediaFunctions::GetSound(CGFXFuncHelperBase& self, lua_State* L) {
    const std::string file = PopText(L);
    const HEFFECT effect = Cache(self)->GetSound(file);
    return HandOver(self, new CScriptStream(self.GetStarter(), &self, effect), L);
}

// The first argument is the preset file, the second the texture file.
int CHostMediaFunctions::GetParticle(CGFXFuncHelperBase& self, lua_State* L) {
    const std::string texture = PopText(L);
    const std::string preset = PopText(L);
    return HandOver(self, new CScriptParticle(self.GetStarter(), &self, preset, texture), L);
}

int CHostMediaFunctions::CacheTexture(CGFXFuncHelperBase& self, lua_State* L) {
    Cache(self)->GetTexture(PopText(L), false);
    return 0;
}

int CHostMediaFunctions::CacheSound(CGFXFuncHelperBase& self, lua_State* L) {
    Cache(self)->GetSound(PopText(L));
    return 0;
}

int CHostMediaFunctions::GetFontEx(CGFXFuncHelperBase& self, lua_State* L) {
    const std::string file = PopText(L);
    return HandOver(self, new CScriptFontEx(self.GetStarter(), &self, file), L);
}
