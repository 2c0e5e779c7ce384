// Engine-internal hooks for the benchmarks and tests of the SDL engine; the
// program does not use them. Free of SDL and OpenGL types.
#pragma once

#include <cstdint>

namespace gfxsdl {

// OpenGL draw calls the live engine made since System_Initiate; 0 without one.
uint64_t DrawCallCount();

}  // namespace gfxsdl
