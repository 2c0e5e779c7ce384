#include "renderers/CCreditsList.h"

#include "helpers/gfxSprite.h"
#include "tests/support/EngineFixture.h"

#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible<CCreditsList>::value && !std::is_copy_assignable<CCreditsList>::value,
              "the list owns its items");
static_assert(!std::is_copy_constructible<CCreditsItem>::value, "an item owns its texture and sprite");

namespace {

class CCreditsListTest : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        // 40 x 30 picture on a padded 64 x 32 surface.
        engine->AddImage("images/logo.png", 40, 30, {}, 64, 32);
        engine->AddImage("images/team.png", 16, 8);
    }

    CCreditsItem* Item(int i) {
        CCreditsItem* item = list.GetItem(i);
        EXPECT_NE(item, nullptr) << "item " << i;
        return item;
    }

    CCreditsList list;
};

TEST_F(CCreditsListTest, TextsThatDoNotParseWholeGiveAnEmptyList) {
    // Well formed, but deeper than the parser is allowed to recurse.
    std::string nested;
    for (int i = 0; i < 300; ++i) nested = "<a>" + nested + "</a>";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"plain text", "credits"},
        {"unclosed root", "<credits><line>Art</line>"},
        {"cut in an element", "<credits><line>Art</line><line"},
        {"mismatched end", "<credits><line>Art</lin></credits>"},
        {"nested too deep", nested},
        {"only a comment", "<!-- none -->"},
    };
    for (const auto& c : cases) {
        list.LoadFromText("<credits><line>before</line></credits>");
        ASSERT_EQ(list.GetCount(), 1);
        list.LoadFromText(c.text.c_str());
        EXPECT_EQ(list.GetCount(), 0) << c.what;
    }
    list.LoadFromText("<credits><line>before</line></credits>");
    list.LoadFromText(nullptr);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(engine->LiveTextures(), 0);
}

TEST_F(CCreditsListTest, EveryChildElementIsOneItemInDocumentOrder) {
    list.LoadFromText("<credits/>");
    EXPECT_EQ(list.GetCount(), 0);

    list.LoadFromText(
        "<?xml version=\"1.0\"?>\n<any>\n  <line>Design</line>\n  <!-- a comment -->\n  loose text\n"
        "  <who>Ada</who>\n</any>\n");
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(Item(0)->GetText(), "Design");
    EXPECT_EQ(Item(1)->GetText(), "Ada");
    EXPECT_EQ(list.GetItem(-1), nullptr);
    EXPECT_EQ(list.GetItem(2), nullptr);

    // A second text replaces the first.
    list.LoadFromText("<c><l>Music</l></c>");
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(Item(0)->GetText(), "Music");
}

TEST_F(CCreditsListTest, KindsColoursAndTexts) {
    list.LoadFromText(
        "<credits basecolor='FF102030'>"
        "<l type='blank'>gap</l>"
        "<l color='0x80FF0000'>Red</l>"
        "<l>Base</l>"
        "<l type='sprite' texture='images/team.png'>Team</l>"
        "<l>After sprite</l>"
        "<l type='Sprite' texture='images/team.png'>Case</l>"
        "<l type='text' texture='images/team.png'><b>nested</b></l>"
        "</credits>");
    const struct {
        int kind;
        uint32_t color;
        const char* text;
    } want[] = {
        {CCreditsItem::kBlank, 0xFF102030, "gap"},
        {CCreditsItem::kText, 0x80FF0000, "Red"},
        {CCreditsItem::kText, 0xFF102030, "Base"},
        {CCreditsItem::kSprite, 0xFF102030, "Team"},
        {CCreditsItem::kText, 0xFF102030, "After sprite"},
        {CCreditsItem::kText, 0xFF102030, "Case"},
        {CCreditsItem::kText, 0xFF102030, ""},
    };
    ASSERT_EQ(list.GetCount(), 7);
    for (int i = 0; i < 7; ++i) {
        CCreditsItem* item = Item(i);
        EXPECT_EQ(item->GetKind(), want[i].kind) << i;
        EXPECT_EQ(item->GetColor(), want[i].color) << i;
        EXPECT_EQ(item->GetText(), want[i].text) << i;
    }
    // Only the picture loads its texture.
    EXPECT_EQ(engine->Count("Texture_Load"), 1);

    list.LoadFromText("<credits><l>Plain</l></credits>");
    EXPECT_EQ(Item(0)->GetColor(), 0xFFFFFFFFu);
}

