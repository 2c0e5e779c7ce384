#include "media/CScriptSprite.h"

#include "helpers/gfxSprite.h"
#include "host/CGFXStarter.h"
#include "script/ClickEmulation.h"
#include "tests/script/LuaEval.h"
#include "tests/support/HostFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct SpriteSetup {
    bool animated;
    float width, height;
    int frames;
    const char* image;  // null: texture 0
};

// 128 x 16: four frames of 32 x 16 side by side.
const char kStrip[] = "img/strip.png";
const SpriteSetup kPlain = {false, 32, 16, 1, kStrip};
const SpriteSetup kAnimation = {true, 32, 16, 4, kStrip};

const uint32_t kOpaque = 0xFF336699;

// Opaque but for a few texels, each placed where a hit test that reads the
// wrong texel (or outside the map) would land.
std::vector<uint32_t> StripTexels() {
    std::vector<uint32_t> texels(128 * 16, kOpaque);
    const auto at = [&](int x, int y) -> uint32_t& { return texels[static_cast<size_t>(y) * 128 + x]; };
    at(1, 0) = 0x00FFFFFF;
    at(2, 0) = 0x80FFFFFF;
    at(3, 0) = 0xFF000000;
    at(69, 0) = 0;
    at(127, 0) = 0;
    at(22, 1) = 0;
    at(127, 4) = 0;
    return texels;
}

class CScriptSpriteTest : public HostFixture {
protected:
    using Body = std::function<void(CScriptSprite&)>;

    void SetUp() override {
        HostFixture::SetUp();
        engine->AddImage(kStrip, 128, 16, StripTexels());
    }
    void TearDown() override {
        g_bClickEmulation = false;
        g_bEmulatedClick = false;
        HostFixture::TearDown();
    }

    // Runs body inside a live frame with the sprite bound to the global "spr".
    void WithSprite(const SpriteSetup& setup, const Body& body) {
        RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* screen, lua_State* L) {
            m_L = L;
            const HTEXTURE texture = setup.image ? s->GetResourceCache()->GetTexture(setup.image, false) : 0;
            auto sprite = std::make_unique<CScriptSprite>(s, screen, texture, setup.animated, setup.width, setup.height,
                                                          0.0f, 0.0f, setup.frames, 10.0f);
            sprite->Bind(L);
            lua_setglobal(L, "spr");
            engine->ClearLog();
            body(*sprite);
        });
    }
    std::string Lua(const std::string& code) { return LuaEval(m_L, code); }
    // The frame the last quad shows, from its texture coordinate on the strip.
    float DrawnFrame() const { return engine->Quads().back().v[0].tx * 128.0f / 32.0f; }

    lua_State* m_L = nullptr;
};

TEST_F(CScriptSpriteTest, DrawingKeepsFractionsWhilePositionTruncates) {
    struct Case {
        const char* code;
        size_t quads;
        float x, y;  // corner 0 of the quad drawn
        const char* position;
    };
    const Case cases[] = {
        {"spr:Render(10.7, 5.2)", 1, 10.7f, 5.2f, "10,5"},
        {"spr:Render(-3.7, 2.5)", 1, -3.7f, 2.5f, "-3,2"},
        {"spr:RenderEx(10.5, 20.25, 0, 1)", 1, 10.5f, 20.25f, "10,20"},
        {"spr:SetPosition(7.9, 8.1)", 0, 0, 0, "7,8"},
        {"spr:SetPosition(math.huge, 0/0)", 0, 0, 0, "0,0"},
        {"spr:Hide() spr:Render(1.5, 2.5)", 0, 0, 0, "1,2"},
        {"spr:Hide() spr:RenderEx(1.5, 2.5, 0, 1)", 1, 1.5f, 2.5f, "1,2"},
    };
    for (const Case& c : cases) {
        WithSprite(kPlain, [&](CScriptSprite&) {
            EXPECT_EQ("", Lua(c.code)) << c.code;
            ASSERT_EQ(c.quads, engine->Quads().size()) << c.code;
            if (c.quads) {
                EXPECT_FLOAT_EQ(c.x, engine->Quads()[0].v[0].x) << c.code;
                EXPECT_FLOAT_EQ(c.y, engine->Quads()[0].v[0].y) << c.code;
            }
            EXPECT_EQ(c.position, Lua("return spr:Position()")) << c.code;
        });
    }
}

