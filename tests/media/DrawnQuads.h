// The quads the recording engine was given, as the tests of the media objects
// read them: texel corner, screen corners, texture and colour.
#pragma once

#include "engine/recording/RecordingEngine.h"

#include <vector>

struct DrawnQuad {
    float u, v;           // texel of the top-left corner in the texture
    float x, y;           // screen top-left corner
    float right, bottom;  // screen bottom-right corner
    HTEXTURE tex;
    uint32_t col;  // colour of the top-left corner
};

// Takes the quads drawn so far and clears the engine's log.
inline std::vector<DrawnQuad> TakeQuads(RecordingEngine* engine) {
    std::vector<DrawnQuad> out;
    for (const gfxQuad& q : engine->Quads()) {
        const RecordingEngine::Texture* t = engine->FindTexture(q.tex);
        const float w = t ? static_cast<float>(t->surfaceWidth) : 1.0f;
        const float h = t ? static_cast<float>(t->surfaceHeight) : 1.0f;
        out.push_back({q.v[0].tx * w, q.v[0].ty * h, q.v[0].x, q.v[0].y, q.v[2].x, q.v[2].y, q.tex, q.v[0].col});
    }
    engine->ClearLog();
    return out;
}

inline std::vector<float> Xs(const std::vector<DrawnQuad>& quads) {
    std::vector<float> xs;
    for (const DrawnQuad& q : quads) xs.push_back(q.x);
    return xs;
}
