#include "media/CXmlFontGlyph.h"

#include "media/XmlFontNumber.h"

namespace {

struct GlyphField {
    const char* attribute;
    int CXmlFontGlyph::*field;
};

const GlyphField kGlyphFields[] = {
    {"id", &CXmlFontGlyph::id},
    {"x", &CXmlFontGlyph::x},
    {"y", &CXmlFontGlyph::y},
    {"width", &CXmlFontGlyph::width},
    {"height", &CXmlFontGlyph::height},
    {"xoffset", &CXmlFontGlyph::xoffset},
    {"yoffset", &CXmlFontGlyph::yoffset},
    {"xadvance", &CXmlFontGlyph::xadvance},
    {"page", &CXmlFontGlyph::page},
};

}  // namespace

void CXmlFontGlyph::Read(const TiXmlElement& entry) {
    for (const GlyphField& f : kGlyphFields) this->*f.field = XmlFontNumber(entry, f.attribute);
}
