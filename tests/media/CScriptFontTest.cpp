#include "media/CScriptFont.h"

#include "host/CGFXStarter.h"
#include "tests/script/LuaEval.h"
#include "tests/support/HostFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A: 10 x 17 with one pixel after it (advance 11); B: 8 x 12 (advance 8).
const char kDescription[] =
    "[GFXFONT]\n"
    "Bitmap = glyphs.png\n"
    "Char=41,0,0,10,17,0,1\n"
    "Char=42,20,0,8,12,0,0\n";

class CScriptFontTest : public HostFixture {
protected:
    using Body = std::function<void(std::vector<std::unique_ptr<CScriptFont>>&)>;

    void SetUp() override {
        HostFixture::SetUp();
        engine->AddImage("fonts/glyphs.png", 64, 32);
        engine->AddFile("fonts/test.fnt", kDescription);
        engine->AddFile("fonts/other.fnt", kDescription);
    }

    // Runs body inside a live frame with a font per file bound to f1, f2, ...
    void WithFonts(const std::vector<std::string>& files, const Body& body) {
        RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* screen, lua_State* L) {
            m_L = L;
            std::vector<std::unique_ptr<CScriptFont>> fonts;
            for (const std::string& file : files) {
                fonts.push_back(std::make_unique<CScriptFont>(s, screen, file));
                fonts.back()->Bind(L);
                lua_setglobal(L, ("f" + std::to_string(fonts.size())).c_str());
            }
            engine->ClearLog();
            body(fonts);
        });
    }
    std::string Lua(const std::string& code) { return LuaEval(m_L, code); }
    std::vector<float> DrawnXs() const {
        std::vector<float> xs;
        for (const gfxQuad& q : engine->Quads()) xs.push_back(q.v[0].x);
        return xs;
    }

    lua_State* m_L = nullptr;
};

TEST_F(CScriptFontTest, DrawStringTakesWholeCoordinates) {
    WithFonts({"fonts/test.fnt"}, [&](auto&) {
        EXPECT_EQ("", Lua("f1:DrawString(10.9, 20.2, 'A') f1:DrawString(-3.7, 0, 'A')"));
        ASSERT_EQ(2u, engine->Quads().size());
        EXPECT_FLOAT_EQ(10.0f, engine->Quads()[0].v[0].x);
        EXPECT_FLOAT_EQ(20.0f, engine->Quads()[0].v[0].y);
        EXPECT_FLOAT_EQ(-3.0f, engine->Quads()[1].v[0].x);
        EXPECT_EQ("error: lua_isnumber(luaVM,idx)", Lua("f1:DrawString('A', 1, 2)"));
    });
}

TEST_F(CScriptFontTest, AlignmentPlacesEveryLineAboutX) {
    // "AB" is 19 wide, "A" 11; centring rounds half widths to even.
    struct Case {
        const char* align;
        std::vector<float> xs;
    };
    const Case cases[] = {
        {"", {100, 111, 100}},
        {"f1:AlignRight()", {81, 92, 89}},
        {"f1:AlignCenter()", {90, 101, 94}},
        {"f1:AlignRight() f1:AlignLeft()", {100, 111, 100}},
    };
    for (const Case& c : cases) {
        WithFonts({"fonts/test.fnt"}, [&](auto&) {
            Lua(std::string(c.align) + " f1:DrawString(100, 20, 'AB\\nA')");
            EXPECT_EQ(c.xs, DrawnXs()) << c.align;
            ASSERT_EQ(3u, engine->Quads().size());
            EXPECT_FLOAT_EQ(37.0f, engine->Quads()[2].v[0].y) << c.align;
        });
    }
}

TEST_F(CScriptFontTest, Measuring) {
    struct Case {
        const char* code;
        const char* result;
    };
    const Case cases[] = {
        {"return f1:StringWidth('AB')", "19"},
        {"return f1:StringWidth('A\\nAB')", "19"},
        {"return f1:StringWidth('')", "0"},
        {"return f1:LineHeight()", "17"},
        {"f1:SetScale(2) return f1:StringWidth('AB'), f1:LineHeight()", "38,17"},
        {"f1:SetScale(2) f1:SetTracking(1) return f1:StringWidth('AB')", "42"},
        {"f1:SetScale(0.5) return f1:StringWidth('A')", "5.5"},
    };
    for (const Case& c : cases) {
        WithFonts({"fonts/test.fnt"}, [&](auto&) { EXPECT_EQ(c.result, Lua(c.code)) << c.code; });
    }
}

TEST_F(CScriptFontTest, SpacingScalesTheLineAdvance) {
    WithFonts({"fonts/test.fnt"}, [&](auto&) {
        Lua("f1:SetSpacing(2) f1:DrawString(0, 10, 'A\\nA')");
        ASSERT_EQ(2u, engine->Quads().size());
        EXPECT_FLOAT_EQ(44.0f, engine->Quads()[1].v[0].y);
    });
}

TEST_F(CScriptFontTest, FontsOnOneFileShareAllButTheAlignment) {
    WithFonts({"fonts/test.fnt", "fonts/test.fnt", "fonts/other.fnt"}, [&](auto& fonts) {
        EXPECT_EQ(fonts[0]->GetFont(), fonts[1]->GetFont());
        EXPECT_NE(fonts[0]->GetFont(), fonts[2]->GetFont());
        Lua("f1:SetColor(0xFF00FF00) f1:SetScale(2) f1:AlignRight()");
        EXPECT_EQ("38,19", Lua("return f2:StringWidth('AB'), f3:StringWidth('AB')"));
        Lua("f2:DrawString(100, 0, 'A')");
        ASSERT_EQ(1u, engine->Quads().size());
        EXPECT_EQ(0xFF00FF00u, engine->Quads()[0].v[0].col);
        EXPECT_FLOAT_EQ(100.0f, engine->Quads()[0].v[0].x);
        EXPECT_EQ(1, fonts[0]->GetAlignment());
        EXPECT_EQ(0, fonts[1]->GetAlignment());
    });
}

TEST_F(CScriptFontTest, AMissingFileGivesAnEmptyUsableFont) {
    WithFonts({"fonts/missing.fnt"}, [&](auto&) {
        EXPECT_EQ("0,0", Lua("return f1:LineHeight(), f1:StringWidth('AB')"));
        EXPECT_EQ("", Lua("f1:SetColor(1) f1:SetScale(2) f1:SetTracking(1) f1:SetSpacing(2) f1:AlignCenter() "
                          "f1:DrawString(0, 0, 'AB')"));
        EXPECT_TRUE(engine->Quads().empty());
    });
}

}  // namespace
