// Textures, fonts and sounds by file name, loaded on first request and freed
// together at the end of the run. Callers get plain handles and must not free
// them.
#pragma once

#include "engine/gfx.h"
#include "host/CTexelCopy.h"

#include <map>
#include <set>
#include <string>

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

    // A forced reload frees the old texture at once when nothing holds it,
    // else when its last holder lets it go.
    HTEXTURE GetTexture(const std::string& file, bool reload);
    // Script sprites hold the texture they draw with while they live.
    void HoldTexture(HTEXTURE texture);
    void ReleaseTexture(HTEXTURE texture);
    // The texels of the texture cached under this name, read back at the
    // first request and kept until the name's texture goes (nothing writes a
    // cached texture). Null when none is cached or it cannot be read back.
    const CTexelCopy* GetTexels(const std::string& file);
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

    // The texels go with their entry, so a reloaded or freed texture takes
    // its copy along.
    struct CachedTexture {
        HTEXTURE texture = 0;
        CTexelCopy texels;  // empty until asked for
    };

    std::map<std::string, CachedTexture> m_TextureCache;
    std::map<std::string, gfxFont*> m_FontCache;
    std::map<std::string, SoundCacheEntry> m_SoundCache;
    // Textures replaced by a forced reload that sprites made before it still
    // draw with; each goes with its last holder, or at FreeTextures.
    std::set<HTEXTURE> m_ReplacedTextures;
    std::map<HTEXTURE, int> m_TextureHolders;
};
