// The sound a script makes with "GetSound" for one file: play once or as an
// extra overlapping voice, stop, pause, resume and change the volume. The
// channel that last played the file and its volume live in the cache's entry
// for the sound, so every stream on the same file sees and drives them. The
// screen that made it owns it; sounds it started play on after it is gone.
#pragma once

#include "engine/gfx.h"
#include "script/CLuaBoundObject.h"

#include <set>

class CGFXFuncHelperBase;
class CGFXStarter;
class CResourceCache;

class CScriptStream final : public CLuaBoundObject<CScriptStream> {
public:
    // effect is 0 when the sound file could not be loaded. The screen that
    // made the stream owns it through its list; no method reaches back to it.
    CScriptStream(CGFXStarter* starter, CGFXFuncHelperBase* owner, HEFFECT effect);
    ~CScriptStream();
    CScriptStream(const CScriptStream&) = delete;
    CScriptStream& operator=(const CScriptStream&) = delete;

    // Whether the file's recorded channel still plays (a paused one does).
    bool IsPlaying();
    HEFFECT GetEffect() const { return m_Effect; }

private:
    static const ScriptMethod<CScriptStream> kMethods[];

    int Play(lua_State* L);
    int Stop();
    int Pause();
    int Resume();
    int SetVolume(lua_State* L);
    int PushIsPlaying(lua_State* L);
    int PlayEx(lua_State* L);
    int GetVolume(lua_State* L);

    GFX* Engine() const;
    CResourceCache* Cache() const;
    void Refresh();
    // Reads volume then loop, starts a new voice and records it for the file.
    HCHANNEL StartVoice(lua_State* L);
    // Drops the extra voices that no longer play.
    void PruneExtraChannels();

    CGFXStarter* m_Starter;
    HEFFECT m_Effect;
    HCHANNEL m_Channel = 0;
    std::set<HCHANNEL> m_ExtraChannels;
};
