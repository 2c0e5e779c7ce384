#include "media/CXmlFont.h"

#include "tests/media/DrawnQuads.h"
#include "tests/media/XmlFontSample.h"
#include "tests/support/HostFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// A description of glyphs with these ids (advance 10) and no pages.
std::string GlyphsOnly(const std::vector<int>& ids) {
    std::string chars;
    for (int id : ids) chars += "<char id=\"" + std::to_string(id) + "\" xadvance=\"10\"/>";
    return "<font><chars count=\"" + std::to_string(ids.size()) + "\">" + chars + "</chars></font>";
}

std::vector<std::vector<int>> SplitIds(const CXmlFont& font, const char* text) {
    std::vector<std::vector<int>> out;
    for (const CXmlFont::Line& line : font.SplitLines(text)) {
        out.emplace_back();
        for (const CXmlFontGlyph* glyph : line) out.back().push_back(glyph->id);
    }
    return out;
}

TEST(XmlFontSplit, EscapesSignedBytesBackslashesAndLines) {
    CXmlFont full, plain;
    ASSERT_EQ(full.LoadFromMemory(GlyphsOnly({65, 66, 97, 98, 92, 63, 300, 233, -23, 123}).c_str()), 1);
    ASSERT_EQ(plain.LoadFromMemory(GlyphsOnly({65, 66}).c_str()), 1);
    using Ids = std::vector<std::vector<int>>;
    struct Case {
        const CXmlFont* font;
        const char* text;
        Ids lines;
    };
    const Case cases[] = {
        {&full, "AB", {{65, 66}}},       {&full, "A\nB", {{65}, {66}}},
        {&full, "A\n", {{65}, {}}},      {&full, "", {{}}},
        {&full, nullptr, {{}}},          {&full, "C\r", {{}}},  // no glyph: skipped
        {&full, "\\65", {{65}}},         {&full, "\\300", {{300}}},
        {&plain, "\\300", {{}}},                                           // neither 300 nor '?'
        {&full, "\\77", {{63}}},                                           // no 77: '?'
        {&full, "\xE9", {{-23}}},                                          // bytes are signed codes
        {&full, "\\233", {{233}}},       {&full, "\\1234B", {{123, 66}}},  // four digits consumed, three read
        {&full, "\\0065", {{63}}},                                         // "006" names 6, not 65
        {&full, "A\\", {{65}}},                                            // a trailing backslash is dropped
        {&full, "a\\b", {{97, 92, 98}}}, {&full, "\\\\A", {{92, 92, 65}}},
        {&full, "\\\\65", {{92, 65}}},   {&full, "\\\\", {{92}}},       // the second one ends the text
        {&full, "\\\nA", {{92}, {65}}},  {&plain, "A\\B", {{65, 66}}},  // no backslash glyph
    };
    for (const Case& c : cases) EXPECT_EQ(SplitIds(*c.font, c.text), c.lines) << (c.text ? c.text : "null");
}

TEST(XmlFontSplit, DecimalParsing) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {nullptr, 0},
        {"", 0},
        {"abc", 0},
        {" \t-42x", -42},
        {"+7", 7},
        {"-", 0},
        {"12 3", 12},
        {"4294967295", -1},  // wraps in 32 bits
        {"99999999999999999999", 1661992959},
    };
    for (const Case& c : cases) EXPECT_EQ(CXmlFont::ParseDecimalInt(c.text), c.value) << (c.text ? c.text : "null");
}

TEST(XmlFontSplit, WidthsAreTheWidestLineAndNeverBelowZero) {
    CXmlFont font;
    font.LoadFromMemory(
        "<f><chars count=\"3\"><c id=\"65\" xadvance=\"11\"/><c id=\"66\" xadvance=\"13\"/>"
        "<c id=\"77\" xadvance=\"-30\"/></chars></f>");
    EXPECT_EQ(font.GetStringWidth(""), 0);
    EXPECT_EQ(font.GetStringWidth(nullptr), 0);
    EXPECT_EQ(font.GetStringWidth("AB"), 24);
    EXPECT_EQ(font.GetStringWidth("A\nABB\nB"), 37);
    EXPECT_EQ(font.GetStringWidth("M"), 0);
    EXPECT_EQ(font.GetLineWidth(font.SplitLines("MA")[0]), -19);
}

