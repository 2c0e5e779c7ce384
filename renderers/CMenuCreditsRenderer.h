// The credits screen: its script draws it; the mouse cursor is hidden while
// it is active.
#pragma once

#include "renderers/CGFXFuncHelperBase.h"

class CCreditsList;

class CMenuCreditsRenderer : public CGFXFuncHelperBase {
public:
    CMenuCreditsRenderer();

    void OnInit(CGFXStarter*) override {}
    void OnShutdown(CGFXStarter*) override {}
    bool Frame(float dt, CGFXStarter* starter) override;
    bool Render(float dt, CGFXStarter* starter) override;
    void SetActive(CGFXStarter* starter, bool active) override;

    // The list's height: pictures by their height, other items by the line
    // height, plus one more line.
    float GetTotalHeight(float lineHeight) const;
    void SetCreditsList(CCreditsList* list) { m_CreditsList = list; }

private:
    CCreditsList* m_CreditsList = nullptr;
};
