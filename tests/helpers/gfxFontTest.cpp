#include "helpers/gfxFont.h"

#include "tests/support/EngineFixture.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// A: 10 x 17 at texel 0, one pixel after it. b: 8 x 12 at 20, one before and
// two after. ?: 6 x 10 at 40. m and n: 21 and 23 wide, for centring.
const char kGlyphs[] =
    "[GFXFONT]\n"
    "Bitmap = glyphs.png\n"
    "Char=41,0,0,10,17,0,1\n"
    "Char=62,20,0,8,12,1,2\n"
    "Char=3F,40,0,6,10,0,0\n"
    "Char=6D,60,0,21,5,0,0\n"
    "Char=6E,90,0,23,5,0,0\n";

struct Drawn {
    float u;     // texel x of the glyph in the texture
    float x, y;  // screen position of its top-left corner
    HTEXTURE tex;
};

class gfxFontTest : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        engine->AddImage("fonts/glyphs.png", 256, 256);
        engine->AddImage("fonts/other.png", 128, 128);
    }
    std::unique_ptr<gfxFont> Font(const std::string& contents, const std::string& name = "fonts/test.fnt",
                                  bool mipmap = false) {
        engine->AddFile(name, contents);
        return std::make_unique<gfxFont>(name.c_str(), mipmap);
    }
    std::vector<Drawn> Glyphs() {
        std::vector<Drawn> out;
        for (const gfxQuad& q : engine->Quads()) {
            const RecordingEngine::Texture* t = engine->FindTexture(q.tex);
            const float w = t ? static_cast<float>(t->surfaceWidth) : 1.0f;
            out.push_back({q.v[0].tx * w, q.v[0].x, q.v[0].y, q.tex});
        }
        engine->ClearLog();
        return out;
    }
    std::vector<float> Xs() {
        std::vector<float> xs;
        for (const Drawn& d : Glyphs()) xs.push_back(d.x);
        return xs;
    }
};

TEST_F(gfxFontTest, HeaderLineEndsAndTheEndOfTheText) {
    const std::string glyph = "Char=41,0,0,10,17,0,1";
    struct Case {
        const char* what;
        std::string contents;
        bool incorrect, glyphRead;
    };
    const Case cases[] = {
        {"LF", "[GFXFONT]\n" + glyph + "\n", false, true},
        {"CR LF", "[GFXFONT]\r\n" + glyph + "\r\n", false, true},
        {"blank lines", "[GFXFONT]\n\n\r\n\r\r" + glyph + "\n\n", false, true},
        {"no line end at all", "[GFXFONT]\n" + glyph, false, true},
        {"header only", "[GFXFONT]", false, false},
        {"starts with LF", "\n[GFXFONT]\n" + glyph, true, false},
        {"starts with CR LF", "\r\n[GFXFONT]\n" + glyph, true, false},
        {"blank after header", "[GFXFONT] \n" + glyph, true, false},
        {"other case", "[gfxfont]\n" + glyph, true, false},
        {"empty text", "", true, false},
        {"zero byte first", std::string("\0[GFXFONT]\n", 11) + glyph, true, false},
        {"zero byte ends the text", "[GFXFONT]\n" + std::string("\0", 1) + glyph, false, false},
    };
    for (const Case& c : cases) {
        engine->ClearLog();
        auto font = Font(c.contents);
        EXPECT_EQ(engine->LogLines().size(), c.incorrect ? 1u : 0u) << c.what;
        if (c.incorrect && !engine->LogLines().empty()) {
            EXPECT_EQ(engine->LogLines()[0], "Font fonts/test.fnt has incorrect format.") << c.what;
        }
        EXPECT_EQ(font->GetStringWidth("A", false), c.glyphRead ? 11.0f : 0.0f) << c.what;
        EXPECT_EQ(engine->LiveResources(), 0) << c.what;  // the engine's copy is given back
    }
}

