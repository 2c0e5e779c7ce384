#include "host/CResourceCache.h"

#include "helpers/gfxFont.h"
#include "host/CGFXStarter.h"

namespace {
// The host singleton's engine, held for the length of one cache call.
class EngineAccess {
public:
    EngineAccess() : m_Starter(CGFXStarter::GetInstance()) {}
    ~EngineAccess() { m_Starter->Release(); }
    EngineAccess(const EngineAccess&) = delete;
    EngineAccess& operator=(const EngineAccess&) = delete;
    GFX* Get() const { return m_Starter->GetEngine(); }
    GFX* operator->() const { return Get(); }

private:
    CGFXStarter* m_Starter;
};
}  // namespace

HTEXTURE CResourceCache::GetTexture(const std::string& file, bool reload) {
    auto it = m_TextureCache.find(file);
    if (it != m_TextureCache.end()) {
        if (!reload) return it->second.texture;
        const HTEXTURE old = it->second.texture;
        m_TextureCache.erase(it);
        if (m_TextureHolders.count(old))
            m_ReplacedTextures.insert(old);
        else
            EngineAccess()->Texture_Free(old);
    }
    EngineAccess engine;
    const HTEXTURE tex = engine->Texture_Load(file.c_str(), 0, false);
    if (tex) m_TextureCache[file].texture = tex;
    return tex;
}

void CResourceCache::HoldTexture(HTEXTURE texture) {
    if (texture) ++m_TextureHolders[texture];
}

void CResourceCache::ReleaseTexture(HTEXTURE texture) {
    auto it = m_TextureHolders.find(texture);
    if (it == m_TextureHolders.end() || --it->second > 0) return;
    m_TextureHolders.erase(it);
    if (m_ReplacedTextures.erase(texture)) EngineAccess()->Texture_Free(texture);
}

const CTexelCopy* CResourceCache::GetTexels(const std::string& file) {
    auto it = m_TextureCache.find(file);
    if (it == m_TextureCache.end()) return nullptr;
    CachedTexture& cached = it->second;
    if (cached.texels.Width() == 0 && !cached.texels.ReadBack(EngineAccess().Get(), cached.texture)) return nullptr;
    return &cached.texels;
}

gfxFont* CResourceCache::GetFont(const std::string& file) {
    auto it = m_FontCache.find(file);
    if (it != m_FontCache.end()) return it->second;
    gfxFont* font = new gfxFont(file.c_str(), false);
    m_FontCache[file] = font;
    return font;
}

HEFFECT CResourceCache::GetSound(const std::string& file) {
    auto it = m_SoundCache.find(file);
    if (it != m_SoundCache.end()) return it->second.effect;
    EngineAccess engine;
    const HEFFECT effect = engine->Effect_Load(file.c_str(), 0);
    if (effect) m_SoundCache[file] = SoundCacheEntry{effect, 0, 100};
    return effect;
}

// Map order decides which entry answers when two files share an effect.
SoundCacheEntry* CResourceCache::FindSound(HEFFECT effect) {
    if (!effect) return nullptr;
    for (auto& entry : m_SoundCache)
        if (entry.second.effect == effect) return &entry.second;
    return nullptr;
}

const SoundCacheEntry* CResourceCache::FindSound(HEFFECT effect) const {
    return const_cast<CResourceCache*>(this)->FindSound(effect);
}

void CResourceCache::SetSoundChannel(HEFFECT effect, HCHANNEL channel) {
    if (SoundCacheEntry* entry = FindSound(effect)) entry->channel = channel;
}

void CResourceCache::SetSoundVolume(HEFFECT effect, int volume) {
    if (SoundCacheEntry* entry = FindSound(effect)) entry->volume = volume;
}

HCHANNEL CResourceCache::GetSoundChannel(HEFFECT effect) const {
    const SoundCacheEntry* entry = FindSound(effect);
    return entry ? entry->channel : 0;
}

int CResourceCache::GetSoundVolume(HEFFECT effect) const {
    const SoundCacheEntry* entry = FindSound(effect);
    return entry ? entry->volume : 100;
}

void CResourceCache::FreeTextures() {
    if (m_TextureCache.empty() && m_ReplacedTextures.empty()) return;
    EngineAccess engine;
    for (const auto& entry : m_TextureCache) engine->Texture_Free(entry.second.texture);
    for (HTEXTURE tex : m_ReplacedTextures) engine->Texture_Free(tex);
    m_TextureCache.clear();
    m_ReplacedTextures.clear();
    m_TextureHolders.clear();
}

void CResourceCache::FreeFonts() {
    for (const auto& entry : m_FontCache) delete entry.second;
    m_FontCache.clear();
}

void CResourceCache::FreeSounds() {
    if (m_SoundCache.empty()) return;
    EngineAccess engine;
    for (const auto& entry : m_SoundCache) {
        engine->Channel_Stop(entry.second.channel);
        engine->Effect_Free(entry.second.effect);
    }
    m_SoundCache.clear();
}

void CResourceCache::FreeAll() {
    FreeTextures();
    FreeFonts();
    FreeSounds();
}
