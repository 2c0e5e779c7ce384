// The screen and scene host functions.
#include "tests/script/HostScriptFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class HostScreenFunctionsTest : public HostScriptFixture {
protected:
    // Runs main.lua with a cursor on a 16 x 16 image and an overlay that asks
    // for the frame rate when it draws, so both show in the call log.
    void RunWithCursor(const std::string& body) {
        engine->AddFile("scripts/debug.lua", "function Init(t) T = t end function Render() T:GetFPS() end");
        engine->AddFile("scripts/main.lua", Script(body));
        CScriptRenderer main("scripts\\main.lua", nullptr);
        RunScreenWithCursor(main, 1);
    }

    const std::set<std::string> kSceneCalls = {"Gfx_BeginScene", "Gfx_Clear", "Gfx_RenderQuad", "Timer_GetFPS",
                                               "Gfx_EndScene"};
};

TEST_F(HostScreenFunctionsTest, ScreenResolutionIsTheConfiguredSize) {
    EXPECT_EQ(Run("function Init(h) print(h:GetScreenResolution()) end"), "800\t600\n");
}

TEST_F(HostScreenFunctionsTest, ClippingTakesNoneOrTheLastFourNumbers) {
    const std::string out =
        Run("function Update(dt)\n"
            "  Host:SetClipping()\n"
            "  Host:SetClipping(10, 20, 300, 200.9)\n"
            "  Host:SetClipping('surplus', 10, 20, 300, 200)\n"
            "  Host:SetClipping(-1.9, 0/0, 1/0, 1e300)\n"
            "  print(ErrorOf('SetClipping', 5))\n"
            "  print(ErrorOf('SetClipping', 1, 2, 'three', 4))\n"
            "end\n");
    EXPECT_EQ(out, "lua_isnumber(luaVM,idx)\nlua_isnumber(luaVM,idx)\n");
    EXPECT_EQ(LoopCalls({"Gfx_SetClipping"}),
              (std::vector<std::string>{"Gfx_SetClipping(0,0,0,0)", "Gfx_SetClipping(10,20,300,200)",
                                        "Gfx_SetClipping(10,20,300,200)", "Gfx_SetClipping(-1,0,0,0)"}));
}

TEST_F(HostScreenFunctionsTest, ClearFullScreenAndSystemCursorPassTheirValuesOn) {
    const std::string out =
        Run("local bad = {\n"
            "  {'ClearScreen', 'red'}, {'SetFullScreen', nil}, {'SetFullScreen', 1},\n"
            "  {'ShowSystemCursor', 'yes'}, {'SetAutoRenderingMode', 0}, {'SetDebugFontColor', {}},\n"
            "}\n"
            "function Update(dt)\n"
            "  Host:ClearScreen(0xFF112233)\n"
            "  Host:ClearScreen(4294967295)\n"
            "  Host:ClearScreen(-1)\n"
            "  Host:SetFullScreen(true)\n"
            "  Host:SetFullScreen(false)\n"
            "  Host:ShowSystemCursor(false)\n"
            "  Host:ShowSystemCursor(true)\n"
            "  for _, c in ipairs(bad) do print(c[1], ErrorOf(c[1], c[2])) end\n"
            "end\n");
    EXPECT_EQ(out,
              "ClearScreen\tlua_isnumber(luaVM,idx)\n"
              "SetFullScreen\tlua_isboolean(luaVM,idx)\n"
              "SetFullScreen\tlua_isboolean(luaVM,idx)\n"
              "ShowSystemCursor\tlua_isboolean(luaVM,idx)\n"
              "SetAutoRenderingMode\tlua_isboolean(luaVM,idx)\n"
              "SetDebugFontColor\tlua_isnumber(luaVM,idx)\n");
    EXPECT_EQ(
        LoopCalls({"Gfx_Clear", "System_SetState"}),
        (std::vector<std::string>{"Gfx_Clear(0xFF112233)", "Gfx_Clear(0xFFFFFFFF)", "Gfx_Clear(0xFFFFFFFF)",
                                  "System_SetState(GFX_WINDOWED,false)", "System_SetState(GFX_WINDOWED,true)",
                                  "System_SetState(GFX_HIDEMOUSE,true)", "System_SetState(GFX_HIDEMOUSE,false)"}));
}

TEST_F(HostScreenFunctionsTest, SceneFunctionsDoNothingWhileRenderingIsAutomatic) {
    RunWithCursor("function Render(x, y) Host:BeginScene() Host:ClearScreen(0xFF000000) Host:EndScene() end");
    // The render callback's scene: the cursor, then the overlay above it.
    const std::vector<std::string> calls = LoopCalls(kSceneCalls);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0], "Gfx_BeginScene(0)");
    EXPECT_EQ(calls[1], "Gfx_Clear(0xFF000000)");
    EXPECT_EQ(calls[2].rfind("Gfx_RenderQuad(", 0), 0u);
    EXPECT_EQ(calls[3], "Timer_GetFPS()");
    EXPECT_EQ(calls[4], "Gfx_EndScene()");
}

TEST_F(HostScreenFunctionsTest, WithoutAutomaticRenderingTheScriptBeginsAndEndsTheScene) {
    RunWithCursor(
        "function Init(h) Host = h Host:SetAutoRenderingMode(false) end\n"
        "function Render(x, y)\n"
        "  Host:BeginScene() Host:BeginScene()\n"
        "  Host:ClearScreen(0xFF000000)\n"
        "  Host:EndScene()\n"
        "end\n");
    // One scene only, and the cursor drawn above the overlay.
    const std::vector<std::string> calls = LoopCalls(kSceneCalls);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0], "Gfx_BeginScene(0)");
    EXPECT_EQ(calls[1], "Gfx_Clear(0xFF000000)");
    EXPECT_EQ(calls[2], "Timer_GetFPS()");
    EXPECT_EQ(calls[3].rfind("Gfx_RenderQuad(", 0), 0u);
    EXPECT_EQ(calls[4], "Gfx_EndScene()");
}

TEST_F(HostScreenFunctionsTest, WithoutAutomaticRenderingNothingDrawsTheSceneForTheScript) {
    RunWithCursor("function Init(h) Host = h Host:SetAutoRenderingMode(false) end");
    EXPECT_TRUE(LoopCalls(kSceneCalls).empty());
}

TEST_F(HostScreenFunctionsTest, DebugFontColourReachesTheOverlayOnceItExists) {
    engine->AddFile("images/font2.fnt", "[GFXFONT]\nBitmap = font2.png\nChar = 41, 0, 0, 8, 8, 0, 0\n");
    engine->AddImage("images/font2.png", 16, 16);
    engine->AddFile("scripts/debug.lua", "function Init(t) T = t end function Render() T:DrawString('A') end");
    // The call in "Init" comes before the overlay is made and changes nothing.
    Run("function Init(h) Host = h Host:SetDebugFontColor(0xFFFF0000) end\n"
        "frame = 0\n"
        "function Update(dt) frame = frame + 1 if frame == 2 then Host:SetDebugFontColor(0xFF00FF00) end end\n",
        2);
    ASSERT_EQ(engine->Quads().size(), 2u);
    EXPECT_EQ(engine->Quads()[0].v[0].col, 0xFFFFFFFFu);
    EXPECT_EQ(engine->Quads()[1].v[0].col, 0xFF00FF00u);
}

}  // namespace
