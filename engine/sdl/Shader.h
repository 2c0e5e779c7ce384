// The shader programs of the quad batch: texel times or plus the vertex
// colour (clamped), alpha always texel alpha times vertex alpha; and the
// texel alone, the same picture as times opaque white at less cost per
// pixel. Programs rather than one with a branch: software rasterisers shade
// both sides of a branch.
#pragma once

namespace gfxsdl {

class Log;

struct QuadProgram {
    unsigned program = 0;
    int scale = -1;                      // vec2: 2 / target size, pixels to clip space
    int texture = -1;                    // sampler on unit 0
    float scaleX = 0.0f, scaleY = 0.0f;  // the scale as last set
};

// Attribute locations of the vertex layout (gfxVertex).
enum { kAttribPosition = 0, kAttribColor = 1, kAttribTexCoord = 2 };

enum QuadShading { kShadeMultiply = 0, kShadeAdd = 1, kShadeTexel = 2, kShadingCount = 3 };

// False (reason logged) when the program does not compile or link.
bool BuildQuadProgram(QuadProgram& program, QuadShading shading, Log& log);
void DeleteQuadProgram(QuadProgram& program);

}  // namespace gfxsdl
