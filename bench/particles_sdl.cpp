// 100 particle systems of 500 live particles each, updated and drawn once per
// iteration on the real engine; each iteration is one whole frame of the
// engine's loop (events, update, render, copy to the window and swap).
// Reports particles handled per second and draw calls per frame.
#include "bench/BenchEngine.h"
#include "bench/BenchPreset.h"
#include "helpers/gfxParticleSystem.h"
#include "helpers/gfxSprite.h"

#include <memory>
#include <vector>

namespace {

constexpr int kSystems = 100, kTexture = 16;
constexpr float kFrame = 1.0f / 60.0f;

GFX* g_Gfx = nullptr;
std::unique_ptr<gfxSprite> g_Sprite;
std::vector<std::unique_ptr<gfxParticleSystem>> g_Systems;

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

bool Update() {
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
    RunFrames(state, g_Gfx, Update, Render);
    int alive = 0;
    for (const auto& system : g_Systems) alive += system->GetParticlesAlive();
    state.counters["particles"] = alive;
    state.SetItemsProcessed(static_cast<int64_t>(alive) * state.iterations());
}
BENCHMARK(UpdateAndRender)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    g_Gfx = StartBenchEngine("particles_sdl");
    if (!g_Gfx) return 1;
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
    StopBenchEngine(g_Gfx);
    return 0;
}
