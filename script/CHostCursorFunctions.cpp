#include "script/CHostCursorFunctions.h"

#include "helpers/gfxSprite.h"
#include "host/CGFXStarter.h"
#include "media/CCursorHelper.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "script/LuaStack.h"

#include <string>

namespace {
CCursor* Cursor(CGFXFuncHelperBase& self) { return self.GetStarter()->GetCursor(); }
}  // namespace

int CHostCursorFunctions::HideCursor(CGFXFuncHelperBase& self, lua_State*) {
    Cursor(self)->Hide();
    return 0;
}

int CHostCursorFunctions::ShowCursor(CGFXFuncHelperBase& self, lua_State*) {
    Cursor(self)->Show();
    return 0;
}

int CHostCursorFunctions::SetCursorHotSpot(CGFXFuncHelperBase& self, lua_State* L) {
    double x, y;
    LuaPop(L, -1, y);
    LuaPop(L, -1, x);
    Cursor(self)->SetHotSpot(x, y);
    return 0;
}

// The cursor copies a sprite over the whole texture surface of the image.
int CHostCursorFunctions::SetCursor(CGFXFuncHelperBase& self, lua_State* L) {
    std::string file;
    LuaPop(L, -1, file);
    CGFXStarter* starter = self.GetStarter();
    const HTEXTURE texture = starter->GetResourceCache()->GetTexture(file, false);
    if (!texture) return 0;
    GFX* engine = starter->GetEngine();
    const gfxSprite sprite(texture, 0, 0, static_cast<float>(engine->Texture_GetWidth(texture, false)),
                           static_cast<float>(engine->Texture_GetHeight(texture, false)));
    Cursor(self)->SetSprite(&sprite);
    return 0;
}