TEST_F(gfxFontTest, UnreadableDescriptionGivesASilentEmptyFont) {
    engine->ClearLog();
    gfxFont missing("fonts/none.fnt", false);
    gfxFont unnamed(nullptr, false);
    EXPECT_TRUE(engine->LogLines().empty());
    missing.Render(0, 0, 0, "A?");
    missing.printfb(0, 0, 10, 10, 0, "A A");
    unnamed.Render(0, 0, 0, "A");
    EXPECT_TRUE(engine->Quads().empty());
    EXPECT_EQ(missing.GetStringWidth("A"), 0.0f);
    EXPECT_EQ(missing.GetHeight(), 0.0f);
}

TEST_F(gfxFontTest, CharacterCodesInEveryForm) {
    struct Case {
        std::string code;  // text between the equals sign and the numbers
        int expected;      // -1: the line is ignored
    };
    const Case cases[] = {
        {"41", 65},         {"041", 65},   {"   41", 65},    {"a", 10},          {"A", 10},
        {"\" \"", 32},      {"\"A\"", 65}, {"\"\"\"", 34},   {"\"\xE9\"", 0xE9}, {"\"\xFF\"", 0xFF},
        {"FF00000041", 65}, {"100", -1},   {"FFFFFFFF", -1}, {"80000000", -1},   {"", 0},
        {"41 ", 65},
    };
    for (const Case& c : cases) {
        auto font = Font("[GFXFONT]\nChar=" + c.code + ",0,0,10,17,0,1\n");
        EXPECT_EQ(font->GetHeight(), c.expected < 0 ? 0.0f : 17.0f) << "code [" << c.code << "]";
        // Code 10 is a line feed and is never drawn or measured.
        if (c.expected > 0 && c.expected != 10) {
            const std::string text(1, static_cast<char>(c.expected));
            EXPECT_EQ(font->GetStringWidth(text.c_str()), 11.0f) << "code [" << c.code << "]";
        }
    }
}

TEST_F(gfxFontTest, LinesAreClassifiedByTheirFirstCharacters) {
    auto font = Font(
        "[GFXFONT]\n"
        "Characters=42,0,0,10,17,0,0\n"  // begins with Char: a glyph line
        "char=43,0,0,10,18,0,0\n"        // other case: a comment
        "Char 44,0,0,10,19,0,0\n"        // no equals sign
        "; Char=45,0,0,10,20,0,0\n"      // a comment
        "Char=\"\n"                      // a quote that ends the line
        + std::string(5000, 'x') + "\n");
    EXPECT_EQ(font->GetHeight(), 17.0f);
    EXPECT_EQ(font->GetStringWidth("B"), 10.0f);
    EXPECT_EQ(font->GetStringWidth("CDE\""), 0.0f);
}

TEST_F(gfxFontTest, SixNumbersWithBlanksAroundTheCommas) {
    struct Case {
        const char* line;
        float u, v, w, h, pre, post;
    };
    const Case cases[] = {
        {"Char=41 , 1 ,\t2 , 3 , 17 , 4 , 5 and more text", 1, 2, 3, 17, 4, 5},
        {"Char=41,-5,+2,3,4,0,0", -5, 2, 3, 4, 0, 0},
        {"Char=41,1,2,3", 1, 2, 3, 0, 0, 0},                    // missing numbers read as 0
        {"Char=41,1,2,99999999999,17,0,0", 1, 2, 0, 17, 0, 0},  // out of range reads as 0
        {"Char=\"A", 0, 0, 0, 0, 0, 0},                         // no closing quote, no numbers
    };
    for (const Case& c : cases) {
        auto font = Font(std::string("[GFXFONT]\nBitmap=glyphs.png\n") + c.line + "\n");
        EXPECT_EQ(font->GetHeight(), c.h) << c.line;
        EXPECT_EQ(font->GetStringWidth("A"), c.pre + c.post + c.w) << c.line;
        engine->ClearLog();
        font->Render(100, 50, 0, "A");
        ASSERT_EQ(engine->Quads().size(), 1u) << c.line;
        const gfxQuad& q = engine->Quads()[0];
        EXPECT_EQ(q.v[0].x, 100 + c.pre) << c.line;
        EXPECT_EQ(q.v[0].tx * 256, c.u) << c.line;
        EXPECT_EQ(q.v[0].ty * 256, c.v) << c.line;
        EXPECT_EQ(q.v[2].tx * 256, c.u + c.w) << c.line;
        EXPECT_EQ(q.v[2].ty * 256, c.v + c.h) << c.line;
    }
}

