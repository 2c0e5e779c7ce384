#include "engine/sdl/Audio.h"

#include "engine/sdl/Log.h"
#include "engine/sdl/MixerLibrary.h"
#include "engine/sdl/WaveChunks.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace gfxsdl {

namespace {

constexpr int kVoices = 32;
constexpr char kVocSignature[] = "Creative Voice File";

int Clamp100(int volume) { return std::clamp(volume, 0, 100); }

Mix_Chunk* DecodeChunk(const MixerLibrary& mixer, const void* data, size_t size) {
    const std::vector<uint8_t> fitted = FitWaveChunks(static_cast<const uint8_t*>(data), size);
    SDL_RWops* source = SDL_RWFromConstMem(fitted.empty() ? data : fitted.data(), static_cast<int>(size));
    if (!source) return nullptr;
    // Closed here: the mixer leaves the source open on some refusals.
    Mix_Chunk* chunk = mixer.LoadWAV_RW(source, 0);
    SDL_RWclose(source);
    return chunk;
}

}  // namespace

bool Audio::Open() {
    if (m_Open) return true;
    std::string error;
    m_Mixer = OpenMixerLibrary(error);
    if (!m_Mixer) {
        m_Log.Write("Sound: no audio: SDL2_mixer cannot be opened: %s", error.c_str());
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        m_Log.Write("Sound: no audio: %s", SDL_GetError());
        return false;
    }
    m_Mixer->Init(MIX_INIT_OGG);
    if (m_Mixer->OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        m_Log.Write("Sound: cannot open the audio device: %s", Mix_GetError());
        m_Mixer->Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int voices = m_Mixer->AllocateChannels(kVoices);
    m_Voices.assign(static_cast<size_t>(voices), Voice());
    m_Open = true;
    m_Mixer->Volume(-1, MIX_MAX_VOLUME);
    m_Mixer->VolumeMusic(m_MusicVolume * MIX_MAX_VOLUME / 100);
    return true;
}

void Audio::Close() {
    if (m_Open) m_Mixer->HaltChannel(-1);
    // A chunk exists only where the mixer decoded it.
    for (auto& effect : m_Effects)
        if (effect.second) m_Mixer->FreeChunk(effect.second);
    m_Effects.clear();
    m_Voices.clear();
    if (m_Open) {
        m_Mixer->CloseAudio();
        m_Mixer->Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_Open = false;
    }
}

HEFFECT Audio::Load(const void* data, size_t size, const char* name) {
    if (!data || size == 0 || size > 0x7FFFFFFF) return 0;
    if (!name) name = "the sound in memory";
    // The mixer's VOC reader leaks and asks for gigabytes on bad blocks.
    if (size >= sizeof kVocSignature - 1 && std::memcmp(data, kVocSignature, sizeof kVocSignature - 1) == 0) {
        m_Log.WriteOnce("Effect_Load: cannot decode %s: Creative Voice (VOC) sounds are not taken", name);
        return 0;
    }
    Mix_Chunk* chunk = nullptr;
    if (m_Open) {
        chunk = DecodeChunk(*m_Mixer, data, size);
        if (!chunk) {
            m_Log.WriteOnce("Effect_Load: cannot decode %s: %s", name, Mix_GetError());
            return 0;
        }
    }
    HEFFECT handle = m_NextEffect++;
    m_Effects[handle] = chunk;
    return handle;
}

void Audio::Free(HEFFECT effect) {
    auto it = m_Effects.find(effect);
    if (it == m_Effects.end()) return;
    for (size_t i = 0; i < m_Voices.size(); ++i) {
        if (m_Voices[i].effect == effect) {
            if (Find(m_Voices[i].handle) >= 0) m_Mixer->HaltChannel(static_cast<int>(i));
            m_Voices[i] = Voice();
        }
    }
    if (it->second) m_Mixer->FreeChunk(it->second);
    m_Effects.erase(it);
}

HCHANNEL Audio::Play(HEFFECT effect, int volume, int pan, float pitch, bool loop) {
    auto it = m_Effects.find(effect);
    if (it == m_Effects.end() || !it->second || !m_Open) return 0;
    if (pitch != 1.0f)
        m_Log.Once("pitch", "Effect_PlayEx: the mixer cannot change the pitch; sounds play at normal speed");
    int channel = m_Mixer->PlayChannelTimed(-1, it->second, loop ? -1 : 0, -1);
    if (channel < 0 || channel >= static_cast<int>(m_Voices.size())) {
        if (channel >= 0) m_Mixer->HaltChannel(channel);
        return 0;
    }
    Voice& voice = m_Voices[static_cast<size_t>(channel)];
    voice.handle = m_NextChannel++;
    voice.effect = effect;
    voice.volume = Clamp100(volume);
    ApplyVolume(channel);
    // Panning is an effect on the mixer channel; 255/255 removes it.
    pan = std::clamp(pan, -100, 100);
    Uint8 left = static_cast<Uint8>(pan <= 0 ? 255 : 255 * (100 - pan) / 100);
    Uint8 right = static_cast<Uint8>(pan >= 0 ? 255 : 255 * (100 + pan) / 100);
    m_Mixer->SetPanning(channel, left, right);
    return voice.handle;
}

int Audio::Find(HCHANNEL channel) const {
    if (!channel || !m_Open) return -1;
    for (size_t i = 0; i < m_Voices.size(); ++i) {
        if (m_Voices[i].handle == channel) return m_Mixer->Playing(static_cast<int>(i)) ? static_cast<int>(i) : -1;
    }
    return -1;
}

void Audio::ApplyVolume(int mixerChannel) {
    const Voice& voice = m_Voices[static_cast<size_t>(mixerChannel)];
    m_Mixer->Volume(mixerChannel, voice.volume * m_EffectsVolume * MIX_MAX_VOLUME / 10000);
}

void Audio::SetVolume(HCHANNEL channel, int volume) {
    int i = Find(channel);
    if (i < 0) return;
    m_Voices[static_cast<size_t>(i)].volume = Clamp100(volume);
    ApplyVolume(i);
}

void Audio::Pause(HCHANNEL channel) {
    int i = Find(channel);
    if (i >= 0) m_Mixer->Pause(i);
}

void Audio::Resume(HCHANNEL channel) {
    int i = Find(channel);
    if (i >= 0) m_Mixer->Resume(i);
}

void Audio::Stop(HCHANNEL channel) {
    int i = Find(channel);
    if (i < 0) return;
    m_Mixer->HaltChannel(i);
    m_Voices[static_cast<size_t>(i)] = Voice();
}

void Audio::PauseAll() {
    if (m_Open) m_Mixer->Pause(-1);
}

void Audio::ResumeAll() {
    if (m_Open) m_Mixer->Resume(-1);
}

bool Audio::IsPlaying(HCHANNEL channel) const { return Find(channel) >= 0; }

void Audio::SetEffectsVolume(int volume) {
    m_EffectsVolume = Clamp100(volume);
    if (!m_Open) return;
    for (size_t i = 0; i < m_Voices.size(); ++i)
        if (m_Voices[i].handle) ApplyVolume(static_cast<int>(i));
}

void Audio::SetMusicVolume(int volume) {
    m_MusicVolume = Clamp100(volume);
    if (m_Open) m_Mixer->VolumeMusic(m_MusicVolume * MIX_MAX_VOLUME / 100);
}

}  // namespace gfxsdl