// Sums of hostile advances wrap in 32 bits instead of overflowing.
TEST(XmlFontSplit, HugeAdvancesDoNotOverflow) {
    CXmlFont font;
    font.LoadFromMemory("<f><chars count=\"1\"><c id=\"65\" xadvance=\"2147483647\"/></chars></f>");
    EXPECT_EQ(font.FindGlyph(65)->xadvance, INT_MAX);
    EXPECT_EQ(font.GetLineWidth(font.SplitLines("AA")[0]), -2);
    EXPECT_EQ(font.GetStringWidth("A\nAA"), INT_MAX);
    font.AlignRight();
    font.Render(INT_MIN, INT_MAX, "AAA\nA");  // no pages: nothing drawn, nothing undefined
}

struct ReadCase {
    const char* what;
    std::string document;
    int loaded, glyphs, pages, lineHeight;
    int probe;    // a glyph id to look up
    int advance;  // its xadvance, or -1 when it must be absent
};

TEST(XmlFontRead, DescriptionsAndTheirCounts) {
    const std::string five =
        "<c id=\"1\" xadvance=\"1\"/><c id=\"2\" xadvance=\"2\"/><c id=\"3\" xadvance=\"3\"/>"
        "<c id=\"4\" xadvance=\"4\"/><c id=\"5\" xadvance=\"5\"/>";
    const std::string common = "<common lineHeight=\"20.9\" base=\"16\" scaleW=\"256\" scaleH=\"128\" pages=\"2\"/>";
    const std::string twoPages = "<pages><page id=\"0\"/><page id=\"1\"/></pages>";
    auto chars = [&](const std::string& count) { return "<chars count=\"" + count + "\">" + five + "</chars>"; };
    const ReadCase cases[] = {
        {"count 3 of five", "<f>" + chars("3") + "</f>", 1, 3, 0, 0, 3, 3},
        {"the fourth is surplus", "<f>" + chars("3") + "</f>", 1, 3, 0, 0, 4, -1},
        {"count 2.5", "<f>" + chars("2.5") + "</f>", 1, 2, 0, 0, 2, 2},
        {"count above the entries", "<f>" + chars("9") + "</f>", 1, 5, 0, 0, 5, 5},
        {"count 1e9", "<f>" + chars("1e9") + "</f>", 1, 5, 0, 0, 5, 5},
        {"count negative", "<f>" + chars("-3") + "</f>", 1, 0, 0, 0, 1, -1},
        {"count not a number", "<f>" + chars("nan") + "</f>", 1, 0, 0, 0, 1, -1},
        {"count infinite", "<f>" + chars("inf") + "</f>", 1, 0, 0, 0, 1, -1},
        {"count missing", "<f><chars>" + five + "</chars></f>", 1, 0, 0, 0, 1, -1},
        {"duplicate id: the later wins",
         "<f><chars count=\"2\"><c id=\"7\" xadvance=\"5\"/><c id=\"7\" xadvance=\"9\"/></chars></f>", 1, 2, 0, 0, 7,
         9},
        {"comment and text use no slot",
         "<f><chars count=\"2\"><c id=\"1\"/><!-- note -->text<c id=\"2\" xadvance=\"8\"/></chars></f>", 1, 2, 0, 0, 2,
         8},
        {"missing attributes are 0", "<f><common/><chars count=\"1\"><c/></chars></f>", 1, 1, 0, 0, 0, 0},
        {"metrics truncate, pages fill their slots", "<f>" + common + twoPages + chars("1") + "</f>", 1, 1, 2, 20, 1,
         1},
        {"page count above the entries", "<f><common pages=\"40\"/>" + twoPages + "</f>", 1, 0, 2, 0, 1, -1},
        {"page count 1", "<f><common pages=\"1\"/>" + twoPages + "</f>", 1, 0, 1, 0, 1, -1},
        {"page count negative", "<f><common pages=\"-1\"/>" + twoPages + "</f>", 1, 0, 0, 0, 1, -1},
        {"no common: no pages", "<f>" + twoPages + chars("1") + "</f>", 1, 1, 0, 0, 1, 1},
        {"a text node named common comes first", "<f>common" + common + twoPages + "</f>", 1, 0, 0, 0, 1, -1},
        {"only the first chars counts", "<f><chars count=\"1\"/>" + chars("5") + "</f>", 1, 0, 0, 0, 1, -1},
        {"any root name, any entry name", "<x><common lineHeight=\"7\"/></x>", 1, 0, 0, 7, 1, -1},
        {"names are case-sensitive", "<f><Common lineHeight=\"7\"/><Chars count=\"1\"><c id=\"1\"/></Chars></f>", 1, 0,
         0, 0, 1, -1},
        {"no element at all", "<!-- only a comment -->", 1, 0, 0, 0, 1, -1},
        {"not XML", "<f><common", 0, 0, 0, 0, 1, -1},
        {"empty text", "", 0, 0, 0, 0, 1, -1},
        {"huge numbers convert safely",
         "<f><common lineHeight=\"1e300\"/><chars count=\"1\"><c id=\"1\" xadvance=\"3e9\"/></chars></f>", 1, 1, 0, 0,
         1, -1294967296},
    };
    for (const ReadCase& c : cases) {
        CXmlFont font;
        EXPECT_EQ(font.LoadFromMemory(c.document.c_str()), c.loaded) << c.what;
        EXPECT_EQ(font.GetGlyphCount(), c.glyphs) << c.what;
        EXPECT_EQ(font.GetPageCount(), c.pages) << c.what;
        EXPECT_EQ(font.GetLineHeight(), c.lineHeight) << c.what;
        const CXmlFontGlyph* glyph = font.FindGlyph(c.probe);
        EXPECT_EQ(glyph ? glyph->xadvance : -1, c.advance) << c.what;
    }
}

