// One texture page of an XML font. A single sprite over the whole page texture
// draws every glyph of the page: its texture rectangle moves to each glyph.
// The texture belongs to the resource cache.
#pragma once

#include <cstdint>
#include <string>

class CGFXStarter;
class TiXmlElement;
class gfxSprite;

class CXmlFontPage {
public:
    CXmlFontPage() = default;
    ~CXmlFontPage();
    CXmlFontPage(const CXmlFontPage&) = delete;
    CXmlFontPage& operator=(const CXmlFontPage&) = delete;

    // Takes the entry's "id" and, when it names a "file", loads that texture.
    void Read(const TiXmlElement& entry, CGFXStarter* starter);
    void Load(const std::string& file);
    void SetColor(uint32_t colour);
    void DrawGlyph(int gx, int gy, int gw, int gh, int sx, int sy);

    int GetId() const { return m_Id; }
    const std::string& GetFile() const { return m_File; }
    bool HasSprite() const { return m_Sprite != nullptr; }

private:
    int m_Id = 0;
    std::string m_File;
    gfxSprite* m_Sprite = nullptr;
    CGFXStarter* m_Starter = nullptr;
};
