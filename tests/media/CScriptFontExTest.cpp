#include "media/CScriptFontEx.h"

#include "tests/media/DrawnQuads.h"
#include "tests/media/XmlFontSample.h"
#include "tests/script/LuaEval.h"
#include "tests/support/HostFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class ScriptFontExTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        engine->AddImage("fonts/p0.png", 256, 256);
        engine->AddImage("fonts/p1.png", 128, 64);
        engine->AddFile("fonts/ui.xml", kXmlFontSample);
    }
    // A font on the file, bound as the global "font" of the screen's state.
    std::unique_ptr<CScriptFontEx> Bound(CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L,
                                         const std::string& file = "fonts/ui.xml") {
        auto font = std::make_unique<CScriptFontEx>(s, r, file);
        font->Bind(L);
        lua_setglobal(L, "font");
        engine->ClearLog();
        return font;
    }
};

TEST_F(ScriptFontExTest, DrawsAtTruncatedIntegersAlignedPerLineInItsColour) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto font = Bound(s, r, L);
        EXPECT_EQ(font->GetOwner(), r);
        EXPECT_EQ(LuaEval(L, "return select('#', font:DrawString(10.9, 20.2, 'A'))"), "0");
        std::vector<DrawnQuad> q = TakeQuads(engine);
        ASSERT_EQ(q.size(), 1u);
        EXPECT_FLOAT_EQ(q[0].x, 11);  // 10 plus the glyph's xoffset
        EXPECT_FLOAT_EQ(q[0].y, 22);
        EXPECT_EQ(q[0].col, 0xFFFFFFFFu);

        LuaEval(L, "font:SetColor(0x80FF0000) font:AlignCenter() font:DrawString(100, 0, 'W\\nAB')");
        q = TakeQuads(engine);
        EXPECT_EQ(Xs(q), (std::vector<float>{63, 89, 98}));
        for (const DrawnQuad& d : q) EXPECT_EQ(d.col, 0x80FF0000u);
        LuaEval(L, "font:AlignRight() font:DrawString(100, 0, 'W')");
        EXPECT_EQ(Xs(TakeQuads(engine)), std::vector<float>{25});
        LuaEval(L, "font:AlignLeft() font:DrawString(100, 0, 'W')");
        EXPECT_EQ(Xs(TakeQuads(engine)), std::vector<float>{100});
    });
}

TEST_F(ScriptFontExTest, MeasuresWholeNumbersAndIgnoresSpacingTrackingAndScale) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto font = Bound(s, r, L);
        EXPECT_EQ(LuaEval(L, "return font:LineHeight(), font:StringWidth('AB\\nW'), font:StringWidth('\\65\\66')"),
                  "20,75,24");
        LuaEval(L, "font:DrawString(0, 0, 'AB')");
        const std::vector<float> before = Xs(TakeQuads(engine));
        EXPECT_EQ(LuaEval(L,
                          "return select('#', font:SetSpacing(5)), select('#', font:SetTracking(2)),"
                          " select('#', font:SetScale(3))"),
                  "0,0,0");
        EXPECT_EQ(LuaEval(L, "return font:StringWidth('AB\\nW'), font:LineHeight()"), "75,20");
        LuaEval(L, "font:DrawString(0, 0, 'AB')");
        EXPECT_EQ(Xs(TakeQuads(engine)), before);
    });
}

TEST_F(ScriptFontExTest, AFontFromAMissingOrBrokenFileAnswersZeroAndDrawsNothing) {
    engine->AddFile("fonts/broken.xml", "<font><common lineHeight=\"9\"");
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        for (const char* file : {"fonts/missing.xml", "fonts/broken.xml"}) {
            auto font = Bound(s, r, L, file);
            EXPECT_EQ(LuaEval(L,
                              "font:SetColor(0xFF00FF00) font:AlignCenter() font:AlignRight() font:AlignLeft()"
                              " font:DrawString(5, 5, 'AB') return font:LineHeight(), font:StringWidth('AB')"),
                      "0,0")
                << file;
            EXPECT_TRUE(TakeQuads(engine).empty()) << file;
        }
    });
}

// The engine's copy goes back at once; the text parses to its last byte even
// though the file ends right at its closing tag, without a newline or zero.
TEST_F(ScriptFontExTest, ReadsTheWholeFileAndReturnsTheEngineBuffer) {
    engine->AddFile("fonts/tight.xml",
                    "<f><common lineHeight=\"12\" pages=\"1\"/><pages><p file=\"fonts/p0.png\"/></pages>"
                    "<chars count=\"1\"><c id=\"65\" width=\"2\" height=\"2\" xadvance=\"3\"/></chars></f>");
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        const int live = engine->LiveResources();
        auto font = Bound(s, r, L, "fonts/tight.xml");
        EXPECT_EQ(engine->LiveResources(), live);
        EXPECT_EQ(LuaEval(L, "return font:LineHeight(), font:StringWidth('AA')"), "12,6");
    });
}

TEST_F(ScriptFontExTest, TheTableHoldsTheTenMethodsAndBadArgumentsRaiseLuaErrors) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto font = Bound(s, r, L);
        EXPECT_EQ(LuaEval(L,
                          "local n = {} for k, v in pairs(font) do n[#n + 1] = k end table.sort(n)"
                          " return table.concat(n, ' ')"),
                  "AlignCenter AlignLeft AlignRight DrawString LineHeight SetColor SetScale SetSpacing SetTracking "
                  "StringWidth");
        EXPECT_EQ(LuaEval(L, "font.extra = 1 return font.extra, font.Missing"), "nil,nil");
        EXPECT_EQ(LuaEval(L, "font:DrawString('x', 1, 'A')"), "error: lua_isnumber(luaVM,idx)");
        EXPECT_EQ(LuaEval(L, "font:StringWidth()"), "error: lua_isstring(luaVM,idx)");
        EXPECT_EQ(LuaEval(L, "font:SetScale('big')"), "error: lua_isnumber(luaVM,idx)");
        EXPECT_EQ(font->OnLuaCall(L, 11, "Other"), 0);
        EXPECT_TRUE(TakeQuads(engine).empty());
    });
}

// Tables outlive their object and a second Bind: calls through them do nothing.
TEST_F(ScriptFontExTest, CallsThroughTablesOfAGoneFontOrAnEarlierBindDoNothing) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto font = Bound(s, r, L);
        LuaEval(L, "old = font");
        font->Bind(L);
        lua_setglobal(L, "font");
        EXPECT_EQ(LuaEval(L, "return select('#', old:LineHeight()), font:LineHeight()"), "0,20");
        font.reset();
        EXPECT_EQ(LuaEval(L, "font:DrawString(0, 0, 'A') return select('#', font:StringWidth('A'))"), "0");
        EXPECT_TRUE(TakeQuads(engine).empty());
        EXPECT_EQ(engine->Count("Texture_Free"), 0);  // page textures stay in the cache
    });
}

}  // namespace
