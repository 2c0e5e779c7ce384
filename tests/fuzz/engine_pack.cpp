// Any bytes as "game.pak": the pack reader opens the file with the game's
// password, reads every entry whole and hands each to the picture and sound
// decoders, as the engine does with what scripts name.
#include "EngineFuzz.h"
#include "engine/sdl/Pack.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// Removed when the fuzzer ends; tools/fuzz removes what a crash leaves.
const std::string& PackPath() {
    static const TempFolder folder;
    if (folder.Path().empty()) std::abort();
    static const std::string path = folder / "game.pak";
    return path;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size)) std::abort();
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFile(PackPath(), data, size);
    gfxsdl::Log log;
    gfxsdl::Pack pack;
    if (!pack.Open(PackPath(), BW_PACK_PASSWORD, log)) return 0;
    for (const std::string& name : pack.Names()) {
        uint32_t length = 0;
        std::string why;
        void* contents = pack.Read(name, &length, log, why);
        if (!contents) continue;
        if (static_cast<const char*>(contents)[length] != 0) std::abort();
        enginefuzz::DecodePicture(contents, length);
        enginefuzz::DecodeSound(contents, length);
        std::free(contents);
    }
    return 0;
}