TEST(XmlFontRead, GlyphFieldsAndPageIds) {
    CXmlFont font;
    font.LoadFromMemory(
        "<f><common pages=\"1\"/><pages><p id=\"4\"/></pages><chars count=\"1\">"
        "<char id=\"65\" x=\"1\" y=\"2\" width=\"3\" height=\"4\" xoffset=\"-5\" yoffset=\"6\" xadvance=\"7\" "
        "page=\"8\"/>"
        "</chars></f>");
    const CXmlFontGlyph* g = font.FindGlyph(65);
    ASSERT_NE(g, nullptr);
    const int fields[] = {g->id, g->x, g->y, g->width, g->height, g->xoffset, g->yoffset, g->xadvance, g->page};
    EXPECT_EQ(std::vector<int>(std::begin(fields), std::end(fields)), (std::vector<int>{65, 1, 2, 3, 4, -5, 6, 7, 8}));
    EXPECT_EQ(font.GetPage(0)->GetId(), 4);
    EXPECT_FALSE(font.GetPage(0)->HasSprite());
}

// A second load starts from nothing: no glyphs of the first document and the
// alignment back at left.
TEST(XmlFontRead, ReloadResetsEverything) {
    CXmlFont font;
    font.LoadFromMemory(GlyphsOnly({65}).c_str());
    font.AlignCenter();
    EXPECT_EQ(font.LoadFromMemory("<other/>"), 1);
    EXPECT_EQ(font.FindGlyph(65), nullptr);
    EXPECT_EQ(font.GetAlign(), 0);
    font.LoadFromMemory(GlyphsOnly({66}).c_str());
    EXPECT_EQ(font.LoadFromMemory("<broken"), 0);
    EXPECT_EQ(font.FindGlyph(66), nullptr);
}

// Nesting deep enough to overflow the parser's recursion is refused, from
// memory and from disk, and leaves the font empty.
TEST(XmlFontRead, RefusesNestingDeeperThanTheParserMayRecurse) {
    std::string nested;
    for (int i = 0; i < 200000; ++i) nested += "<a>";
    CXmlFont font;
    font.LoadFromMemory(GlyphsOnly({65}).c_str());
    EXPECT_EQ(font.LoadFromMemory(nested.c_str()), 0);
    EXPECT_EQ(font.GetGlyphCount(), 0);
    TempFolder folder;
    folder.Write("deep.xml", nested);
    EXPECT_EQ(font.LoadFile((folder / "deep.xml").c_str()), 0);
}

