#include "media/CXmlFont.h"

#include "media/XmlFontNumber.h"
#include "xml/XmlFile.h"

#include <algorithm>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Pen and width sums of description numbers wrap in 32 bits instead of
// overflowing: a hostile description can make them as large as it likes.
int Add(int a, int b) { return static_cast<int>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int Negate(int a) { return static_cast<int>(0u - static_cast<uint32_t>(a)); }

// Only the first child node of that name counts, and only when it is an element.
const TiXmlElement* FirstNamedElement(const TiXmlElement& parent, const char* name) {
    const TiXmlNode* node = parent.FirstChild(name);
    return node ? node->ToElement() : nullptr;
}

// Entries are the element children; comments and text use no slot.
template <class Visit>
void ForEachEntry(const TiXmlElement& parent, Visit visit) {
    int index = 0;
    for (const TiXmlNode* node = parent.FirstChild(); node; node = node->NextSibling())
        if (const TiXmlElement* entry = node->ToElement())
            if (!visit(*entry, index++)) return;
}

// A count never asks for more slots than there are entries to fill them.
int SlotCount(const TiXmlElement& parent, int count) {
    int entries = 0;
    ForEachEntry(parent, [&](const TiXmlElement&, int) { return ++entries < count; });
    return std::max(0, std::min(count, entries));
}

}  // namespace

CXmlFont::~CXmlFont() { Reset(); }

int CXmlFont::LoadFromMemory(const char* text) {
    Reset();
    m_Document.Clear();
    m_Document.ClearError();
    if (!text) return 0;
    // Parse gives no position both for an error and for a text that ends
    // right after its last tag, so the error state decides.
    std::string why;
    return Loaded(ParseXmlText(m_Document, text, TIXML_ENCODING_UNKNOWN, why) && m_Document.FirstChild());
}

int CXmlFont::LoadFile(const char* path) {
    Reset();
    m_Document.Clear();
    m_Document.ClearError();
    std::string why;
    return Loaded(path && LoadXmlFile(m_Document, path, why, TIXML_ENCODING_UNKNOWN) == XmlLoadResult::Loaded);
}

int CXmlFont::Loaded(bool parsed) {
    if (!parsed) {
        m_Document.Clear();
        return 0;
    }
    ParseDocument();
    return 1;
}

void CXmlFont::ClearMetrics() {
    m_Align = 0;
    m_LineHeight = 0;
}

void CXmlFont::Reset() {
    ClearMetrics();
    m_Glyphs.clear();
    m_Pages.clear();
    m_GlyphSlots.clear();
}

void CXmlFont::ParseDocument() {
    const TiXmlElement* root = m_Document.RootElement();
    if (!root) return;
    if (const TiXmlElement* common = FirstNamedElement(*root, "common")) ParseCommon(*common);
    if (const TiXmlElement* chars = FirstNamedElement(*root, "chars")) ParseChars(*chars);
}

void CXmlFont::ParseCommon(const TiXmlElement& common) {
    // Of the metrics only the line height lays text out.
    m_LineHeight = XmlFontNumber(common, "lineHeight");
    ParsePages(XmlFontNumber(common, "pages"));
}

void CXmlFont::ParsePages(int count) {
    const TiXmlElement* root = m_Document.RootElement();
    const TiXmlElement* pages = root ? FirstNamedElement(*root, "pages") : nullptr;
    if (!pages) return;
    const int slots = SlotCount(*pages, count);
    ForEachEntry(*pages, [&](const TiXmlElement& entry, int index) {
        if (index >= slots) return false;
        m_Pages.push_back(std::make_unique<CXmlFontPage>());
        m_Pages.back()->Read(entry, m_Starter);
        return true;
    });
}

void CXmlFont::ParseChars(const TiXmlElement& chars) {
    const int slots = SlotCount(chars, XmlFontNumber(chars, "count"));
    m_GlyphSlots.resize(static_cast<size_t>(slots));
    // A later entry with the same id takes over the mapping.
    ForEachEntry(chars, [&](const TiXmlElement& entry, int index) {
        if (index >= slots) return false;
        CXmlFontGlyph& glyph = m_GlyphSlots[static_cast<size_t>(index)];
        glyph.Read(entry);
        m_Glyphs[glyph.id] = &glyph;
        return true;
    });
}

