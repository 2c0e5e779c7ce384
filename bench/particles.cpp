// 100 particle systems of 500 live particles each, updated and drawn once per
// iteration into the recording engine (its call log is cleared outside the
// timed part). Reports particles handled per second.
#include "engine/recording/RecordingEngine.h"
#include "bench/BenchPreset.h"
#include "helpers/gfxParticleSystem.h"
#include "helpers/gfxSprite.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int SYSTEMS = 100;
constexpr float FRAME = 1.0f / 60.0f;

class Scene {
public:
    Scene() : gfx(gfxCreate(GFX_VERSION)), sprite(0, 0, 0, 16, 16) {
        RecordingEngine* engine = RecordingEngine::Instance();
        // Varied particles: the engine hands out the queued values in turn.
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        for (int i = 0; i < SYSTEMS * gfxParticleSystem::GFXPS_MAXPARTICLES * 15; ++i)
            engine->QueueRandom(unit(rng) * 4.0f - 2.0f);
        gfxParticleSystemInfo info = BenchPreset();
        for (int i = 0; i < SYSTEMS; ++i) {
            systems.push_back(std::make_unique<gfxParticleSystem>(&info, &sprite));
            systems.back()->FireAt(10.0f * i, 300);
            systems.back()->Update(1.0f);
        }
        engine->ClearLog();
    }
    ~Scene() {
        systems.clear();
        gfx->Release();
    }
    void Update() {
        for (auto& ps : systems) ps->Update(FRAME);
    }
    void Render() {
        for (auto& ps : systems) ps->Render();
    }
    int Alive() const {
        int n = 0;
        for (const auto& ps : systems) n += ps->GetParticlesAlive();
        return n;
    }

private:
    GFX* gfx;
    gfxSprite sprite;
    std::vector<std::unique_ptr<gfxParticleSystem>> systems;
};

void Report(benchmark::State& state, int alive) {
    state.counters["particles"] = alive;
    state.SetItemsProcessed(static_cast<int64_t>(alive) * state.iterations());
}

void BM_UpdateAndRender(benchmark::State& state) {
    Scene scene;
    RecordingEngine* engine = RecordingEngine::Instance();
    for (auto _ : state) {
        scene.Update();
        scene.Render();
        state.PauseTiming();
        engine->ClearLog();
        state.ResumeTiming();
    }
    Report(state, scene.Alive());
}
BENCHMARK(BM_UpdateAndRender)->Unit(benchmark::kMillisecond);

void BM_UpdateOnly(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) scene.Update();
    Report(state, scene.Alive());
}
BENCHMARK(BM_UpdateOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
