// RIFF WAVE sounds whose chunks claim more bytes than the file holds. SDL's
// reader allocates what a chunk claims before it reads it: a header of a few
// bytes can make it ask for 4 GB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfxsdl {

// A copy of the sound with every chunk's claim cut to the bytes that follow
// it, or empty when the data is no WAVE file (with or without its RIFF
// header) or claims nothing too much.
// The reader then takes the same bytes as before, without the allocation.
std::vector<uint8_t> FitWaveChunks(const uint8_t* data, size_t size);

}  // namespace gfxsdl
