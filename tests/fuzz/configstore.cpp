// Any bytes as "config.conf": loading and saving back must neither crash nor
// leak, and what was saved must load again.
#include "host/CConfigStore.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// Removed when the fuzzer ends; tools/fuzz removes what a crash leaves.
const std::string& Folder() {
    static const TempFolder folder;
    if (folder.Path().empty()) std::abort();
    return folder.Path();
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input = Folder() + "input.conf";
    std::string output = Folder() + "output.conf";
    WriteFile(input, data, size);
    CConfigStore store;
    store.Load(input.c_str());
    store.GetString("common", "caption");
    store.GetNumber("common", "fps");
    if (!store.Save(output.c_str())) std::abort();
    CConfigStore again;
    if (!again.Load(output.c_str())) std::abort();
    unlink(input.c_str());
    unlink(output.c_str());
    return 0;
}
