// The real engine as every benchmark of it opens it (an 800 x 600 window, no
// sound, no frame cap), and its loop run for one frame per iteration.
//
// Run under a display (tools/with-display) with LIBGL_ALWAYS_SOFTWARE=1 for
// the figures of Mesa's llvmpipe.
#pragma once

#include "engine/gfx.h"
#include "engine/sdl/Hooks.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

constexpr int kBenchWidth = 800, kBenchHeight = 600;

// Null, with the reason on standard error, without a display or OpenGL 3.3.
inline GFX* StartBenchEngine(const char* title) {
    GFX* gfx = gfxCreate(GFX_VERSION);
    gfx->System_SetState(GFX_WINDOWED, true);
    gfx->System_SetState(GFX_USESOUND, false);
    gfx->System_SetState(GFX_SCREENWIDTH, kBenchWidth);
    gfx->System_SetState(GFX_SCREENHEIGHT, kBenchHeight);
    gfx->System_SetState(GFX_FPS, GFXFPS_UNLIMITED);
    gfx->System_SetState(GFX_TITLE, title);
    if (gfx->System_Initiate()) return gfx;
    std::fprintf(stderr, "%s: the engine could not be initiated (no display or no OpenGL 3.3)\n", title);
    gfx->Release();
    return nullptr;
}

inline void StopBenchEngine(GFX* gfx) {
    gfx->System_Shutdown();
    gfx->Release();
}

namespace benchengine {
inline gfxCallback g_Update = nullptr;
inline int g_Frame = 0;

// Ends the loop at its second call: one rendered frame per System_Start.
inline bool OneFrame() {
    if (++g_Frame > 1) return true;
    return g_Update && g_Update();
}
}  // namespace benchengine

// One whole frame of the engine's loop per iteration (events, `update` if
// given, `render`, the copy to the window and the swap); the frames per
// second and the draw calls per frame go to the state's counters.
inline void RunFrames(benchmark::State& state, GFX* gfx, gfxCallback update, gfxCallback render) {
    benchengine::g_Update = update;
    gfx->System_SetState(GFX_FRAMEFUNC, benchengine::OneFrame);
    gfx->System_SetState(GFX_RENDERFUNC, render);
    // A frame before the timed ones builds the shader programs they draw with.
    benchengine::g_Frame = 0;
    gfx->System_Start();
    uint64_t calls = 0;
    for (auto _ : state) {
        benchengine::g_Frame = 0;
        const uint64_t before = gfxsdl::DrawCallCount();
        gfx->System_Start();
        calls += gfxsdl::DrawCallCount() - before;
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["draws/frame"] = static_cast<double>(calls) / frames;
}