TEST_F(CScriptSpriteTest, SizeAndUpdateGiveTheConstructionSize) {
    WithSprite({false, 32.9f, 16.5f, 1, kStrip}, [&](CScriptSprite&) {
        EXPECT_EQ("32,16", Lua("return spr:Size()"));
        EXPECT_EQ("32,16", Lua("return spr:Update(0.1)"));
        EXPECT_EQ("32,16", Lua("spr:SetRect(0, 0, 8, 4) return spr:Size()"));
    });
}

TEST_F(CScriptSpriteTest, FlagsAndLooks) {
    WithSprite(kPlain, [&](CScriptSprite&) {
        EXPECT_EQ("true,true", Lua("return spr:IsVisible(), spr:IsEnabled()"));
        EXPECT_EQ("false,false", Lua("spr:Hide() spr:Disable() return spr:IsVisible(), spr:IsEnabled()"));
        EXPECT_EQ("true,true", Lua("spr:Show() spr:Enable() return spr:IsVisible(), spr:IsEnabled()"));
        Lua("spr:SetColor(0x80FF0000) spr:SetBlendMode(1) spr:SetHotSpot(16, 8) spr:Render(100, 50)");
        const gfxQuad& q = engine->Quads().back();
        for (const gfxVertex& v : q.v) EXPECT_EQ(0x80FF0000u, v.col);
        EXPECT_EQ(1, q.blend);
        EXPECT_FLOAT_EQ(84.0f, q.v[0].x);
        EXPECT_FLOAT_EQ(42.0f, q.v[0].y);
        Lua("spr:SetColor(4294967295) spr:Render(0, 0)");
        EXPECT_EQ(0xFFFFFFFFu, engine->Quads().back().v[2].col);
    });
}

TEST_F(CScriptSpriteTest, SwitchToFrameKeepsToTheFrames) {
    struct Case {
        const char* code;
        const char* frame;
    };
    const Case cases[] = {
        {"spr:SwitchToFrame(2)", "2"},
        {"spr:SwitchToFrame(3.9)", "3"},
        {"spr:SwitchToFrame(2) spr:SwitchToFrame(-1)", "0"},
        {"spr:SwitchToFrame(2) spr:SwitchToFrame(4)", "0"},
    };
    for (const Case& c : cases) {
        WithSprite(kAnimation, [&](CScriptSprite&) {
            EXPECT_EQ(c.frame, Lua(std::string(c.code) + " return spr:CurrentFrameNumber()")) << c.code;
            Lua("spr:Render(0, 0)");
            EXPECT_FLOAT_EQ(std::stof(c.frame), DrawnFrame()) << c.code;
        });
    }
    // The argument is read only from an animation of several frames.
    WithSprite(kAnimation,
               [&](CScriptSprite&) { EXPECT_EQ("error: lua_isnumber(luaVM,idx)", Lua("spr:SwitchToFrame()")); });
    for (const SpriteSetup& setup : {kPlain, SpriteSetup{true, 32, 16, 1, kStrip}}) {
        WithSprite(setup,
                   [&](CScriptSprite&) { EXPECT_EQ("0", Lua("spr:SwitchToFrame() return spr:CurrentFrameNumber()")); });
    }
}

