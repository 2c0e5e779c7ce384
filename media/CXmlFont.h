// A bitmap font read from an XML description: global metrics, texture pages
// and glyphs. It splits texts into lines of glyphs (a backslash and up to
// three digits name any character code), measures them and draws them line
// by line, aligned left, right or centred, one quad per glyph.
#pragma once

#include "media/CXmlFontGlyph.h"
#include "media/CXmlFontPage.h"

#include <tinyxml.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class CGFXStarter;

class CXmlFont {
public:
    using Line = std::vector<const CXmlFontGlyph*>;
    using Lines = std::vector<Line>;

    CXmlFont() = default;
    ~CXmlFont();
    CXmlFont(const CXmlFont&) = delete;
    CXmlFont& operator=(const CXmlFont&) = delete;

    // Pages reach the resource cache and the engine through it: set it
    // before loading.
    void SetStarter(CGFXStarter* starter) { m_Starter = starter; }
    // 1 when the text parsed as XML, else 0 and the font stays empty.
    int LoadFromMemory(const char* text);
    int LoadFile(const char* path);
    void Reset();

    void AlignLeft() { m_Align = 0; }
    void AlignRight() { m_Align = 1; }
    void AlignCenter() { m_Align = 2; }
    int GetAlign() const { return m_Align; }
    int GetLineHeight() const { return m_LineHeight; }
    void SetColor(uint32_t colour);

    // Null for an index outside the page list.
    CXmlFontPage* GetPage(int index);
    const CXmlFontGlyph* FindGlyph(int code) const;
    int GetPageCount() const { return static_cast<int>(m_Pages.size()); }
    int GetGlyphCount() const { return static_cast<int>(m_GlyphSlots.size()); }

    Lines SplitLines(const char* text) const;
    int GetLineWidth(const Line& line) const;
    int GetStringWidth(const char* text) const;
    void Render(int x, int y, const char* text);

    // Leading blanks and tabs, one optional sign, then decimal digits.
    static int ParseDecimalInt(const char* text);

private:
    void ClearMetrics();
    void ParseDocument();
    // 1 with the document read when parsed, else 0 with it cleared.
    int Loaded(bool parsed);
    void ParseCommon(const TiXmlElement& common);
    void ParsePages(int count);
    void ParseChars(const TiXmlElement& chars);
    // Reads an escape's digits starting at text; returns the first byte after them.
    const char* ReadEscape(const char* text, Line& line) const;
    void AppendGlyph(int code, Line& line) const;
    int LineShift(const Line& line) const;
    void RenderLine(const Line& line, int penX, int penY);

    int m_Align = 0;
    std::map<int, const CXmlFontGlyph*> m_Glyphs;
    CGFXStarter* m_Starter = nullptr;
    TiXmlDocument m_Document;
    int m_LineHeight = 0;
    std::vector<std::unique_ptr<CXmlFontPage>> m_Pages;
    std::vector<CXmlFontGlyph> m_GlyphSlots;
};
