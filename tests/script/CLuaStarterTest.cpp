#include "script/CLuaStarter.h"

#include "os/Folders.h"
#include "script/CScriptFailure.h"

#include "tests/script/LuaEval.h"
#include "tests/support/CapturedOutput.h"
#include "tests/support/HostFixture.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct EvalCase {
    const char* code;
    const char* expected;
};

TEST(CLuaStarterGlobalsTest, BitorOrsItsArgumentsAs32BitIntegers) {
    CLuaStarter lua(true);
    const EvalCase cases[] = {
        {"return bitor()", "0"},
        {"return bitor(1.9, 2), bitor('12', 3), bitor(1, 2, 4, 8)", "3,15,15"},
        {"return bitor(0xFF000000, 0xFF)", "-16776961"},
        {"return bitor(4294967296), bitor(4294967297), bitor(-1)", "0,1,-1"},
        {"return bitor(0/0, 1/0, 2^70, 6)", "6"},
        {"return pcall(bitor, 1, true)", "false,lua_isnumber(luaVM,idx)"},
    };
    for (const EvalCase& c : cases) EXPECT_EQ(LuaEval(lua.GetState(), c.code), c.expected) << c.code;
}

TEST(CLuaStarterGlobalsTest, StatesHaveTheLibrariesOnRequestAndTheHostGlobalsAlways) {
    CLuaStarter full(true);
    EXPECT_EQ(LuaEval(full.GetState(),
                      "return type(preload), type(bitor), type(string), type(io), type(os), type(debug), "
                      "type(package), type(coroutine)"),
              "function,function,table,table,table,table,table,table");
    CLuaStarter bare(false);
    lua_State* L = bare.GetState();
    for (const char* name : {"preload", "bitor", "string", "print"}) lua_getglobal(L, name);
    EXPECT_TRUE(lua_iscfunction(L, 1) && lua_iscfunction(L, 2));
    EXPECT_TRUE(lua_isnil(L, 3) && lua_isnil(L, 4));
}

// A host call whose C++ code fails.
int ThrowsBadAlloc(lua_State*) { throw std::bad_alloc(); }

// A script's own protected calls see a C++ exception out of a host call as
// Lua's lack of memory; everything else about them is as the library has it.
TEST(CLuaStarterGlobalsTest, ProtectedCallsTakeAnExceptionAsLackOfMemory) {
    CLuaStarter lua(true);
    lua_State* L = lua.GetState();
    lua_register(L, "Throws", ThrowsBadAlloc);
    const EvalCase cases[] = {
        {"return pcall(Throws)", "false,not enough memory"},
        {"return xpcall(Throws, function(m) return 'handled' end)", "false,not enough memory"},
        {"co = coroutine.create(function() Throws() end) return coroutine.resume(co)", "false,not enough memory"},
        {"return coroutine.status(co), coroutine.resume(co)", "dead,false,cannot resume dead coroutine"},
        {"return pcall(coroutine.wrap(function() Throws() end))", "false,not enough memory"},
    };
    for (const EvalCase& c : cases) EXPECT_EQ(LuaEval(L, c.code), c.expected) << c.code;

    lua_State* library = luaL_newstate();
    luaL_openlibs(library);
    for (const char* code : {
             "return pcall(error, 'plain', 0)",
             "return pcall(function(...) return ... end, 1, nil, 3)",
             "return xpcall(function() error('x') end, function(m) return 'handled ' .. m end)",
             "return xpcall(function() return 1, 2 end, print)",
             "return pcall(xpcall, print)",
             "return pcall(pcall)",
             "return pcall(error)",
             "gen = coroutine.wrap(function(a) local b = coroutine.yield(a + 1) return b * 2 end) return gen(1), "
             "gen(5)",
             "return pcall(gen)",
             "return pcall(coroutine.wrap(function() error('inner') end))",
             "local ok, e = pcall(coroutine.wrap(function() error({}) end)) return ok, type(e)",
             "local ok, e = pcall(coroutine.wrap(function() error('inner') end)) return e",
             "co = coroutine.create(function(a) return a, coroutine.yield(a) end) "
             "return coroutine.resume(co, 1), coroutine.resume(co, 2), coroutine.resume(co)",
             "return coroutine.resume(coroutine.running() or coroutine.create(print))",
             "return pcall(coroutine.resume, 5)",
             "return pcall(coroutine.wrap, print)",
         })
        EXPECT_EQ(LuaEval(L, code), LuaEval(library, code)) << code;
    lua_close(library);
}

