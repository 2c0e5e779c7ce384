// Credits texts of any content: parsing must neither crash nor leak, every
// item must be one of the three kinds, and only pictures hold textures.
#include "engine/recording/RecordingEngine.h"
#include "helpers/gfxSprite.h"
#include "renderers/CCreditsList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

RecordingEngine* Engine() {
    static GFX* gfx = gfxCreate(GFX_VERSION);
    static RecordingEngine* engine = [] {
        RecordingEngine* e = RecordingEngine::Instance();
        // Initiated, with the screen's scene open, so that textures load and quads draw.
        e->System_Initiate();
        e->Gfx_BeginScene(0);
        e->AddImage("a.png", 40, 30, {}, 64, 32);
        e->AddImage("b", 1, 1);
        return e;
    }();
    (void)gfx;
    return engine;
}

void Check(const CCreditsItem* item) {
    if (!item) std::abort();
    int kind = item->GetKind();
    if (kind < CCreditsItem::kBlank || kind > CCreditsItem::kSprite) std::abort();
    bool picture = item->GetTexture() != 0;
    if (picture && kind != CCreditsItem::kSprite) std::abort();
    if (picture != (item->GetSprite() != nullptr)) std::abort();
    if (!picture && (item->GetWidth() != 0 || item->GetHeight() != 0)) std::abort();
    if (item->GetSprite()) item->GetSprite()->Render(0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RecordingEngine* engine = Engine();
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        CCreditsList list;
        list.LoadFromText(text.c_str());
        for (int i = 0; i < list.GetCount(); ++i) Check(list.GetItem(i));
        if (list.GetItem(list.GetCount())) std::abort();
        CCreditsList::ParseColor(text.c_str());
    }
    if (engine->LiveTextures() != 0) std::abort();
    engine->ClearLog();
    return 0;
}