TEST_F(gfxFontTest, TextureIsLookedForNextToTheDescription) {
    const std::string longName(2000, 'L');
    struct Case {
        std::string description, bitmapLine, loaded;  // loaded empty: no load
    };
    const Case cases[] = {
        {"images/font2.fnt", "Bitmap = F.png", "images/F.png"},
        {"font.fnt", "Bitmap=F.png", "F.png"},
        {"a\\b/c.fnt", "Bitmap = F.png", "a\\F.png"},
        {"x\\y\\z.fnt", "Bitmap = F.png", "x\\y\\F.png"},
        {"d/e/f.fnt", "Bitmap\t=\t F.png  trailing words", "d/e/F.png"},
        {"d/f.fnt", "Bitmap = " + longName + ".png", "d/" + longName + ".png"},
        {"d/f.fnt", "Bitmap = ", ""},
        {"d/f.fnt", "Bitmap F.png", ""},
        {"d/f.fnt", "Bitmaps = F.png", ""},
        {"d/f.fnt", "bitmap = F.png", ""},
    };
    for (const Case& c : cases) {
        engine->ClearLog();
        Font("[GFXFONT]\n" + c.bitmapLine + "\n", c.description);
        const std::vector<std::string> loads = engine->Calls("Texture_Load");
        if (c.loaded.empty()) {
            EXPECT_TRUE(loads.empty()) << c.bitmapLine;
        } else {
            ASSERT_EQ(loads.size(), 1u) << c.bitmapLine;
            EXPECT_EQ(loads[0], "Texture_Load(" + c.loaded + ",0,false)");
        }
    }
    engine->ClearLog();
    Font("[GFXFONT]\nBitmap = glyphs.png\n", "fonts/mip.fnt", true);
    EXPECT_EQ(engine->Calls("Texture_Load"), std::vector<std::string>{"Texture_Load(fonts/glyphs.png,0,true)"});
}

TEST_F(gfxFontTest, EveryTextureLoadedIsKeptUntilTheFontEnds) {
    const int textures = engine->LiveTextures();
    auto font = Font(
        "[GFXFONT]\nBitmap = glyphs.png\nChar=41,0,0,10,17,0,1\n"
        "Bitmap = other.png\nChar=62,20,0,8,12,1,2\n");
    EXPECT_EQ(engine->LiveTextures(), textures + 2);
    font->Render(0, 0, 0, "Ab");
    const std::vector<Drawn> drawn = Glyphs();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(engine->FindTexture(drawn[0].tex)->name, "fonts/glyphs.png");
    EXPECT_EQ(engine->FindTexture(drawn[1].tex)->name, "fonts/other.png");
    font.reset();
    EXPECT_EQ(engine->LiveTextures(), textures);

    // A texture that fails stops the reading; the one loaded before is still freed.
    font = Font(
        "[GFXFONT]\nBitmap = glyphs.png\nChar=41,0,0,10,17,0,1\n"
        "Bitmap = missing.png\nChar=62,20,0,8,12,1,2\n");
    EXPECT_EQ(font->GetStringWidth("A"), 11.0f);
    EXPECT_EQ(font->GetStringWidth("b"), 0.0f);
    font.reset();
    EXPECT_EQ(engine->LiveTextures(), textures);
}

TEST_F(gfxFontTest, GlyphsBeforeAnyTextureUseTextureZero) {
    auto font = Font("[GFXFONT]\nChar=41,0,0,10,17,0,1\nBitmap = glyphs.png\nChar=62,20,0,8,12,1,2\n");
    font->Render(0, 0, 0, "Ab");
    const std::vector<Drawn> drawn = Glyphs();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].tex, 0u);
    EXPECT_NE(drawn[1].tex, 0u);
}

