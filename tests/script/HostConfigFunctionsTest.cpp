#include "tests/support/AllocatedBytes.h"
#include "tests/support/HostFixture.h"

#include <vector>

// Configuration values through the host table, and whole text files.
using HostConfigFunctionsTest = HostFixture;

namespace {
const char* const kStoredConfig =
    "<?xml version=\"1.0\" ?><root>"
    "<string_values><section name=\"player\"><value name=\"name\" data=\"Ada\"/></section></string_values>"
    "<number_values><section name=\"player\"><value name=\"level\" data=\"7\"/></section></number_values>"
    "</root>";

std::vector<long long> g_Allocated;
}  // namespace

TEST_F(HostConfigFunctionsTest, ValuesComeFromTheStoreAndAreSavedAtTheEnd) {
    Restart(kStoredConfig);
    const std::string out = RunMain(
        "function Init(h)\n"
        "  print(h:ConfigGetString('player', 'name'), h:ConfigGetNumber('player', 'level'))\n"
        "  h:ConfigSetString('player', 'level', 'text beside the number')\n"
        "  h:ConfigSetNumber('player', 'level', 8.5)\n"
        "  h:ConfigSetString('video', 'mode', 'window')\n"
        "  print(h:ConfigGetString('player', 'level'), h:ConfigGetNumber('player', 'level'))\n"
        "  print(h:ConfigGetString('player', 'absent') == '', h:ConfigGetNumber('nowhere', 'x'))\n"
        "end\n"
        "function Update(dt) end function Render(x, y) end\n");
    EXPECT_EQ(out,
              "Ada\t7\n"
              "text beside the number\t8.5\n"
              "true\t0\n");
    const std::string saved = SavedConfig();
    EXPECT_NE(saved.find("<value name=\"level\" data=\"text beside the number\" />"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<value name=\"level\" data=\"8.500000\" />"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<value name=\"mode\" data=\"window\" />"), std::string::npos) << saved;
}

TEST_F(HostConfigFunctionsTest, DeleteSectionRemovesTextAndNumberValues) {
    Restart(kStoredConfig);
    const std::string out = RunMain(
        "function Init(h)\n"
        "  h:ConfigSetNumber('video', 'width', 640)\n"
        "  h:ConfigDeleteSection('player')\n"
        "  print(h:ConfigGetString('player', 'name') == '', h:ConfigGetNumber('player', 'level'))\n"
        "  print(h:ConfigGetNumber('video', 'width'))\n"
        "end\n"
        "function Update(dt) end function Render(x, y) end\n");
    EXPECT_EQ(out, "true\t0\n640\n");
    EXPECT_EQ(SavedConfig().find("player"), std::string::npos) << SavedConfig();
}

// Every value is read before anything is stored.
TEST_F(HostConfigFunctionsTest, WrongArgumentsRaiseTheChecksTextAndStoreNothing) {
    const std::string out = RunMain(
        "function Init(h)\n"
        "  print(pcall(h.ConfigSetNumber, h, 's', 'v', 'x'))\n"
        "  print(pcall(h.ConfigSetNumber, h, 's', 1))\n"
        "  print(pcall(h.ConfigSetString, h, 's', 'v'))\n"
        "  print(pcall(h.ConfigGetString, h, 's'))\n"
        "  print(pcall(h.ConfigDeleteSection, h))\n"
        "  print(h:ConfigGetNumber('s', 'v'), h:ConfigGetString('s', 'v') == '')\n"
        "end\n"
        "function Update(dt) end function Render(x, y) end\n");
    EXPECT_EQ(out,
              "false\tlua_isnumber(luaVM,idx)\n"
              "false\tlua_isstring(luaVM,idx)\n"
              "false\tlua_isstring(luaVM,idx)\n"
              "false\tlua_isstring(luaVM,idx)\n"
              "false\tlua_isstring(luaVM,idx)\n"
              "0\ttrue\n");
}

TEST_F(HostConfigFunctionsTest, TextFileDataStopsAtAZeroByteAndIsNilForAMissingFile) {
    engine->AddFile("data/story.txt", std::string("Once upon\0 a time", 17));
    engine->AddFile("data/empty.txt", "");
    const std::string out = RunMain(
        "function Init(h)\n"
        "  print(h:GetTextFileData('data/story.txt'))\n"
        "  print(h:GetTextFileData('DATA\\\\Story.txt'))\n"
        "  print(h:GetTextFileData('data/missing.txt'), select('#', h:GetTextFileData('data/missing.txt')))\n"
        "  print('[' .. h:GetTextFileData('data/empty.txt') .. ']')\n"
        "  print(pcall(h.GetTextFileData, h))\n"
        "end\n"
        "function Update(dt) end function Render(x, y) end\n");
    EXPECT_EQ(out,
              "Once upon\n"
              "Once upon\n"
              "nil\t1\n"
              "[]\n"
              "false\tlua_isstring(luaVM,idx)\n");
    // Every loaded buffer went back to the engine.
    EXPECT_EQ(engine->LeftAtShutdown().resources, 0);
}

// The text goes to the script alone: reading a file every frame, as long as
// the screen lives, takes no more memory.
TEST_F(HostConfigFunctionsTest, ReadingAFileAgainAndAgainKeepsNothing) {
    const long long kFileSize = 1 << 18;
    engine->AddFile("data/big.txt", std::string(kFileSize, 'x'));
    g_Allocated.clear();
    engine->betweenFrames = [](int) { g_Allocated.push_back(AllocatedBytes()); };
    RunMain(
        "function Init(h) Host = h end\n"
        "function Update(dt)\n"
        "  for i = 1, 8 do assert(#Host:GetTextFileData('data/big.txt') == 262144) collectgarbage() end\n"
        "end\n"
        "function Render(x, y) end\n",
        4);
    engine->betweenFrames = nullptr;
    ASSERT_EQ(g_Allocated.size(), 4u);
    // 24 reads after the first frame's.
    EXPECT_LT(g_Allocated.back() - g_Allocated.front(), 4 * kFileSize);
}