TEST_F(CScriptSpriteTest, PlayStopAndLoops) {
    WithSprite(kAnimation, [&](CScriptSprite&) {
        // The first update after a start only resets the clock; 10 frames a second.
        EXPECT_EQ("true,1", Lua("spr:Update(0) spr:Update(0.15) return spr:IsPlaying(), spr:CurrentFrameNumber()"));
        EXPECT_EQ("false,1", Lua("spr:Stop() spr:Update(0.5) return spr:IsPlaying(), spr:CurrentFrameNumber()"));
        EXPECT_EQ("true,0", Lua("spr:Play() return spr:IsPlaying(), spr:CurrentFrameNumber()"));
        EXPECT_EQ("true,0",
                  Lua("spr:SwitchToFrame(3) spr:SetLoop(true) return spr:IsPlaying(), spr:CurrentFrameNumber()"));
        // Looping: 0 1 2 3 0.
        EXPECT_EQ("0", Lua("spr:Update(0) for i = 1, 4 do spr:Update(0.1001) end return spr:CurrentFrameNumber()"));
        // Once: runs to the last frame and stops there.
        EXPECT_EQ("false,3", Lua("spr:SetLoop(false) spr:Play() spr:Update(0) for i = 1, 6 do spr:Update(0.1001) end "
                                 "return spr:IsPlaying(), spr:CurrentFrameNumber()"));
        EXPECT_EQ("false,0",
                  Lua("spr:SwitchToFrame(2) spr:SetLoop(true) return spr:IsPlaying(), spr:CurrentFrameNumber()"));
    });
}

TEST_F(CScriptSpriteTest, AHiddenAnimationDoesNotAdvance) {
    WithSprite(kAnimation, [&](CScriptSprite&) {
        EXPECT_EQ("0", Lua("spr:Hide() spr:Update(0) spr:Update(0.35) return spr:CurrentFrameNumber()"));
        EXPECT_EQ("3", Lua("spr:Show() spr:Update(0) spr:Update(0.35) return spr:CurrentFrameNumber()"));
    });
}

TEST_F(CScriptSpriteTest, APlainSpriteHasNoAnimation) {
    WithSprite(kPlain, [&](CScriptSprite&) {
        EXPECT_EQ("false,0", Lua("spr:Play() spr:Update(1) return spr:IsPlaying(), spr:CurrentFrameNumber()"));
        EXPECT_EQ("", Lua("spr:Stop() spr:SetLoop(true)"));
        // "SetLoop" reads its argument all the same.
        EXPECT_EQ("error: lua_isboolean(luaVM,idx)", Lua("spr:SetLoop()"));
    });
}

TEST_F(CScriptSpriteTest, SetRectWithFourAndFiveArguments) {
    struct Case {
        const SpriteSetup& sprite;
        const char* code;
        float width, height;  // of the quad drawn after it
    };
    const Case cases[] = {
        {kPlain, "spr:SetRect(64, 0, 8, 4)", 8, 4},
        {kPlain, "spr:SetRect(64, 0, 8, 4, true)", 8, 4},
        {kPlain, "spr:SetRect(64, 0, 8, 4, false)", 32, 16},
        {kAnimation, "spr:SetRect(64, 0, 8, 4, false)", 8, 4},
    };
    for (const Case& c : cases) {
        WithSprite(c.sprite, [&](CScriptSprite&) {
            EXPECT_EQ("", Lua(std::string(c.code) + " spr:Render(0, 0)")) << c.code;
            const gfxQuad& q = engine->Quads().back();
            EXPECT_FLOAT_EQ(c.width, q.v[2].x - q.v[0].x) << c.code;
            EXPECT_FLOAT_EQ(c.height, q.v[2].y - q.v[0].y) << c.code;
            EXPECT_FLOAT_EQ(64.0f / 128.0f, q.v[0].tx) << c.code;
            EXPECT_EQ("32,16", Lua("return spr:Size()")) << c.code;
        });
    }
    WithSprite(kPlain, [&](CScriptSprite&) {
        EXPECT_EQ("error: lua_isboolean(luaVM,idx)", Lua("spr:SetRect(0, 0, 8, 4, 1)"));
    });
}

TEST_F(CScriptSpriteTest, EachFlipPassesItsOwnToggle) {
    struct Case {
        const char* code;
        bool x, y;
    };
    const Case cases[] = {
        {"spr:FlipHorizontal()", true, false},
        {"spr:FlipHorizontal() spr:FlipHorizontal()", false, false},
        {"spr:FlipVertical() spr:FlipHorizontal()", true, false},
        // The vertical toggle goes back to false and passes it, both axes unflipped.
        {"spr:FlipVertical() spr:FlipHorizontal() spr:FlipVertical()", false, false},
        {"spr:FlipVertical() spr:FlipHorizontal() spr:FlipVertical() spr:FlipHorizontal()", false, false},
        {"spr:FlipHV()", true, true},
        {"spr:FlipHV() spr:FlipHV()", false, false},
        {"spr:FlipHorizontal() spr:FlipHV()", true, true},
    };
    for (const Case& c : cases) {
        WithSprite(kPlain, [&](CScriptSprite& sprite) {
            Lua(c.code);
            EXPECT_EQ(c.x, sprite.GetDrawable()->bXFlip) << c.code;
            EXPECT_EQ(c.y, sprite.GetDrawable()->bYFlip) << c.code;
        });
    }
}

