// Fuzzes the XML font description reader: any text must load, split, measure
// and draw in every alignment without reading or writing outside its buffers
// and without undefined arithmetic. Without a started host the pages get no
// sprites, but every glyph still runs through the pen and page arithmetic.
#include "media/CXmlFont.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Exercise(const std::string& contents) {
    CXmlFont font;
    font.LoadFromMemory(contents.c_str());
    const std::string sample = contents.substr(0, 64) + "\nA\\65\\1234\\\\\xE9\\";
    void (CXmlFont::*const aligns[])() = {&CXmlFont::AlignLeft, &CXmlFont::AlignRight, &CXmlFont::AlignCenter};
    for (auto align : aligns) {
        (font.*align)();
        font.GetStringWidth(sample.c_str());
        font.Render(-7, 3, sample.c_str());
    }
    font.SetColor(0x80FFFFFFu);
    for (int page = -1; page <= font.GetPageCount(); ++page) font.GetPage(page);
    font.Reset();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Also as glyph entries of a whole description, so short inputs reach the layout.
    const std::string text(reinterpret_cast<const char*>(data), size);
    Exercise(text);
    Exercise(
        "<font><common lineHeight=\"9\" pages=\"2\"/><pages><p file=\"a.png\"/><p file=\"fonts/b.png\"/></pages>"
        "<chars count=\"4\">" +
        text + "</chars></font>");
    return 0;
}