TEST(XmlFontRead, LoadFileReadsFromDisk) {
    TempFolder folder;
    folder.Write("f.xml", GlyphsOnly({65, 66}));
    CXmlFont font;
    EXPECT_EQ(font.LoadFile((folder / "f.xml").c_str()), 1);
    EXPECT_EQ(font.GetGlyphCount(), 2);
    EXPECT_EQ(font.LoadFile((folder / "none.xml").c_str()), 0);
    EXPECT_EQ(font.GetGlyphCount(), 0);
    EXPECT_EQ(font.LoadFile(nullptr), 0);
}

class XmlFontDrawTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        engine->AddImage("fonts/p0.png", 256, 256);
        engine->AddImage("fonts/p1.png", 100, 60, {}, 128, 64);
    }
    // Runs body with a font loaded from the description inside a live frame.
    void WithFont(const std::string& description, std::function<void(CXmlFont&)> body) {
        RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) {
            CXmlFont font;
            font.SetStarter(s);
            font.LoadFromMemory(description.c_str());
            engine->ClearLog();
            body(font);
        });
    }
    std::string FileOf(HTEXTURE tex) {
        const RecordingEngine::Texture* t = engine->FindTexture(tex);
        return t ? t->name : "";
    }
};

TEST_F(XmlFontDrawTest, LinesGoDownByLineHeightAndGlyphsComeFromTheirPages) {
    WithFont(kXmlFontSample, [&](CXmlFont& font) {
        font.Render(100, 50, "A\nB");
        const std::vector<DrawnQuad> q = TakeQuads(engine);
        ASSERT_EQ(q.size(), 2u);
        EXPECT_EQ(FileOf(q[0].tex), "fonts/p0.png");
        EXPECT_EQ(FileOf(q[1].tex), "fonts/p1.png");
        // A: texel (0, 0), 10 x 12, drawn at the pen plus its offsets.
        EXPECT_FLOAT_EQ(q[0].u, 0);
        EXPECT_FLOAT_EQ(q[0].v, 0);
        EXPECT_FLOAT_EQ(q[0].x, 101);
        EXPECT_FLOAT_EQ(q[0].y, 52);
        EXPECT_FLOAT_EQ(q[0].right, 111);
        EXPECT_FLOAT_EQ(q[0].bottom, 64);
        // B on the next line, 20 lower, from the 128 x 64 surface of page 1.
        EXPECT_FLOAT_EQ(q[1].u, 16);
        EXPECT_FLOAT_EQ(q[1].v, 32);
        EXPECT_FLOAT_EQ(q[1].x, 99);
        EXPECT_FLOAT_EQ(q[1].y, 73);
        EXPECT_FLOAT_EQ(q[1].right, 111);
        EXPECT_FLOAT_EQ(q[1].bottom, 87);
        font.Render(0, 0, "AB");
        EXPECT_EQ(Xs(TakeQuads(engine)), (std::vector<float>{1, 10}));
    });
}

TEST_F(XmlFontDrawTest, EachLineGetsItsOwnAlignmentShift) {
    struct Case {
        void (CXmlFont::*align)();
        const char* text;
        std::vector<float> xs;
    };
    const Case cases[] = {
        {&CXmlFont::AlignLeft, "W", {100}},
        {&CXmlFont::AlignCenter, "W", {63}},  // -(75 / 2) truncates to -37
        {&CXmlFont::AlignRight, "W", {25}},
        {&CXmlFont::AlignCenter, "W\nAB", {63, 89, 98}},
        {&CXmlFont::AlignRight, "AB\nW", {77, 86, 25}},
        {&CXmlFont::AlignLeft, "AB\nW", {101, 110, 100}},
    };
    WithFont(kXmlFontSample, [&](CXmlFont& font) {
        for (const Case& c : cases) {
            (font.*c.align)();
            font.Render(100, 0, c.text);
            EXPECT_EQ(Xs(TakeQuads(engine)), c.xs) << c.text;
        }
    });
}

