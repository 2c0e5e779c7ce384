// The engine contract on the real engine: the shared engine of these tests,
// files in their temporary folder.
#include "EngineFixture.h"
#include "tests/engine/EngineContract.h"

namespace enginetest {
namespace {

struct SdlEngine {
    static GFX* Initiated() { return Engine(); }
    static GFX* Fresh() { return Renew(); }
    static bool Restart(bool sound) { return enginetest::Restart(sound); }
    static void Done() { Settle(); }
    static std::string PutFile(const std::string& name, const std::string& bytes) {
        WriteFile(TempFolder() + name, bytes);
        return TempFolder() + name;
    }
    static std::string PutPicture(const std::string& name, int width, int height, const std::vector<uint32_t>& argb) {
        return PutFile(name, Tga(width, height, argb));
    }
    static std::string SnapshotPath(const std::string& name) { return TempFolder() + name; }
};

static_assert(kScreenWidth == kContractWidth && kScreenHeight == kContractHeight, "one screen size");

INSTANTIATE_TYPED_TEST_SUITE_P(SdlEngine, EngineContract, SdlEngine);

}  // namespace
}  // namespace enginetest
