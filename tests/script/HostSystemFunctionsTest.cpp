// The sound, timing, intersection and debug-output host functions.
#include "tests/script/HostScriptFixture.h"
#include "tests/support/CapturedOutput.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace {

class HostSystemFunctionsTest : public HostScriptFixture {};

TEST_F(HostSystemFunctionsTest, SoundVolumeIsClampedAndSetForEffectsMusicAndStreams) {
    const std::string out =
        Run("function Update(dt)\n"
            "  for _, v in ipairs({150, -5, 57.9, 0/0, 1e300}) do Host:SetSoundVolume(v) end\n"
            "  print(ErrorOf('SetSoundVolume', 'loud'))\n"
            "end\n");
    EXPECT_EQ(out, "lua_isnumber(luaVM,idx)\n");
    std::vector<std::string> expected;
    for (int volume : {100, 0, 57, 0, 0})
        for (const char* state : {"GFX_FXVOLUME", "GFX_MUSVOLUME", "GFX_STREAMVOLUME"})
            expected.push_back(std::string("System_SetState(") + state + "," + std::to_string(volume) + ")");
    EXPECT_EQ(LoopCalls({"System_SetState"}), expected);
}

TEST_F(HostSystemFunctionsTest, RectanglesThatOnlyShareAnEdgeDoNotIntersect) {
    const std::string out =
        Run("local cases = {\n"
            "  {0, 0, 10, 10, 10, 0, 10, 10},\n"
            "  {0, 0, 10, 10, 0, 10, 10, 10},\n"
            "  {0, 0, 10, 10, 9.5, 9.5, 10, 10},\n"
            "  {0, 0, 10, 10, 2, 2, 1, 1},\n"
            "  {'surplus', 0, 0, 10, 10, 9.5, 9.5, 10, 10},\n"
            "  {0, 0, 10, 10, 0/0, 0, 10, 10},\n"
            "}\n"
            "function Init(h)\n"
            "  Host = h\n"
            "  local seen = {}\n"
            "  for i, c in ipairs(cases) do seen[i] = tostring(Host:TestIntersection(unpack(c))) end\n"
            "  print(table.concat(seen, ' '))\n"
            "  print(ErrorOf('TestIntersection', 0, 0, 10, 10, 9.5, 9.5, 10))\n"
            "end\n");
    EXPECT_EQ(out, "false false true true true false\nlua_isnumber(luaVM,idx)\n");
}

TEST_F(HostSystemFunctionsTest, FrameRateIsTheEnginesCount) {
    engine->SetFPS(42);
    EXPECT_EQ(Run("function Update(dt) print(Host:GetFPS()) end"), "42\n");
}

TEST_F(HostSystemFunctionsTest, DebugOutputGoesToStandardErrorWithALineBreak) {
    CapturedOutput captured(STDERR_FILENO);
    const std::string out =
        Run("function Init(h)\n"
            "  Host = h\n"
            "  Host:OutputDebugString('hello')\n"
            "  Host:OutputDebugString(12)\n"
            "  print(ErrorOf('OutputDebugString', {}))\n"
            "end\n");
    const std::string errors = captured.Take();
    EXPECT_EQ(out, "lua_isstring(luaVM,idx)\n");
    EXPECT_NE(errors.find("hello\n12\n"), std::string::npos) << errors;
}

TEST_F(HostSystemFunctionsTest, EnableSoundPausesAndResumesEveryChannel) {
    const std::string out =
        Run("function Update(dt)\n"
            "  Host:EnableSound(false)\n"
            "  Host:EnableSound(true)\n"
            "  print(ErrorOf('EnableSound', 1))\n"
            "end\n");
    EXPECT_EQ(out, "lua_isboolean(luaVM,idx)\n");
    EXPECT_EQ(engine->Count("Channel_PauseAll"), 1);
    EXPECT_EQ(engine->Count("Channel_ResumeAll"), 1);
}

}  // namespace
