// Fuzzes the "[GFXFONT]" reader: any description must load, measure, draw
// and wrap without reading or writing outside its buffers.
#include "engine/recording/RecordingEngine.h"
#include "helpers/gfxFont.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

RecordingEngine* Engine() {
    static GFX* gfx = gfxCreate(GFX_VERSION);
    static RecordingEngine* engine = [] {
        RecordingEngine* e = RecordingEngine::Instance();
        // Initiated, with the screen's scene open, so that textures load and quads draw.
        e->System_Initiate();
        e->Gfx_BeginScene(0);
        e->AddImage("fonts/a.png", 64, 64);
        e->AddImage("fonts/b", 16, 8, {}, 32, 32);
        e->AddImage("a.png", 1, 1);
        return e;
    }();
    (void)gfx;
    return engine;
}

void Exercise(const std::string& contents) {
    RecordingEngine* engine = Engine();
    const std::string sample = contents.substr(0, 64) + "\nA?b c\r\n";
    for (const std::string& file : {"[GFXFONT]\n" + contents, contents}) {
        engine->AddFile("fonts/f.fnt", file);
        gfxFont font("fonts/f.fnt", false);
        font.GetStringWidth(sample.c_str(), true);
        font.GetStringWidth(sample.c_str(), false);
        font.Render(10, 10, 2, sample.c_str());
        font.Render(10, 10, 1, sample.c_str());
        font.printfb(0, 0, 40, 40, 2 | 8, "%s", sample.c_str());
    }
    engine->ClearLog();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Exercise(text);
    return 0;
}
