#include "renderers/CMenuCreditsRenderer.h"

#include "host/CGFXStarter.h"
#include "media/CCursorHelper.h"
#include "renderers/CCreditsList.h"

CMenuCreditsRenderer::CMenuCreditsRenderer() : CGFXFuncHelperBase("scripts\\credits.lua", true) {}

bool CMenuCreditsRenderer::Frame(float dt, CGFXStarter*) { return CallScriptUpdate(dt); }

bool CMenuCreditsRenderer::Render(float, CGFXStarter*) {
    CallScriptRender(0, 0, false);
    return false;
}

void CMenuCreditsRenderer::SetActive(CGFXStarter* starter, bool active) {
    CGFXFuncHelperBase::SetActive(starter, active);
    CCursorHelper* cursor = starter->GetCursor();
    if (active)
        cursor->Hide();
    else
        cursor->Show();
}

// A screen without a credits list counts as an empty list.
float CMenuCreditsRenderer::GetTotalHeight(float lineHeight) const {
    float total = 0;
    const int count = m_CreditsList ? m_CreditsList->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        const CCreditsItem* item = m_CreditsList->GetItem(i);
        total += item->GetKind() == CCreditsItem::kSprite ? static_cast<float>(item->GetHeight()) : lineHeight;
    }
    return total + lineHeight;
}