TEST_F(gfxFontTest, MissingGlyphsDrawTheSubstituteOrNothing) {
    auto font = Font(kGlyphs);
    font->Render(0, 0, 0, "Az");
    std::vector<Drawn> drawn = Glyphs();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].u, 0);
    EXPECT_EQ(drawn[1].u, 40);  // '?'
    EXPECT_EQ(drawn[1].x, 11);

    auto plain = Font("[GFXFONT]\nBitmap = glyphs.png\nChar=41,0,0,10,17,0,1\nChar=42,20,0,8,12,1,2\n");
    plain->Render(0, 0, 0, "AzzB");
    drawn = Glyphs();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].u, 20);
    EXPECT_EQ(drawn[1].x, 12);  // px moved by A alone, then B's pre
    EXPECT_EQ(plain->GetStringWidth("Az"), 11.0f);
}

TEST_F(gfxFontTest, ALaterLineForTheSameCodeReplacesTheGlyph) {
    const int base = engine->RefCount();
    auto font = Font("[GFXFONT]\nBitmap = glyphs.png\nChar=41,0,0,10,17,0,1\nChar=41,20,0,8,12,0,0\n");
    EXPECT_EQ(font->GetHeight(), 17.0f);
    EXPECT_EQ(engine->RefCount(), base + 2);  // the font and one glyph: the first was deleted
    font->Render(0, 0, 0, "A");
    EXPECT_EQ(Glyphs()[0].u, 20);
}

TEST_F(gfxFontTest, AlignmentPlacesEachLine) {
    struct Case {
        int align;
        const char* text;
        std::vector<float> xs;
    };
    const Case cases[] = {
        {0, "m", {100}},       {3, "m", {100}},
        {1, "m", {79}},        {2, "m", {90}},  // 21 / 2 = 10.5 rounds to the even 10
        {2, "n", {88}},                         // 23 / 2 = 11.5 rounds to 12
        {2, "m\nn", {90, 88}}, {1, "Ab\nA", {78, 90, 89}},
        {2 | 8, "m", {90}},  // vertical bits play no part here
    };
    auto font = Font(kGlyphs);
    for (const Case& c : cases) {
        font->Render(100, 0, c.align, c.text);
        EXPECT_EQ(Xs(), c.xs) << c.text << " align " << c.align;
    }
}

TEST_F(gfxFontTest, LineAdvanceIsRoundedAndEmptyLinesKeepTheirHeight) {
    struct Case {
        int height;
        float scale, spacing, advance;
    };
    const Case cases[] = {
        {17, 1.5f, 1, 26},  // 25.5 rounds to the even 26
        {15, 1.5f, 1, 22},  // 22.5 rounds to the even 22
        {17, 1, 2, 34},
        {17, 1, 0.5f, 8},  // 8.5 rounds to 8
    };
    for (const Case& c : cases) {
        auto font = Font("[GFXFONT]\nChar=41,0,0,10," + std::to_string(c.height) + ",0,0\n");
        font->SetScale(c.scale);
        font->SetSpacing(c.spacing);
        engine->ClearLog();
        font->Render(0, 0.25f, 0, "A\nA\n\nA");
        const std::vector<Drawn> drawn = Glyphs();
        ASSERT_EQ(drawn.size(), 3u);
        EXPECT_EQ(drawn[0].y, 0.25f);  // y itself is never rounded
        EXPECT_EQ(drawn[1].y, 0.25f + c.advance) << c.height << " " << c.scale;
        EXPECT_EQ(drawn[2].y, 0.25f + 3 * c.advance) << c.height << " " << c.scale;
        EXPECT_EQ(font->GetHeight(), static_cast<float>(c.height));
    }
}

