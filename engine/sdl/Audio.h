// Sound through SDL2_mixer, opened with the device (MixerLibrary): effects
// (decoded chunks) played on mixer channels. A channel handle is a 32-bit id
// never reused in a run; it stays valid while its sound plays or is paused on
// the mixer channel it got.
#pragma once

#include "engine/gfx.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

struct Mix_Chunk;

namespace gfxsdl {

class Log;
struct MixerLibrary;

class Audio {
public:
    explicit Audio(Log& log) : m_Log(log) {}
    ~Audio() { Close(); }

    // Opens the audio device; false (reason logged) when there is none, and
    // the engine then stays silent.
    bool Open();
    // Stops every sound and frees every effect.
    void Close();
    bool IsOpen() const { return m_Open; }

    // Without a device an effect is a silent handle (0 only for bad data),
    // so that callers behave alike with sound on and off. WAV, AIFF, Ogg,
    // FLAC and MP3; VOC sounds are refused. A refusal is logged once per
    // name, the file's (null: the sound came from memory).
    HEFFECT Load(const void* data, size_t size, const char* name);
    void Free(HEFFECT effect);
    HCHANNEL Play(HEFFECT effect, int volume, int pan, float pitch, bool loop);
    void SetVolume(HCHANNEL channel, int volume);
    void Pause(HCHANNEL channel);
    void Resume(HCHANNEL channel);
    void Stop(HCHANNEL channel);
    void PauseAll();
    void ResumeAll();
    bool IsPlaying(HCHANNEL channel) const;

    // 0-100 each; effects play at their volume times the effects volume.
    void SetEffectsVolume(int volume);
    void SetMusicVolume(int volume);
    void SetStreamVolume(int volume) { m_StreamVolume = volume; }

private:
    struct Voice {
        HCHANNEL handle = 0;
        HEFFECT effect = 0;
        int volume = 100;
    };

    // The mixer channel of a live handle, -1 when ended or unknown.
    int Find(HCHANNEL channel) const;
    void ApplyVolume(int mixerChannel);

    Log& m_Log;
    const MixerLibrary* m_Mixer = nullptr;  // set from the first Open on
    bool m_Open = false;
    std::unordered_map<HEFFECT, Mix_Chunk*> m_Effects;  // null chunk = silent
    std::vector<Voice> m_Voices;                        // by mixer channel
    HEFFECT m_NextEffect = 1;
    HCHANNEL m_NextChannel = 1;
    int m_EffectsVolume = 100, m_MusicVolume = 100, m_StreamVolume = 100;
};

}  // namespace gfxsdl
