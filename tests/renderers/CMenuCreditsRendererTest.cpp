#include "renderers/CCreditsList.h"
#include "renderers/CMenuCreditsRenderer.h"
#include "tests/support/EngineFixture.h"

using CMenuCreditsRendererTest = ScreenFixture;

TEST_F(CMenuCreditsRendererTest, TotalHeightCountsPicturesByHeightAndTheRestByLines) {
    CMenuCreditsRenderer credits;
    EXPECT_EQ(credits.GetTotalHeight(20), 20.0f);  // no list at all
    engine->AddImage("logo.png", 16, 40);
    CCreditsList list;
    list.LoadFromText("<c><line>Made by</line><pic type='sprite' texture='logo.png'/></c>");
    credits.SetCreditsList(&list);
    EXPECT_EQ(credits.GetTotalHeight(20), 80.0f);
    list.Clear();
    EXPECT_EQ(credits.GetTotalHeight(20), 20.0f);
}