TEST_F(CCreditsListTest, PicturesTakeTheImageSizeAndASpriteOverIt) {
    list.LoadFromText(
        "<credits>"
        "<p type='sprite' texture='images/logo.png'/>"
        "<p type='sprite'/>"
        "<p type='sprite' texture='images/missing.png'/>"
        "<p>Text</p>"
        "</credits>");
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(engine->Calls("Texture_Load"), (std::vector<std::string>{"Texture_Load(images/logo.png,0,false)",
                                                                       "Texture_Load(images/missing.png,0,false)"}));

    CCreditsItem* logo = Item(0);
    EXPECT_NE(logo->GetTexture(), 0u);
    EXPECT_EQ(logo->GetWidth(), 64);
    EXPECT_EQ(logo->GetHeight(), 32);
    ASSERT_NE(logo->GetSprite(), nullptr);
    EXPECT_EQ(logo->GetSprite()->GetTexture(), logo->GetTexture());
    // The sprite covers the whole surface.
    EXPECT_FLOAT_EQ(logo->GetSprite()->quad.v[2].tx, 1.0f);
    EXPECT_FLOAT_EQ(logo->GetSprite()->quad.v[2].ty, 1.0f);

    for (int i : {1, 2}) {
        CCreditsItem* bare = Item(i);
        EXPECT_EQ(bare->GetKind(), CCreditsItem::kSprite) << i;
        EXPECT_EQ(bare->GetTexture(), 0u) << i;
        EXPECT_EQ(bare->GetSprite(), nullptr) << i;
        EXPECT_EQ(bare->GetWidth(), 0) << i;
        EXPECT_EQ(bare->GetHeight(), 0) << i;
    }
    EXPECT_EQ(Item(3)->GetHeight(), 0);
}

TEST_F(CCreditsListTest, ItemsGiveBackTexturesAndEngineReferences) {
    const int refs = engine->RefCount();
    {
        CCreditsList local;
        local.LoadFromText("<c><p type='sprite' texture='images/logo.png'/><l>x</l></c>");
        EXPECT_EQ(engine->RefCount(), refs + 2 + 1);  // two items and the sprite
        EXPECT_EQ(engine->LiveTextures(), 1);
        local.LoadFromText("<c><p type='sprite' texture='images/team.png'/></c>");
        EXPECT_EQ(engine->LiveTextures(), 1);
        EXPECT_EQ(engine->Count("Texture_Free"), 1);
        local.Clear();
        EXPECT_EQ(local.GetCount(), 0);
        EXPECT_EQ(engine->LiveTextures(), 0);
        local.LoadFromText("<c><p type='sprite' texture='images/team.png'/></c>");
    }
    EXPECT_EQ(engine->LiveTextures(), 0);
    EXPECT_EQ(engine->RefCount(), refs);
}

TEST(CCreditsListParseColor, ReadsHexadecimalInUnsignedArithmetic) {
    const struct {
        const char* text;
        uint32_t value;
    } cases[] = {
        {nullptr, 0},
        {"", 0},
        {" \t ", 0},
        {"FF00FF00", 0xFF00FF00},
        {"0xff00ff00", 0xFF00FF00},
        {"0XFF00FF00", 0xFF00FF00},
        {" \t0xFF00FF00", 0xFF00FF00},
        {"+ff", 0xFF},
        {"-1", 0xFFFFFFFF},
        {"-0x10", 0xFFFFFFF0},
        {"-", 0},
        {"+", 0},
        {"12zz", 0x12},
        {"0", 0},
        {"0123", 0x123},
        {"0x", 0},
        {"0xg1", 0},
        {"zz", 0},
        {"- 1", 0},
        {"\n1", 0},
        {"123456789", 0x23456789},
        {"FFFFFFFFFF00FF00", 0xFF00FF00},
        {"-FFFFFFFFF", 0x00000001},
    };
    for (const auto& c : cases) EXPECT_EQ(CCreditsList::ParseColor(c.text), c.value) << (c.text ? c.text : "null");
}

}  // namespace