TEST_F(CScriptSpriteTest, OpacityToleranceValues) {
    // Texels (1, 0), (2, 0), (3, 0) have alpha 0, 0x80 and 0xFF.
    struct Case {
        const char* setup;
        const char* hits;
    };
    const Case cases[] = {
        {"", "true,true,true"},
        {"spr:CreateOpacityMap(0)", "false,true,true"},
        {"spr:CreateOpacityMap(-5)", "false,true,true"},
        {"spr:CreateOpacityMap(1)", "false,true,true"},
        {"spr:CreateOpacityMap(128)", "false,true,true"},
        {"spr:CreateOpacityMap(129)", "false,false,true"},
        {"spr:CreateOpacityMap(255)", "false,false,true"},
        {"spr:CreateOpacityMap(256)", "true,true,true"},
        {"spr:CreateOpacityMap(257)", "false,true,true"},
        {"spr:CreateOpacityMap(511)", "false,false,true"},
    };
    for (const Case& c : cases) {
        WithSprite(kPlain, [&](CScriptSprite&) {
            const std::string code =
                std::string(c.setup) +
                " spr:SetPosition(100, 50) return "
                "spr:UnderPosition(101, 50), spr:UnderPosition(102, 50), spr:UnderPosition(103, 50)";
            EXPECT_EQ(c.hits, Lua(code)) << c.setup;
        });
    }
    // One read-only lock of the image's width and the sprite's height.
    WithSprite(kPlain, [&](CScriptSprite& sprite) {
        Lua("spr:CreateOpacityMap(1)");
        const std::string texture = std::to_string(sprite.GetDrawable()->GetTexture());
        EXPECT_EQ(std::vector<std::string>{"Texture_Lock(" + texture + ",true,0,0,128,16)"},
                  engine->Calls("Texture_Lock"));
        EXPECT_EQ(1, engine->Count("Texture_Unlock"));
    });
}

TEST_F(CScriptSpriteTest, HitTestMapColumnFollowsTheFrameAndIsClamped) {
    // Row 0 is transparent at columns 69 and 127; (127, 4) and (22, 1) are too.
    struct Case {
        const SpriteSetup& sprite;
        const char* setup;
        int x, y;
        bool hit;
    };
    const SpriteSetup wide = {false, 200, 16, 1, kStrip};
    const SpriteSetup noFrameWidth = {true, 0, 16, 4, kStrip};
    const Case cases[] = {
        {kAnimation, "spr:SwitchToFrame(2)", 105, 50, false},  // column 64 + 5
        {kAnimation, "spr:SwitchToFrame(0)", 105, 50, true},
        {kAnimation, "spr:SwitchToFrame(2)", 105, 51, true},
        // Scaled up: 40 + 3 x 32 lies past the frames and is clamped to 127.
        {kAnimation, "spr:SwitchToFrame(3) spr:RenderEx(100, 50, 0, 2)", 140, 50, false},
        {kAnimation, "spr:SwitchToFrame(3) spr:RenderEx(100, 50, 0, 2)", 130, 50, true},
        // Offsets outside the map keep the box's answer.
        {kPlain, "spr:RenderEx(100, 50, 0, 2)", 110, 75, true},
        {kPlain, "spr:SetHotSpot(16, 8)", 90, 45, true},
        {wide, "", 250, 50, true},
        // No frame width: the clamp gives column -1, which is outside the map.
        {noFrameWidth, "spr:RenderEx(100, 50, -math.pi / 4, 1)", 105, 55, true},
    };
    for (const Case& c : cases) {
        WithSprite(c.sprite, [&](CScriptSprite& sprite) {
            Lua("spr:SetPosition(100, 50)");
            Lua(c.setup);
            Lua("spr:CreateOpacityMap(1)");
            ASSERT_TRUE(sprite.HasOpacityMap()) << c.setup;
            EXPECT_EQ(c.hit, sprite.HitTest(c.x, c.y)) << c.setup << " at " << c.x << "," << c.y;
        });
    }
}