TEST_F(gfxFontTest, StringWidths) {
    auto font = Font(kGlyphs);
    struct Case {
        const char* text;
        bool multiline;
        float width;
    };
    const Case cases[] = {
        {"", true, 0},
        {"A", false, 11},
        {"Ab", false, 22},
        {"A\nAb", false, 11},
        {"A\nAb", true, 22},
        {"A\r\nA", false, 17},  // CR draws '?'
        {"A\n\r\rAbA", true, 33},
        {"Ab\n\n", true, 22},
        {"\nA", false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(font->GetStringWidth(c.text, c.multiline), c.width) << c.text << " " << c.multiline;
    EXPECT_EQ(font->GetStringWidth(nullptr), 0.0f);

    font->SetTracking(2);
    EXPECT_EQ(font->GetStringWidth("AA"), 26.0f);
    font->SetScale(2);
    EXPECT_EQ(font->GetStringWidth("AA"), 52.0f);
}

TEST_F(gfxFontTest, ScaleTrackingAndGlyphStateReachTheQuads) {
    auto font = Font(kGlyphs);
    font->SetScale(2);
    font->SetTracking(1);
    font->SetColor(0x80112233);
    font->SetZ(0.125f);
    font->SetBlendMode(BLEND_COLORADD | BLEND_ALPHABLEND);
    font->Render(10, 20, 0, "bA");
    ASSERT_EQ(engine->Quads().size(), 2u);
    const gfxQuad b = engine->Quads()[0];
    const gfxQuad a = engine->Quads()[1];
    EXPECT_EQ(b.v[0].x, 12);  // pre 1 at scale 2
    EXPECT_EQ(b.v[2].x - b.v[0].x, 16);
    EXPECT_EQ(b.v[2].y - b.v[0].y, 24);
    EXPECT_EQ(a.v[0].x, 12 + (2 + 1 + 8) * 2);
    for (const gfxQuad& q : {a, b}) {
        EXPECT_EQ(q.blend, BLEND_COLORADD | BLEND_ALPHABLEND);
        for (const gfxVertex& v : q.v) {
            EXPECT_EQ(v.col, 0x80112233u);
            EXPECT_EQ(v.z, 0.125f);
        }
    }
}

TEST_F(gfxFontTest, PrintfCutsItsOutputAt1023Characters) {
    auto font = Font(kGlyphs);
    font->printf(0, 0, 0, "%s", std::string(2000, 'A').c_str());
    EXPECT_EQ(engine->Quads().size(), 1023u);
    engine->ClearLog();
    font->printf(5, 0, 1, "%c%s", 'A', "b");
    EXPECT_EQ(Xs(), (std::vector<float>{5 - 22.0f, 5 - 10.0f}));
}

TEST_F(gfxFontTest, PrintfbWrapsAtBlanksAndAlignsTheBlock) {
    // A advances 11, a blank 5; lines are 17 high.
    const std::string desc = std::string(kGlyphs) + "Char=\" \",100,0,5,1,0,0\n";
    auto font = Font(desc);
    struct Case {
        const char* what;
        float w, h;
        int align;
        const char* text;
        std::vector<std::vector<float>> glyphs;  // x, y of every A
    };
    const Case cases[] = {
        {"box narrower than the first word", 15, 100, 0, "AA AA", {{0, 0}, {11, 0}, {0, 17}, {11, 17}}},
        {"word moves to the next line", 30, 100, 0, "A A A", {{0, 0}, {16, 0}, {0, 17}}},
        {"no blank: one line", 15, 100, 4, "AAA", {{0, 83}, {11, 83}, {22, 83}}},
        {"bottom of two lines", 15, 100, 4, "A A", {{0, 66}, {0, 83}}},
        {"middle rounds to even", 15, 101, 8, "A A", {{0, 34}, {0, 51}}},  // 33.5 -> 34
        {"centre", 31, 17, 2, "A", {{10, 0}}},                             // 16 - 6
        {"right", 31, 17, 1, "A", {{20, 0}}},
        {"existing line feeds count", 100, 100, 4, "A\nA", {{0, 66}, {0, 83}}},
    };
    for (const Case& c : cases) {
        font->printfb(0, 0, c.w, c.h, c.align, "%s", c.text);
        std::vector<std::vector<float>> as;
        for (const Drawn& d : Glyphs())
            if (d.u == 0) as.push_back({d.x, d.y});
        EXPECT_EQ(as, c.glyphs) << c.what;
    }
}

TEST_F(gfxFontTest, EngineReferencesAndResourcesBalance) {
    const int refs = engine->RefCount();
    const int textures = engine->LiveTextures();
    {
        auto font = Font(kGlyphs);
        EXPECT_EQ(engine->RefCount(), refs + 1 + 5);  // the font and its five glyphs
        EXPECT_EQ(engine->LiveResources(), 0);
        font->Render(0, 0, 0, "Ab?mn");
    }
    EXPECT_EQ(engine->RefCount(), refs);
    EXPECT_EQ(engine->LiveTextures(), textures);
}

}  // namespace
