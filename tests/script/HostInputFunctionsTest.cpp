// The mouse and keyboard host functions and the process-wide click emulation.
#include "tests/script/HostScriptFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class HostInputFunctionsTest : public HostScriptFixture {};

TEST_F(HostInputFunctionsTest, QueriesReportTheFramesInput) {
    RecordedInput input;
    input.mouseX = 12.5f;
    input.mouseY = 7.25f;
    input.held = {GFXK_LBUTTON, GFXK_A};
    input.up = {GFXK_ESCAPE, GFXK_ENTER, GFXK_LBUTTON};
    input.key = GFXK_A;
    input.chr = 'a';
    engine->QueueInput(input);
    const std::string out =
        Run("function Update(dt)\n"
            "  local x, y = Host:MousePos()\n"
            "  print(x, y, Host:LeftMousePressed(), Host:EscapePressed(), Host:EnterPressed(),\n"
            "        Host:LeftMouseClicked(), Host:GetLastPressedKey(), Host:GetLastPressedChar(),\n"
            "        Host:IsKeyPressed(65), Host:IsKeyPressed(66))\n"
            "end\n",
            2);
    EXPECT_EQ(out,
              "12.5\t7.25\ttrue\ttrue\ttrue\ttrue\t65\t97\ttrue\tfalse\n"
              "0\t0\tfalse\tfalse\tfalse\tfalse\t0\t0\tfalse\tfalse\n");
}

TEST_F(HostInputFunctionsTest, KeyCodesOutsideTheKeyRangeAreNeverPressed) {
    RecordedInput input;
    input.held = {0, GFXK_A, 255};
    engine->QueueInput(input);
    const std::string out =
        Run("local codes = {-1, 256, 4294967361, 0/0, 1/0, -1/0, 1e300, -2147483648,\n"
            "               -0.5, 65.9, '65', 255.5}\n"
            "function Update(dt)\n"
            "  local seen = {}\n"
            "  for i, code in ipairs(codes) do seen[i] = tostring(Host:IsKeyPressed(code)) end\n"
            "  print(table.concat(seen, ' '))\n"
            "  print(ErrorOf('IsKeyPressed', true))\n"
            "end\n");
    EXPECT_EQ(out,
              "false false false false false false false false true true true true\n"
              "lua_isnumber(luaVM,idx)\n");
}

TEST_F(HostInputFunctionsTest, ClickEmulationHoldsAcrossFramesAndScreensUntilReset) {
    for (bool up : {true, true, false, false, true, false}) engine->QueueInput(up ? LeftButtonUp() : RecordedInput());
    Serve("b",
          "frame = 3\n"
          "function Update(dt)\n"
          "  frame = frame + 1\n"
          "  print(frame, Host:LeftMouseClicked())\n"
          "  if frame == 4 then Host:ResetLeftMouseClickedEmulation() end\n"
          "end\n");
    const std::string out = Run(
        "function Init(h) Host = h Host:RegisterRenderer('b', 'scripts/b.lua') end\n"
        "frame = 0\n"
        "function Update(dt)\n"
        "  frame = frame + 1\n"
        "  print(frame, Host:LeftMouseClicked())\n"
        "  if frame == 1 then print(ErrorOf('EmulateLeftMouseClicked', 0)) Host:EmulateLeftMouseClicked(false) end\n"
        "  if frame == 2 then Host:EmulateLeftMouseClicked(true) end\n"
        "  if frame == 3 then Host:SwitchToRenderer('b') end\n"
        "end\n",
        6);
    // Frame 2: the button goes up but the emulated value wins; frame 5: real input again.
    EXPECT_EQ(out, "1\ttrue\nlua_isboolean(luaVM,idx)\n2\tfalse\n3\ttrue\n4\ttrue\n5\ttrue\n6\tfalse\n");
    EXPECT_FALSE(g_bClickEmulation);
    EXPECT_TRUE(g_bEmulatedClick);
}

}  // namespace