TEST_F(CScriptSpriteTest, NoOpacityMapFromAFailedLock) {
    struct Case {
        const char* what;
        SpriteSetup sprite;
        bool lockFirst;  // the texture is locked elsewhere when the map is built
        bool mapBefore;  // a map built before the failing one
    };
    const Case cases[] = {
        {"texture 0", {false, 32, 16, 1, nullptr}, false, false},
        {"taller than the texture", {false, 32, 20, 1, kStrip}, false, false},
        {"texture already locked", kPlain, true, false},
        {"a failed rebuild drops the old map", kPlain, true, true},
    };
    for (const Case& c : cases) {
        WithSprite(c.sprite, [&](CScriptSprite& sprite) {
            if (c.mapBefore) Lua("spr:CreateOpacityMap(1)");
            if (c.lockFirst) engine->FindTexture(sprite.GetDrawable()->GetTexture())->locked = true;
            EXPECT_EQ("true", Lua("spr:CreateOpacityMap(1) spr:SetPosition(100, 50) return spr:UnderPosition(101, 50)"))
                << c.what;
            EXPECT_FALSE(sprite.HasOpacityMap()) << c.what;
        });
    }
}

TEST_F(CScriptSpriteTest, ClickedNeedsAVisibleEnabledHitAndARelease) {
    enum Emulation { kOff, kEmulatedUp, kEmulatedNone };
    struct Case {
        const char* setup;
        float mouseX, mouseY;
        bool up;
        Emulation emulation;
        bool clicked;
    };
    const Case cases[] = {
        {"", 110.9f, 55, true, kOff, true},
        {"", 110, 55, false, kOff, false},
        {"", 10, 10, true, kOff, false},
        {"spr:Hide()", 110, 55, true, kOff, false},
        {"spr:Disable()", 110, 55, true, kOff, false},
        {"", 110, 55, false, kEmulatedUp, true},
        {"", 110, 55, true, kEmulatedNone, false},
        {"spr:Disable()", 110, 55, false, kEmulatedUp, false},
        {"spr:CreateOpacityMap(1)", 101, 50, true, kOff, false},
        {"spr:CreateOpacityMap(1)", 104, 50, true, kOff, true},
    };
    for (const Case& c : cases) {
        RecordedInput input;
        input.mouseX = c.mouseX;
        input.mouseY = c.mouseY;
        if (c.up) input.up.insert(GFXK_LBUTTON);
        g_bClickEmulation = c.emulation != kOff;
        g_bEmulatedClick = c.emulation == kEmulatedUp;
        WithSprite(kPlain, [&](CScriptSprite&) {
            engine->SetInput(input);
            const std::string code = std::string(c.setup) + " spr:SetPosition(100, 50) return spr:Clicked()";
            EXPECT_EQ(c.clicked ? "true" : "false", Lua(code)) << c.setup << " " << c.mouseX << " up " << c.up;
        });
    }
}

TEST_F(CScriptSpriteTest, DeleteThroughItsOwnTableReturnsSafely) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* screen, lua_State* L) {
        const HTEXTURE texture = s->GetResourceCache()->GetTexture(kStrip, false);
        auto* sprite = new CScriptSprite(s, screen, texture, true, 32, 16, 0, 0, 4, 10);
        sprite->Bind(L);
        lua_setglobal(L, "spr");
        engine->ClearLog();
        // The screen's DeleteSprite destroys it; the rest of the chunk still runs.
        EXPECT_EQ("after,0", LuaEval(L, "spr:Delete() local n = select('#', spr:Size()) return 'after', n"));
        EXPECT_EQ("", LuaEval(L, "spr:Render(1, 2) spr:Delete() return spr:IsVisible()"));
        EXPECT_EQ("nil", LuaEval(L, "spr.Foo = 1 return spr.Foo"));
        EXPECT_TRUE(engine->Quads().empty());
    });
}

}  // namespace