// Page 0 has no file; 1 has one; -1 and 2 lie outside the list. Only Y is
// drawn, but every glyph moves the pen.
TEST_F(XmlFontDrawTest, GlyphsWithoutADrawablePageAreSkippedButAdvance) {
    const char doc[] =
        "<f><common lineHeight=\"10\" pages=\"2\"/>"
        "<pages><page id=\"7\"/><page id=\"3\" file=\"fonts/p1.png\"/></pages>"
        "<chars count=\"4\">"
        "<c id=\"88\" xadvance=\"5\" page=\"0\"/><c id=\"89\" width=\"4\" height=\"4\" xadvance=\"6\" page=\"1\"/>"
        "<c id=\"90\" xadvance=\"7\" page=\"-1\"/><c id=\"86\" xadvance=\"8\" page=\"2\"/>"
        "</chars></f>";
    WithFont(doc, [&](CXmlFont& font) {
        EXPECT_EQ(font.GetPage(-1), nullptr);
        EXPECT_EQ(font.GetPage(2), nullptr);
        EXPECT_EQ(font.GetPage(1)->GetId(), 3);
        EXPECT_EQ(font.GetPage(1)->GetFile(), "fonts/p1.png");
        font.Render(0, 0, "XYZVY");
        EXPECT_EQ(Xs(TakeQuads(engine)), (std::vector<float>{5, 26}));
    });
}

TEST_F(XmlFontDrawTest, ColourHoldsForEveryPageAndPagesShareCachedTextures) {
    const std::string shared =
        std::string(kXmlFontSample).replace(std::string(kXmlFontSample).find("fonts/p1.png"), 12, "fonts/p0.png");
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) {
        CXmlFont font;
        font.SetStarter(s);
        font.LoadFromMemory(shared.c_str());
        EXPECT_EQ(engine->Calls("Texture_Load"), std::vector<std::string>{"Texture_Load(fonts/p0.png,0,false)"});
        engine->ClearLog();
        font.Render(0, 0, "AB");
        for (const DrawnQuad& q : TakeQuads(engine)) EXPECT_EQ(q.col, 0xFFFFFFFFu);
        font.SetColor(0x80FF0000u);
        font.Render(0, 0, "AB\nBA");
        const std::vector<DrawnQuad> q = TakeQuads(engine);
        ASSERT_EQ(q.size(), 4u);
        for (const DrawnQuad& d : q) EXPECT_EQ(d.col, 0x80FF0000u);
        EXPECT_EQ(q[0].tex, q[1].tex);
        // A fresh load starts with the sprite's own colour.
        font.LoadFromMemory(kXmlFontSample);
        font.Render(0, 0, "A");
        EXPECT_EQ(TakeQuads(engine).at(0).col, 0xFFFFFFFFu);
    });
}

TEST_F(XmlFontDrawTest, FontsThatCannotDrawDrawNothing) {
    const std::string glyphs = "<chars count=\"1\"><c id=\"65\" width=\"3\" height=\"3\" xadvance=\"4\"/></chars>";
    const std::string pages = "<pages><p file=\"fonts/p0.png\"/></pages>";
    const std::string documents[] = {
        "<f>" + pages + glyphs + "</f>",                       // no common
        "<f><common pages=\"1\"/>" + glyphs + "</f>",          // no pages element
        "<f><common pages=\"1\"/>" + pages + "</f>",           // no chars
        "<f><common pages=\"0\"/>" + pages + glyphs + "</f>",  // no page slots
        "<f><common pages=\"1\"/>" + pages + glyphs,           // not XML
    };
    for (const std::string& doc : documents) {
        WithFont(doc, [&](CXmlFont& font) {
            font.Render(0, 0, "AAA");
            EXPECT_TRUE(TakeQuads(engine).empty()) << doc;
        });
    }
    // The same font with common in place draws.
    WithFont("<f><common pages=\"1\"/>" + pages + glyphs + "</f>", [&](CXmlFont& font) {
        font.Render(0, 0, "AAA");
        EXPECT_EQ(Xs(TakeQuads(engine)), (std::vector<float>{0, 4, 8}));
    });
}

// A page file that cannot be loaded gives a sprite on texture 0.
TEST_F(XmlFontDrawTest, AMissingPageFileDrawsWithTextureZero) {
    WithFont(
        "<f><common pages=\"1\"/><pages><p file=\"fonts/none.png\"/></pages>"
        "<chars count=\"1\"><c id=\"65\" xadvance=\"4\"/></chars></f>",
        [&](CXmlFont& font) {
            EXPECT_TRUE(font.GetPage(0)->HasSprite());
            font.Render(3, 4, "A");
            const std::vector<DrawnQuad> q = TakeQuads(engine);
            ASSERT_EQ(q.size(), 1u);
            EXPECT_EQ(q[0].tex, 0u);
            EXPECT_FLOAT_EQ(q[0].x, 3);
        });
}

}  // namespace
