// Textures, fonts and sounds by file name, loaded on first request and freed
// together at the end of the run. Callers get plain handles and must not free
// them.
#pragma once

#include "engine/gfx.h"

#include <map>
#include <string>
#include <vector>

class gfxFont;

struct SoundCacheEntry {
    HEFFECT effect = 0;
    HCHANNEL channel = 0;  // the channel a sound stream last started it on
    int volume = 100;      // the volume a sound stream last gave that channel
};

class CResourceCache {
public:
    CResourceCache() = default;
    ~CResourceCache() = default;
    CResourceCache(const CResourceCache&) = delete;
    CResourceCache& operator=(const CResourceCache&) = delete;

    HTEXTURE GetTexture(const std::string& file, bool reload);
    gfxFont* GetFont(const std::string& file);
    HEFFECT GetSound(const std::string& file);

    void SetSoundChannel(HEFFECT effect, HCHANNEL channel);
    void SetSoundVolume(HEFFECT effect, int volume);
    HCHANNEL GetSoundChannel(HEFFECT effect) const;
    int GetSoundVolume(HEFFECT effect) const;

    void FreeTextures();
    void FreeFonts();
    void FreeSounds();
    void FreeAll();

private:
    SoundCacheEntry* FindSound(HEFFECT effect);
    const SoundCacheEntry* FindSound(HEFFECT effect) const;

    std::map<std::string, HTEXTURE> m_TextureCache;
    std::map<std::string, gfxFont*> m_FontCache;
    std::map<std::string, SoundCacheEntry> m_SoundCache;
    // Textures replaced by a forced reload: sprites made before the reload may
    // still draw with them, so they live until FreeTextures.
    std::vector<HTEXTURE> m_ReplacedTextures;
};
