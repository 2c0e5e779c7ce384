// SDL2_mixer, opened when sound is first switched on: it brings in some
// thirty libraries of its own (fluidsynth, glib, jack, D-Bus, libsndfile and
// more) that a run without sound never needs.
#pragma once

#include <SDL_mixer.h>

#include <string>

namespace gfxsdl {

struct MixerLibrary {
    decltype(&Mix_Init) Init = nullptr;
    decltype(&Mix_Quit) Quit = nullptr;
    decltype(&Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&Mix_AllocateChannels) AllocateChannels = nullptr;
    decltype(&Mix_Volume) Volume = nullptr;
    decltype(&Mix_VolumeMusic) VolumeMusic = nullptr;
    decltype(&Mix_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&Mix_FreeChunk) FreeChunk = nullptr;
    decltype(&Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
    decltype(&Mix_HaltChannel) HaltChannel = nullptr;
    decltype(&Mix_SetPanning) SetPanning = nullptr;
    decltype(&Mix_Playing) Playing = nullptr;
    decltype(&Mix_Pause) Pause = nullptr;
    decltype(&Mix_Resume) Resume = nullptr;
};

// The library with all its functions, opened on the first call that
// succeeds; null, with the reason in `error`, when it cannot be opened.
const MixerLibrary* OpenMixerLibrary(std::string& error);

}  // namespace gfxsdl