TEST(CLuaStarterGlobalsTest, CloseRunsOnceAndClearsTheState) {
    CLuaStarter lua(true);
    lua.Close();
    EXPECT_EQ(lua.GetState(), nullptr);
    lua.Close();
    lua.RunFile("scripts/a.lua");
}

// Files are served by the recording engine; the starter's engine is live only
// inside a frame of the host's loop. Gtest reports on standard output, which
// the frame captures, so results are gathered there and checked afterwards.
class CLuaStarterTest : public HostFixture {
protected:
    // Runs the files, then each snippet, in a fresh state inside a live frame.
    std::vector<std::string> InFrame(const std::vector<const char*>& files, const std::vector<std::string>& snippets) {
        std::vector<std::string> results;
        RunInFrame([&](CGFXStarter*, CGFXFuncHelperBase*, lua_State*) {
            engine->ClearLog();
            CLuaStarter lua(true);
            for (const char* file : files) lua.RunFile(file);
            topAfterFiles = lua_gettop(lua.GetState());
            for (const std::string& snippet : snippets) results.push_back(LuaEval(lua.GetState(), snippet));
            loads = engine->Calls("Resource_Load");
        });
        EXPECT_EQ(engine->LeftAtShutdown().resources, 0);
        return results;
    }

    int topAfterFiles = -1;
    std::vector<std::string> loads;
};

using Texts = std::vector<std::string>;

TEST_F(CLuaStarterTest, RunFileRunsTheFileAsTheMainChunkUnderItsName) {
    engine->AddFile("scripts/a.lua", "x = 1\nfunction Fail() error('bad') end\ny = nil + 1\nz = 3\nreturn 1, 2");
    engine->AddFile("scripts/syntax.lua", "w = = 1");
    EXPECT_EQ(InFrame({"\\scripts\\a.lua", "scripts/syntax.lua", "scripts/missing.lua"},
                      {"return x, z, w, select(2, pcall(Fail))"}),
              Texts{"1,nil,nil,[string \"\\scripts\\a.lua\"]:2: bad"});
    EXPECT_EQ(topAfterFiles, 0);
    EXPECT_EQ(loads, (Texts{"Resource_Load(\\scripts\\a.lua)", "Resource_Load(scripts/syntax.lua)",
                            "Resource_Load(scripts/missing.lua)"}));
}

// Each cause is told on standard error and in the log at once, and the
// first one is kept for the state.
TEST_F(CLuaStarterTest, RunFileRecordsWhyAFileDidNotRunWhole) {
    engine->AddFile("scripts/syntax.lua", "x = 1\ny = = 2");
    engine->AddFile("scripts/raises.lua", "Init = true\nerror('top level')");
    engine->AddFile("scripts/table.lua", "error({})");
    engine->AddFile("scripts/uses.lua", "preload('broken')");
    engine->AddFile("broken.lua", "x = = 1");
    engine->AddFile("scripts/fine.lua", "x = 1");
    engine->AddFile("scripts/empty.lua", "");
    const std::string unreadable = "in /g/game.pak but cannot be read: CRC error";
    engine->AddUnreadableFile("scripts/unreadable.lua", unreadable);
    const std::string folder = os::ProgramFolder();
    const std::string brokenModule = "[string \"broken.lua\"]:1: unexpected symbol near '='";
    const struct {
        const char* file;
        bool packMissing;
        std::string kept;
        Texts told;
    } cases[] = {
        {"scripts\\missing.lua", false, "scripts\\missing.lua: not found in game.pak nor in " + folder, {}},
        {"scripts\\missing.lua",
         true,
         "scripts\\missing.lua: not found in " + folder + " (game.pak could not be opened: not found)",
         {}},
        {"scripts\\unreadable.lua", false, "scripts\\unreadable.lua: " + unreadable, {}},
        {"scripts/syntax.lua", false, "[string \"scripts/syntax.lua\"]:2: unexpected symbol near '='", {}},
        {"scripts/raises.lua", false, "[string \"scripts/raises.lua\"]:2: top level", {}},
        {"scripts/table.lua", false, "scripts/table.lua: (error object is a table value)", {}},
        {"scripts/uses.lua", false, brokenModule, {brokenModule, "attempt to call a string value"}},
        {"scripts/fine.lua", false, "", {}},
        {"scripts/empty.lua", false, "", {}},
    };
    for (const auto& c : cases) {
        engine->failAttachPack = c.packMissing;
        std::string kept, told;
        Texts logged;
        RunInFrame([&](CGFXStarter*, CGFXFuncHelperBase*, lua_State*) {
            engine->ClearLog();
            CapturedOutput captured(STDERR_FILENO);
            CLuaStarter lua(true);
            lua.RunFile(c.file);
            told = captured.Take();
            kept = CScriptFailure::Kept(lua.GetState());
            logged = engine->Calls("System_Log");
        });
        const Texts lines = c.told.empty() && !c.kept.empty() ? Texts{c.kept} : c.told;
        std::string expectedTold;
        Texts expectedLogged;
        for (const std::string& line : lines) {
            expectedTold += "script: " + line + "\n";
            expectedLogged.push_back("System_Log(script: " + line + ")");
        }
        EXPECT_EQ(kept, c.kept) << c.file;
        EXPECT_EQ(told, expectedTold) << c.file;
        EXPECT_EQ(logged, expectedLogged) << c.file;
    }
}

