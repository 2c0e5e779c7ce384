// Quads per second through Gfx_RenderQuad on the real engine: sprite quads
// (32 x 32 unless the case says otherwise) on an 800 x 600 screen, of one texture or of two textures alternating
// in runs, each iteration one whole frame of the engine's loop (events,
// render, copy to the window and swap). Reports draw calls per frame.
#include "bench/BenchEngine.h"

#include <chrono>
#include <random>
#include <vector>

namespace {

constexpr int kSprite = 32;

GFX* g_Gfx = nullptr;
HTEXTURE g_Textures[2] = {0, 0};
std::vector<gfxQuad> g_Quads;
double g_SubmitSeconds = 0;  // in the Gfx_RenderQuad calls, flushes of full or changed batches included

bool Render() {
    g_Gfx->Gfx_BeginScene(0);
    g_Gfx->Gfx_Clear(0xFF203040);
    auto start = std::chrono::steady_clock::now();
    for (const gfxQuad& quad : g_Quads) g_Gfx->Gfx_RenderQuad(&quad);
    g_SubmitSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    g_Gfx->Gfx_EndScene();
    return false;
}

HTEXTURE MakeSprite(uint32_t tint) {
    HTEXTURE tex = g_Gfx->Texture_Create(kSprite, kSprite);
    uint32_t* texels = g_Gfx->Texture_Lock(tex, false);
    for (int y = 0; y < kSprite; ++y)
        for (int x = 0; x < kSprite; ++x) {
            int dx = x - kSprite / 2, dy = y - kSprite / 2;
            bool inside = dx * dx + dy * dy < (kSprite / 2) * (kSprite / 2);
            texels[y * kSprite + x] = inside ? tint : 0x00000000u;
        }
    g_Gfx->Texture_Unlock(tex);
    return tex;
}

// `count` sprites of `size` x `size` pixels at random places; with two
// textures they alternate every `run` quads.
void BuildQuads(int count, int textures, int run, int size) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> x(0, kBenchWidth - size), y(0, kBenchHeight - size);
    g_Quads.assign(static_cast<size_t>(count), gfxQuad());
    for (int i = 0; i < count; ++i) {
        gfxQuad& q = g_Quads[static_cast<size_t>(i)];
        float left = x(random), top = y(random);
        const float xs[4] = {left, left + size, left + size, left};
        const float ys[4] = {top, top, top + size, top + size};
        const float us[4] = {0, 1, 1, 0}, vs[4] = {0, 0, 1, 1};
        for (int c = 0; c < 4; ++c) q.v[c] = gfxVertex{xs[c], ys[c], 0.5f, 0xFFFFFFFFu, us[c], vs[c]};
        q.tex = g_Textures[textures == 2 ? (i / run) % 2 : 0];
        q.blend = BLEND_DEFAULT;
    }
}

void Quads(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int textures = static_cast<int>(state.range(1));
    const int run = static_cast<int>(state.range(2));
    BuildQuads(count, textures, run, static_cast<int>(state.range(3)));
    g_SubmitSeconds = 0;
    RunFrames(state, g_Gfx, nullptr, Render);
    double frames = static_cast<double>(state.iterations());
    state.counters["quads/s"] = benchmark::Counter(static_cast<double>(count) * frames, benchmark::Counter::kIsRate);
    state.counters["submit_ms/frame"] = g_SubmitSeconds * 1000.0 / frames;
}

// Arguments: quads per frame, textures, run length of one texture, quad size.
BENCHMARK(Quads)
    ->ArgNames({"quads", "textures", "run", "size"})
    ->Args({0, 1, 1, 32})  // the frame without quads: events, copy to the window, swap
    ->Args({10000, 1, 10000, 32})
    ->Args({10000, 2, 1000, 32})
    ->Args({10000, 2, 100, 32})
    ->Args({50000, 1, 50000, 32})
    ->Args({50000, 2, 1000, 32})
    ->Args({50000, 2, 100, 32})
    ->Args({36000, 1, 36000, 4})  // the engine's side of 36,000 script sprites of 4 x 4
    ->Args({36000, 2, 100, 4})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    g_Gfx = StartBenchEngine("quads_sdl");
    if (!g_Gfx) return 1;
    g_Textures[0] = MakeSprite(0xFFFF8040);
    g_Textures[1] = MakeSprite(0xC040FF80);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    StopBenchEngine(g_Gfx);
    return 0;
}
