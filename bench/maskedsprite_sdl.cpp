// One "GetMaskedSprite" on the real engine, as the host function does it: a
// 512 x 512 picture drawn over white into the 512 x 512 mask target, then the
// target's picture in a new texture with the alpha of a 512 x 512 mask, whose
// texels the resource cache keeps from the first call; the texture is freed
// again. Each iteration is one such call.
#include "bench/BenchEngine.h"
#include "helpers/gfxSprite.h"
#include "host/CTexelCopy.h"
#include "renderers/CMaskComposer.h"

namespace {

constexpr int kSize = 512;

GFX* g_Gfx = nullptr;

HTEXTURE Pattern(uint32_t seed) {
    HTEXTURE tex = g_Gfx->Texture_Create(kSize, kSize);
    uint32_t* texels = g_Gfx->Texture_Lock(tex, false, 0, 0, kSize, kSize);
    for (int i = 0; i < kSize * kSize; ++i) texels[i] = 0xFF000000u | (static_cast<uint32_t>(i) * seed);
    g_Gfx->Texture_Unlock(tex);
    return tex;
}

// The work of one call; false when no masked texture was made.
bool MaskedCall(HTARGET target, gfxSprite& sprite, const CTexelCopy& mask) {
    g_Gfx->Gfx_BeginScene(target);
    g_Gfx->Gfx_Clear(0xFFFFFFFF);
    sprite.Render(0, 0);
    g_Gfx->Gfx_EndScene();
    const HTEXTURE composed =
        CMaskComposer::Compose(g_Gfx, g_Gfx->Target_GetTexture(target), mask, CMaskComposer::Channel::G);
    if (!composed) return false;
    g_Gfx->Texture_Free(composed);
    return true;
}

void OneCall(benchmark::State& state) {
    const HTEXTURE first = Pattern(2654435761u), maskTexture = Pattern(40503u);
    CTexelCopy mask;
    mask.ReadBack(g_Gfx, maskTexture);
    const HTARGET target = g_Gfx->Target_Create(kSize, kSize, false);
    gfxSprite sprite(first, 0, 0, kSize, kSize);
    // The first drawing builds its shader program: not part of a call.
    MaskedCall(target, sprite, mask);
    for (auto _ : state)
        if (!MaskedCall(target, sprite, mask)) state.SkipWithError("no masked texture");
    g_Gfx->Target_Free(target);
    g_Gfx->Texture_Free(first);
    g_Gfx->Texture_Free(maskTexture);
}
BENCHMARK(OneCall)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    g_Gfx = StartBenchEngine("maskedsprite_sdl");
    if (!g_Gfx) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    StopBenchEngine(g_Gfx);
    return 0;
}
