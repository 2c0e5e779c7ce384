#include "media/CScriptStream.h"

#include "host/CGFXStarter.h"
#include "host/CResourceCache.h"
#include "script/LuaStack.h"

#include <vector>

namespace {
using S = CScriptStream;
}  // namespace

const ScriptMethod<CScriptStream> CScriptStream::kMethods[] = {
    {"Play", Handler<&S::Play>},
    {"Stop", [](S& s, lua_State*) { return s.Stop(); }},
    {"Pause", [](S& s, lua_State*) { return s.Pause(); }},
    {"Resume", [](S& s, lua_State*) { return s.Resume(); }},
    {"SetVolume", Handler<&S::SetVolume>},
    {"IsPlaying", Handler<&S::PushIsPlaying>},
    {"PlayEx", Handler<&S::PlayEx>},
    {"GetVolume", Handler<&S::GetVolume>},
};

CScriptStream::CScriptStream(CGFXStarter* starter, CGFXFuncHelperBase*, HEFFECT effect)
    : CLuaBoundObject(kMethods), m_Starter(starter), m_Effect(effect) {}

// Stops nothing: what the stream started goes on playing.
CScriptStream::~CScriptStream() { m_ExtraChannels.clear(); }

GFX* CScriptStream::Engine() const { return m_Starter->GetEngine(); }

CResourceCache* CScriptStream::Cache() const { return m_Starter->GetResourceCache(); }

void CScriptStream::Refresh() { m_Channel = Cache()->GetSoundChannel(m_Effect); }

bool CScriptStream::IsPlaying() {
    Refresh();
    const bool playing = m_Channel != 0 && Engine()->Channel_IsPlaying(m_Channel);
    // The cache entry keeps the ended channel; only this copy forgets it.
    if (!playing) m_Channel = 0;
    return playing;
}

HCHANNEL CScriptStream::StartVoice(lua_State* L) {
    int volume = 0;
    bool loop = false;
    LuaPop(L, -1, volume);
    LuaPop(L, -1, loop);
    m_Channel = Engine()->Effect_PlayEx(m_Effect, volume, 0, 1.0f, loop);
    Cache()->SetSoundChannel(m_Effect, m_Channel);
    Cache()->SetSoundVolume(m_Effect, volume);
    return m_Channel;
}

// A voice already playing keeps playing: the arguments are not even read.
int CScriptStream::Play(lua_State* L) {
    if (IsPlaying()) return 0;
    StartVoice(L);
    return 0;
}

int CScriptStream::PlayEx(lua_State* L) {
    m_ExtraChannels.insert(StartVoice(L));
    PruneExtraChannels();
    return 0;
}

void CScriptStream::PruneExtraChannels() {
    const std::vector<HCHANNEL> channels(m_ExtraChannels.begin(), m_ExtraChannels.end());
    for (HCHANNEL channel : channels)
        if (!Engine()->Channel_IsPlaying(channel)) m_ExtraChannels.erase(channel);
}

int CScriptStream::Stop() {
    Refresh();
    if (m_Channel) {
        Engine()->Channel_Stop(m_Channel);
        Cache()->SetSoundChannel(m_Effect, 0);
    }
    for (HCHANNEL channel : m_ExtraChannels) Engine()->Channel_Stop(channel);
    m_ExtraChannels.clear();
    m_Channel = 0;
    return 0;
}

int CScriptStream::Pause() {
    Refresh();
    if (m_Channel) Engine()->Channel_Pause(m_Channel);
    return 0;
}

int CScriptStream::Resume() {
    Refresh();
    if (m_Channel) Engine()->Channel_Resume(m_Channel);
    return 0;
}

// Without a recorded channel the volume is dropped: neither stored nor applied.
int CScriptStream::SetVolume(lua_State* L) {
    int volume = 0;
    LuaPop(L, -1, volume);
    Refresh();
    if (!m_Channel) return 0;
    Cache()->SetSoundVolume(m_Effect, volume);
    Engine()->Channel_SetVolume(m_Channel, volume);
    return 0;
}

int CScriptStream::PushIsPlaying(lua_State* L) {
    LuaPush(L, IsPlaying());
    return 1;
}

int CScriptStream::GetVolume(lua_State* L) {
    LuaPush(L, Cache()->GetSoundVolume(m_Effect));
    return 1;
}
