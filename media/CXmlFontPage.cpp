#include "media/CXmlFontPage.h"

#include "helpers/gfxSprite.h"
#include "host/CGFXStarter.h"
#include "media/XmlFontNumber.h"

CXmlFontPage::~CXmlFontPage() { delete m_Sprite; }

void CXmlFontPage::Read(const TiXmlElement& entry, CGFXStarter* starter) {
    m_Starter = starter;
    m_Id = XmlFontNumber(entry, "id");
    if (const char* file = entry.Attribute("file")) Load(file);
}

// The name is used as it stands: it is not made relative to the description.
void CXmlFontPage::Load(const std::string& file) {
    m_File = file;
    delete m_Sprite;
    m_Sprite = nullptr;
    if (!m_Starter) return;
    const HTEXTURE texture = m_Starter->GetResourceCache()->GetTexture(file, false);
    GFX* engine = m_Starter->GetEngine();
    const int w = engine ? engine->Texture_GetWidth(texture, false) : 0;
    const int h = engine ? engine->Texture_GetHeight(texture, false) : 0;
    m_Sprite = new gfxSprite(texture, 0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h));
}

void CXmlFontPage::SetColor(uint32_t colour) {
    if (m_Sprite) m_Sprite->SetColor(colour, -1);
}

void CXmlFontPage::DrawGlyph(int gx, int gy, int gw, int gh, int sx, int sy) {
    if (!m_Sprite) return;
    m_Sprite->SetTextureRect(static_cast<float>(gx), static_cast<float>(gy), static_cast<float>(gw),
                             static_cast<float>(gh), true);
    m_Sprite->Render(static_cast<float>(sx), static_cast<float>(sy));
}
