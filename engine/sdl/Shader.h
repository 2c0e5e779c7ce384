// The shader programs of the quad batch: texel times or plus the vertex
// colour (clamped), alpha always texel alpha times vertex alpha. Two programs
// rather than one with a branch: software rasterisers shade both sides of a
// branch.
#pragma once

namespace gfxsdl {

class Log;

struct QuadProgram {
    unsigned program = 0;
    int scale = -1;    // vec2: 2 / target size, pixels to clip space
    int texture = -1;  // sampler on unit 0
};

// Attribute locations of the vertex layout (gfxVertex).
enum { kAttribPosition = 0, kAttribColor = 1, kAttribTexCoord = 2 };

// False (reason logged) when the program does not compile or link.
// colorAdd: texel plus vertex colour, else texel times vertex colour.
bool BuildQuadProgram(QuadProgram& program, bool colorAdd, Log& log);
void DeleteQuadProgram(QuadProgram& program);

}  // namespace gfxsdl
