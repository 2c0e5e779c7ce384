// 100 particle systems of 500 live particles each, updated and drawn once per
// iteration on the real engine; each iteration is one whole frame of the
// engine's loop (events, update, render, copy to the window and swap).
// Reports particles handled per second and draw calls per frame.
//
// Run under a display (tools/with-display) with LIBGL_ALWAYS_SOFTWARE=1 for
// the figures of Mesa's llvmpipe.
#include "engine/gfx.h"
#include "engine/sdl/Hooks.h"
#include "bench/BenchPreset.h"
#include "helpers/gfxParticleSystem.h"
#include "helpers/gfxSprite.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 800, kHeight = 600, kSystems = 100, kTexture = 16;
constexpr float kFrame = 1.0f / 60.0f;

GFX* g_Gfx = nullptr;
std::unique_ptr<gfxSprite> g_Sprite;
std::vector<std::unique_ptr<gfxParticleSystem>> g_Systems;
int g_Frame = 0;

HTEXTURE MakeParticleTexture() {
    HTEXTURE tex = g_Gfx->Texture_Create(kTexture, kTexture);
    uint32_t* texels = g_Gfx->Texture_Lock(tex, false);
    for (int y = 0; y < kTexture; ++y)
        for (int x = 0; x < kTexture; ++x) {
            int dx = x - kTexture / 2, dy = y - kTexture / 2;
            uint32_t alpha = dx * dx + dy * dy < (kTexture / 2) * (kTexture / 2) ? 0xFFu : 0u;
            texels[y * kTexture + x] = (alpha << 24) | 0xFFFFFFu;
        }
    g_Gfx->Texture_Unlock(tex);
    return tex;
}

// One frame per System_Start.
bool Frame() {
    if (++g_Frame > 1) return true;
    for (auto& system : g_Systems) system->Update(kFrame);
    return false;
}

bool Render() {
    g_Gfx->Gfx_BeginScene(0);
    g_Gfx->Gfx_Clear(0xFF101820);
    for (auto& system : g_Systems) system->Render();
    g_Gfx->Gfx_EndScene();
    return false;
}

void UpdateAndRender(benchmark::State& state) {
    g_Gfx->System_SetState(GFX_FRAMEFUNC, Frame);
    g_Gfx->System_SetState(GFX_RENDERFUNC, Render);
    uint64_t calls = 0;
    for (auto _ : state) {
        g_Frame = 0;
        uint64_t before = gfxsdl::DrawCallCount();
        g_Gfx->System_Start();
        calls += gfxsdl::DrawCallCount() - before;
    }
    int alive = 0;
    for (const auto& system : g_Systems) alive += system->GetParticlesAlive();
    double frames = static_cast<double>(state.iterations());
    state.counters["particles"] = alive;
    state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["draws/frame"] = static_cast<double>(calls) / frames;
    state.SetItemsProcessed(static_cast<int64_t>(alive) * state.iterations());
}
BENCHMARK(UpdateAndRender)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    g_Gfx = gfxCreate(GFX_VERSION);
    g_Gfx->System_SetState(GFX_WINDOWED, true);
    g_Gfx->System_SetState(GFX_USESOUND, false);
    g_Gfx->System_SetState(GFX_SCREENWIDTH, kWidth);
    g_Gfx->System_SetState(GFX_SCREENHEIGHT, kHeight);
    g_Gfx->System_SetState(GFX_FPS, GFXFPS_UNLIMITED);
    g_Gfx->System_SetState(GFX_TITLE, "particles benchmark");
    if (!g_Gfx->System_Initiate()) {
        std::fprintf(stderr, "particles_sdl: the engine could not be initiated (no display or no OpenGL 3.3)\n");
        g_Gfx->Release();
        return 1;
    }
    HTEXTURE tex = MakeParticleTexture();
    g_Sprite.reset(new gfxSprite(tex, 0, 0, kTexture, kTexture));
    gfxParticleSystemInfo info = BenchPreset();
    for (int i = 0; i < kSystems; ++i) {
        g_Systems.push_back(std::make_unique<gfxParticleSystem>(&info, g_Sprite.get()));
        g_Systems.back()->FireAt(40.0f + 7.2f * i, 100.0f + 4.0f * i);
        g_Systems.back()->Update(1.0f);  // fills every system to its cap
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_Systems.clear();
    g_Sprite.reset();
    g_Gfx->Texture_Free(tex);
    g_Gfx->System_Shutdown();
    g_Gfx->Release();
    return 0;
}
