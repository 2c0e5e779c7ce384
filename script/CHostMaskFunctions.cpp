#include "script/CHostMaskFunctions.h"

#include "helpers/gfxSprite.h"
#include "host/CGFXStarter.h"
#include "host/CTexelCopy.h"
#include "media/CScriptSprite.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "renderers/CMaskComposer.h"
#include "script/LuaStack.h"

#include <string>

namespace {
const uint32_t kTargetClearColor = 0xFFFFFFFF;

struct MaskRequest {
    std::string firstImage, secondImage, maskImage, channelName;
    int x = 0, y = 0;
};

MaskRequest ReadRequest(lua_State* L) {
    MaskRequest request;
    LuaPop(L, -1, request.channelName);
    LuaPop(L, -1, request.y);
    LuaPop(L, -1, request.x);
    LuaPop(L, -1, request.maskImage);
    LuaPop(L, -1, request.secondImage);
    LuaPop(L, -1, request.firstImage);
    return request;
}

// Draws the image's texels from (x, y) on at the target's top-left corner,
// over opaque white. A screen scene that the host began is ended around the
// target's scene and then goes on; the script's own scene simply encloses it.
bool DrawIntoTarget(CGFXStarter* starter, HTARGET target, HTEXTURE image, int x, int y) {
    GFX* engine = starter->GetEngine();
    const bool pauseScreen = starter->IsAutoRendering() && starter->IsInScene();
    if (pauseScreen) starter->EndScene();
    const bool drawn = engine->Gfx_BeginScene(target);
    if (drawn) {
        engine->Gfx_Clear(kTargetClearColor);
        gfxSprite sprite(image, static_cast<float>(x), static_cast<float>(y),
                         static_cast<float>(engine->Texture_GetWidth(image, false)),
                         static_cast<float>(engine->Texture_GetHeight(image, false)));
        sprite.Render(0, 0);
        engine->Gfx_EndScene();
    }
    if (pauseScreen) starter->BeginScene();
    return drawn;
}

// The target's picture in a texture of its own with the alpha of the mask,
// whose texels the cache keeps from the first call; 0 when the mask or the
// picture cannot be read back or no texture can be made.
HTEXTURE ComposeTexture(CGFXStarter* starter, HTARGET target, const MaskRequest& request) {
    const CTexelCopy* mask = starter->GetResourceCache()->GetTexels(request.maskImage);
    if (!mask) return 0;
    GFX* engine = starter->GetEngine();
    return CMaskComposer::Compose(engine, engine->Target_GetTexture(target), *mask,
                                  CMaskComposer::ChannelFromName(request.channelName));
}

// The new sprite and its texture until the screen takes them: binding the
// sprite may raise (a failing "__gc" caught by the script's pcall), and then
// both go.
class PendingSprite {
public:
    PendingSprite(GFX* engine, CScriptSprite* sprite, HTEXTURE texture)
        : m_Engine(engine), m_Sprite(sprite), m_Texture(texture) {}
    ~PendingSprite() {
        delete m_Sprite;
        if (m_Texture) m_Engine->Texture_Free(m_Texture);
    }
    PendingSprite(const PendingSprite&) = delete;
    PendingSprite& operator=(const PendingSprite&) = delete;

    CScriptSprite* Sprite() const { return m_Sprite; }
    void HandTo(CGFXFuncHelperBase& screen) {
        screen.KeepMaskedSprite(m_Sprite, m_Texture);
        m_Sprite = nullptr;
        m_Texture = 0;
    }

private:
    GFX* m_Engine;
    CScriptSprite* m_Sprite;
    HTEXTURE m_Texture;
};
}  // namespace

int CHostMaskFunctions::GetMaskedSprite(CGFXFuncHelperBase& self, lua_State* L) {
    LuaCheck(L, self.IsInScriptRender(), "inScriptRender");
    LuaCheck(L, lua_gettop(L) == 7, "top == 7");
    const MaskRequest request = ReadRequest(L);

    const HTARGET target = self.GetMaskTarget();
    if (!target) return 0;
    CGFXStarter* starter = self.GetStarter();
    CResourceCache* cache = starter->GetResourceCache();
    const HTEXTURE mask = cache->GetTexture(request.maskImage, false);
    const HTEXTURE first = cache->GetTexture(request.firstImage, false);
    // Nothing of the second image is drawn; it is only cached.
    cache->GetTexture(request.secondImage, false);
    if (!mask || !first) return 0;
    if (!DrawIntoTarget(starter, target, first, request.x, request.y)) return 0;

    self.ReleaseTempMaskedSprite();
    const HTEXTURE texture = ComposeTexture(starter, target, request);
    if (!texture) return 0;
    GFX* engine = starter->GetEngine();
    // Valid only until this "Render" returns, so in no list.
    PendingSprite pending(
        engine,
        new CScriptSprite(starter, &self, texture, false, static_cast<float>(engine->Texture_GetWidth(texture, false)),
                          static_cast<float>(engine->Texture_GetHeight(texture, false)), 0, 0, 0, 0.0f),
        texture);
    // Binding may run the script's finalizers, and one may make a masked
    // sprite of its own, ending the screen's temporary one: this sprite
    // becomes that one only once it is bound.
    pending.Sprite()->Bind(L);
    pending.HandTo(self);
    return 1;
}
