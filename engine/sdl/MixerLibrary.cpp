#include "engine/sdl/MixerLibrary.h"

#include "engine/sdl/SharedLibrary.h"

namespace gfxsdl {

namespace {

const char* const kFile = "libSDL2_mixer-2.0.so.0";

bool FindAll(SharedLibrary& library, MixerLibrary& mixer, std::string& error) {
    return library.Find("Mix_Init", mixer.Init, error) && library.Find("Mix_Quit", mixer.Quit, error) &&
           library.Find("Mix_OpenAudio", mixer.OpenAudio, error) &&
           library.Find("Mix_CloseAudio", mixer.CloseAudio, error) &&
           library.Find("Mix_AllocateChannels", mixer.AllocateChannels, error) &&
           library.Find("Mix_Volume", mixer.Volume, error) &&
           library.Find("Mix_VolumeMusic", mixer.VolumeMusic, error) &&
           library.Find("Mix_LoadWAV_RW", mixer.LoadWAV_RW, error) &&
           library.Find("Mix_FreeChunk", mixer.FreeChunk, error) &&
           library.Find("Mix_PlayChannelTimed", mixer.PlayChannelTimed, error) &&
           library.Find("Mix_HaltChannel", mixer.HaltChannel, error) &&
           library.Find("Mix_SetPanning", mixer.SetPanning, error) &&
           library.Find("Mix_Playing", mixer.Playing, error) && library.Find("Mix_Pause", mixer.Pause, error) &&
           library.Find("Mix_Resume", mixer.Resume, error);
}

}  // namespace

const MixerLibrary* OpenMixerLibrary(std::string& error) { return OpenLibraryFunctions(kFile, FindAll, error); }

}  // namespace gfxsdl