TEST_F(CLuaStarterTest, RunFileWithoutARunningEngineRunsNothing) {
    engine->AddFile("scripts/a.lua", "x = 1");
    CLuaStarter lua(true);
    lua.RunFile("scripts/a.lua");
    EXPECT_EQ(LuaEval(lua.GetState(), "return x"), "nil");
}

TEST_F(CLuaStarterTest, PreloadRunsTheModuleOnEveryCallAndMarksItLoaded) {
    engine->AddFile("mod.lua", "count = (count or 0) + 1 names = (names or '') .. ... return {}");
    engine->AddFile("5.lua", "five = ...");
    EXPECT_EQ(InFrame({}, {"return select('#', preload('mod')), select('#', preload('mod', {}))",
                           "return count, names, package.loaded.mod, require('mod')",
                           "preload(5) return five, package.loaded['5']"}),
              (Texts{"0,0", "2,modmod,true,true", "5,true"}));
    EXPECT_EQ(loads, (Texts{"Resource_Load(mod.lua)", "Resource_Load(mod.lua)", "Resource_Load(5.lua)"}));
}

TEST_F(CLuaStarterTest, PreloadOfNothingUsableDoesNothing) {
    engine->AddFile("empty.lua", "");
    EXPECT_EQ(InFrame({}, {"return select('#', preload()), select('#', preload({})), select('#', preload(true)), "
                           "select('#', preload('missing')), select('#', preload('empty'))",
                           "return package.loaded.missing, package.loaded.empty"}),
              (Texts{"0,0,0,0,0", "nil,nil"}));
    EXPECT_EQ(loads, (Texts{"Resource_Load(missing.lua)", "Resource_Load(empty.lua)"}));
}

TEST_F(CLuaStarterTest, PreloadPassesTheModulesErrorsOnAndFreesItsBuffer) {
    engine->AddFile("bad.lua", "partial = true\nerror({code = 7})");
    engine->AddFile("texty.lua", "error('boom')");
    engine->AddFile("broken.lua", "x = = 1");
    EXPECT_EQ(InFrame({}, {"local ok, e = pcall(preload, 'bad') return ok, e.code, partial, package.loaded.bad",
                           "return pcall(preload, 'texty')",
                           "local ok, e = pcall(preload, 'broken') return ok, e, package.loaded.broken",
                           // Not caught by the script: the buffer is still freed.
                           "preload('texty')"}),
              (Texts{"false,7,true,nil", "false,[string \"texty.lua\"]:1: boom",
                     "false,attempt to call a string value,nil", "error: [string \"texty.lua\"]:1: boom"}));
}

// The module runs unprotected: a message handler of the caller's xpcall
// still sees the module's frames.
TEST_F(CLuaStarterTest, PreloadErrorsReachTheCallersHandlerWithTheModulesFrames) {
    engine->AddFile("deep.lua", "local function fail() error('deep') end\nfail()");
    EXPECT_EQ(InFrame({}, {"local where\n"
                           "local ok = xpcall(function() preload('deep') end, function(m)\n"
                           "  where = debug.getinfo(3, 'S').source .. '|' .. debug.getinfo(4, 'S').source\n"
                           "  return m end)\n"
                           "return ok, where"}),
              Texts{"false,deep.lua|deep.lua"});
}

}  // namespace
