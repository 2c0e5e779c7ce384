// The engine contract on the recording engine: a fresh engine for each test,
// files and pictures added in memory.
#include "engine/recording/RecordingEngine.h"
#include "tests/engine/EngineContract.h"

namespace enginetest {
namespace {

struct Recording {
    static GFX* Initiated() {
        s_Gfx = gfxCreate(GFX_VERSION);
        RecordingEngine::Instance()->SetFrameLimit(100);
        return Restart(true) ? s_Gfx : nullptr;
    }
    static GFX* Fresh() {
        s_Gfx->Release();
        s_Gfx = gfxCreate(GFX_VERSION);
        return s_Gfx;
    }
    static bool Restart(bool sound) {
        s_Gfx->System_Shutdown();
        s_Gfx->System_SetState(GFX_SCREENWIDTH, kContractWidth);
        s_Gfx->System_SetState(GFX_SCREENHEIGHT, kContractHeight);
        s_Gfx->System_SetState(GFX_USESOUND, sound);
        return s_Gfx->System_Initiate();
    }
    static void Done() {
        s_Gfx->Release();
        s_Gfx = nullptr;
    }
    static std::string PutFile(const std::string& name, const std::string& bytes) {
        RecordingEngine::Instance()->AddFile(name, bytes);
        return name;
    }
    static std::string PutPicture(const std::string& name, int width, int height, const std::vector<uint32_t>& argb) {
        RecordingEngine::Instance()->AddImage(name, width, height, argb);
        return name;
    }
    static std::string SnapshotPath(const std::string& name) { return name; }

    static GFX* s_Gfx;
};

GFX* Recording::s_Gfx = nullptr;

INSTANTIATE_TYPED_TEST_SUITE_P(RecordingEngine, EngineContract, Recording);

}  // namespace
}  // namespace enginetest
