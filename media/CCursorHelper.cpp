#include "media/CCursorHelper.h"

#include "helpers/gfxSprite.h"
#include "host/CGFXStarter.h"
#include "script/NumberConversion.h"

CCursorHelper::CCursorHelper(const char* imageFile)
    : CGFXFuncHelperBase(nullptr, false), m_ImageFile(imageFile ? imageFile : "") {}

void CCursorHelper::OnInit(CGFXStarter* starter) {
    GFX* engine = starter->GetEngine();
    m_Texture = engine->Texture_Load(m_ImageFile.c_str(), 0, false);
    const float w = static_cast<float>(engine->Texture_GetWidth(m_Texture, false));
    const float h = static_cast<float>(engine->Texture_GetHeight(m_Texture, false));
    m_DefaultSprite = new gfxSprite(m_Texture, 0, 0, w, h);
    m_CurrentSprite = new gfxSprite(*m_DefaultSprite);
    m_ScreenWidth = starter->GetScreenWidth();
    m_ScreenHeight = starter->GetScreenHeight();
}

void CCursorHelper::OnShutdown(CGFXStarter* starter) {
    delete m_DefaultSprite;
    m_DefaultSprite = nullptr;
    delete m_CurrentSprite;
    m_CurrentSprite = nullptr;
    starter->GetEngine()->Texture_Free(m_Texture);
    m_Texture = 0;
}

bool CCursorHelper::Frame(float, CGFXStarter* starter) {
    float x = 0, y = 0;
    starter->GetEngine()->Input_GetMousePos(&x, &y);
    m_MouseX = TruncateToInt32(x);
    m_MouseY = TruncateToInt32(y);
    if (m_Texture) {
        if (m_MouseX < 0) m_MouseX = 0;
        if (m_MouseY < 0) m_MouseY = 0;
    }
    return false;
}

bool CCursorHelper::Render(float, CGFXStarter* starter) {
    if (m_bVisible && m_CurrentSprite && starter)
        m_CurrentSprite->Render(static_cast<float>(m_MouseX), static_cast<float>(m_MouseY));
    return false;
}
