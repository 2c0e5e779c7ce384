// What the engine fuzz targets share: an audio device on SDL's dummy driver
// (opened once, so decoding runs as in a game with sound) and the decoders
// every file of a pack may reach.
#pragma once

#include "engine/sdl/Audio.h"
#include "engine/sdl/Image.h"
#include "engine/sdl/Log.h"

#include <cstdlib>
#include <string>

namespace enginefuzz {

inline gfxsdl::Audio& OpenAudio() {
    static gfxsdl::Log log;
    static gfxsdl::Audio* audio = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        auto* a = new gfxsdl::Audio(log);
        if (!a->Open()) std::abort();
        return a;
    }();
    return *audio;
}

// A decoded picture has the texels its size promises.
inline void DecodePicture(const void* data, size_t size) {
    gfxsdl::DecodedImage image;
    std::string error;
    if (gfxsdl::DecodeImage(data, size, image, error) &&
        image.argb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
        std::abort();
}

// A loaded sound plays, stops and frees.
inline void DecodeSound(const void* data, size_t size) {
    gfxsdl::Audio& audio = OpenAudio();
    if (HEFFECT effect = audio.Load(data, size, nullptr)) {
        audio.Stop(audio.Play(effect, 50, -30, 1.0f, false));
        audio.Free(effect);
    }
}

}  // namespace enginefuzz
