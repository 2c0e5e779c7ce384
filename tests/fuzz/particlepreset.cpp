// Preset files of any content: the decoder reads at most the record, and a
// system built on the result runs, moves and draws without undefined
// behaviour whatever floats the bytes hold. Bytes after the record choose the
// frame times.
#include "engine/recording/RecordingEngine.h"
#include "helpers/gfxParticleSystem.h"
#include "helpers/gfxParticleSystemInfo.h"
#include "helpers/gfxSprite.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

float FrameTime(const uint8_t* data, size_t size, size_t i) {
    size_t off = gfxParticleSystemInfo::GFXPRESET_SIZE + 4 * i;
    if (off + 4 > size) return 0.25f;
    float dt;
    std::memcpy(&dt, data + off, sizeof dt);
    return dt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Initiated, with the screen's scene open, so that the particles draw.
    static GFX* gfx = [] {
        GFX* g = gfxCreate(GFX_VERSION);
        g->System_Initiate();
        g->Gfx_BeginScene(0);
        return g;
    }();
    RecordingEngine* engine = RecordingEngine::Instance();

    gfxParticleSystemInfo info;
    bool ok = info.Decode(data, size);
    if (ok != (size >= gfxParticleSystemInfo::GFXPRESET_SIZE)) std::abort();

    engine->AddFile("fuzz.psi", std::string(reinterpret_cast<const char*>(data), size));
    // Zero width: the recording engine does not rasterize the quads, whose
    // corners may lie beyond int (its rasterizer converts them unguarded).
    gfxSprite sprite(0, 0, 0, 0, 16);
    gfxParticleSystem ps("fuzz.psi", &sprite);
    if (std::memcmp(&ps.info.fLifetime, &info.fLifetime, sizeof info.fLifetime) != 0) std::abort();

    ps.FireAt(100, 100);
    for (size_t i = 0; i < 4; ++i) {
        ps.Update(FrameTime(data, size, i));
        ps.MoveTo(100 + 10.0f * i, 100, i % 2 == 1);
        ps.Render();
        if (ps.GetParticlesAlive() < 0 || ps.GetParticlesAlive() > gfxParticleSystem::GFXPS_MAXPARTICLES) std::abort();
    }
    engine->ClearLog();
    (void)gfx;
    return 0;
}