void CXmlFont::SetColor(uint32_t colour) {
    for (auto& page : m_Pages) page->SetColor(colour);
}

CXmlFontPage* CXmlFont::GetPage(int index) {
    if (index < 0 || index >= GetPageCount()) return nullptr;
    return m_Pages[static_cast<size_t>(index)].get();
}

const CXmlFontGlyph* CXmlFont::FindGlyph(int code) const {
    auto found = m_Glyphs.find(code);
    return found != m_Glyphs.end() ? found->second : nullptr;
}

int CXmlFont::ParseDecimalInt(const char* text) {
    if (!text) return 0;
    while (*text == ' ' || *text == '\t') ++text;
    uint32_t sign = 1;
    if (*text == '-' || *text == '+') sign = *text++ == '-' ? 0u - 1u : 1u;
    uint32_t value = 0;
    for (; IsDigit(*text); ++text) value = value * 10u + static_cast<uint32_t>(*text - '0');
    return static_cast<int>(value * sign);
}

void CXmlFont::AppendGlyph(int code, Line& line) const {
    if (const CXmlFontGlyph* glyph = FindGlyph(code)) line.push_back(glyph);
}

// Every digit is consumed, but only the first three name the code.
const char* CXmlFont::ReadEscape(const char* text, Line& line) const {
    char digits[4] = {0, 0, 0, 0};
    size_t kept = 0;
    for (; IsDigit(*text); ++text)
        if (kept < sizeof(digits) - 1) digits[kept++] = *text;
    const int code = ParseDecimalInt(digits);
    if (const CXmlFontGlyph* glyph = FindGlyph(code))
        line.push_back(glyph);
    else
        AppendGlyph('?', line);
    return text;
}

// Bytes are signed character codes: 128-255 look up -128 to -1, so those
// glyphs are reached through escapes.
CXmlFont::Lines CXmlFont::SplitLines(const char* text) const {
    Lines lines;
    Line line;
    for (const char* p = text ? text : ""; *p;) {
        const char c = *p++;
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else if (c != '\\') {
            AppendGlyph(static_cast<signed char>(c), line);
        } else if (IsDigit(*p)) {
            p = ReadEscape(p, line);
        } else if (*p) {
            AppendGlyph('\\', line);
        }
    }
    lines.push_back(std::move(line));
    return lines;
}

int CXmlFont::GetLineWidth(const Line& line) const {
    int width = 0;
    for (const CXmlFontGlyph* glyph : line) width = Add(width, glyph->xadvance);
    return width;
}

int CXmlFont::GetStringWidth(const char* text) const {
    int widest = 0;
    for (const Line& line : SplitLines(text)) widest = std::max(widest, GetLineWidth(line));
    return widest;
}

int CXmlFont::LineShift(const Line& line) const {
    if (m_Align == 2) return Negate(GetLineWidth(line) / 2);
    if (m_Align == 1) return Negate(GetLineWidth(line));
    return 0;
}

// A glyph without a drawable page still moves the pen.
void CXmlFont::RenderLine(const Line& line, int penX, int penY) {
    for (const CXmlFontGlyph* glyph : line) {
        if (CXmlFontPage* page = GetPage(glyph->page))
            page->DrawGlyph(glyph->x, glyph->y, glyph->width, glyph->height, Add(penX, glyph->xoffset),
                            Add(penY, glyph->yoffset));
        penX = Add(penX, glyph->xadvance);
    }
}

void CXmlFont::Render(int x, int y, const char* text) {
    if (!text || m_GlyphSlots.empty() || m_Pages.empty()) return;
    int penY = y;
    for (const Line& line : SplitLines(text)) {
        RenderLine(line, Add(x, LineShift(line)), penY);
        penY = Add(penY, m_LineHeight);
    }
}
