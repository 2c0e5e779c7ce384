#include "script/CLuaFunctionCall.h"

#include "script/ILuaBindableEvents.h"
#include "script/LuaStack.h"
#include "tests/script/LuaEval.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

namespace {

// Reads one number, as a host function's handler does.
int NeedsNumber(lua_State* L) {
    double value = 0;
    LuaPop(L, -1, value);
    return 0;
}

// Calls the global named by its argument, as the host function "CallFunction" does.
int CallByName(lua_State* L) {
    std::string name;
    LuaPop(L, -1, name);
    CLuaFunctionCall call(L, name.c_str());
    call.Call();
    return 0;
}

// A host call whose C++ code fails with what the global Kind names.
int Throws(lua_State* L) {
    lua_getglobal(L, "Kind");
    const std::string kind = lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
    if (kind == "bad_alloc") throw std::bad_alloc();
    if (kind == "length_error") throw std::length_error("vector::reserve");
    throw 42;
}

// An allocator that refuses the first request past its limit, as a full
// machine would, and grants the next ones so the report can be made.
struct Budget {
    size_t used = 0;
    size_t limit = static_cast<size_t>(-1);
    bool refused = false;
    // Once memory ran out, every later growth fails too.
    bool sticky = false;
};

void* TightAlloc(void* ud, void* block, size_t oldSize, size_t newSize) {
    auto* budget = static_cast<Budget*>(ud);
    if (newSize == 0) {
        budget->used -= oldSize;
        std::free(block);
        return nullptr;
    }
    if (budget->refused && budget->sticky && newSize > oldSize) return nullptr;
    if (!budget->refused && newSize > oldSize && budget->used - oldSize + newSize > budget->limit) {
        budget->refused = true;
        return nullptr;
    }
    void* grown = std::realloc(block, newSize);
    if (grown) budget->used = budget->used - oldSize + newSize;
    return grown;
}

class Host final : public ILuaBindableEvents {
public:
    int OnLuaCall(lua_State* L, int, const char*) override {
        LuaPush(L, 7);
        return 1;
    }
    int OnLuaIndex(lua_State*, const char*) override { return 0; }
    int OnLuaNewIndex(lua_State*, const char*) override { return 0; }
};

class CLuaFunctionCallTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("BRINDLEWICK_NO_DIALOG", "1", 1);
        L = luaL_newstate();
        luaL_openlibs(L);
        lua_register(L, "NeedsNumber", NeedsNumber);
        lua_register(L, "CallByName", CallByName);
    }
    void TearDown() override { lua_close(L); }

    void Call(const char* name) {
        CLuaFunctionCall call(L, name);
        call.Call();
    }

    lua_State* L = nullptr;
};

TEST_F(CLuaFunctionCallTest, PassesNumbersAndBoundTablesInOrder) {
    Host host;
    CLuaBinder<Host> binder(L, &host);
    binder.AddMethod("Seven", 1);
    ASSERT_EQ(LuaEval(L, "function Init(a, host, b) got = a .. ' ' .. host:Seven() .. ' ' .. b end"), "");
    const int top = lua_gettop(L);
    CLuaFunctionCall call(L, "Init");
    call.PushNumber(1.5);
    call.PushTable(&binder);
    call.PushNumber(-2);
    EXPECT_TRUE(call.Call());
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_EQ(LuaEval(L, "return got"), "1.5 7 -2");
}

TEST_F(CLuaFunctionCallTest, ATableOfAnotherStateArrivesAsNil) {
    lua_State* other = luaL_newstate();
    Host host;
    CLuaBinder<Host> binder(other, &host);
    ASSERT_EQ(LuaEval(L, "function Init(t) got = type(t) end"), "");
    CLuaFunctionCall call(L, "Init");
    call.PushTable(&binder);
    EXPECT_TRUE(call.Call());
    EXPECT_EQ(lua_gettop(other), 0);
    EXPECT_EQ(LuaEval(L, "return got"), "nil");
    lua_close(other);
}

TEST_F(CLuaFunctionCallTest, AReaderErrorEndsTheProcessWithItsText) {
    ASSERT_EQ(LuaEval(L, "function Update(dt) NeedsNumber({}) end"), "");
    EXPECT_EXIT(Call("Update"), ::testing::ExitedWithCode(2), "^lua_isnumber\\(luaVM,idx\\)");
}

TEST_F(CLuaFunctionCallTest, ScriptErrorsAndMissingFunctionsEndTheProcess) {
    const std::string script = "function Render()\n error('broken ' .. 42)\nend";
    ASSERT_EQ(luaL_loadbuffer(L, script.data(), script.size(), "scripts/game.lua"), 0);
    ASSERT_EQ(lua_pcall(L, 0, 0, 0), 0);
    EXPECT_EXIT(Call("Render"), ::testing::ExitedWithCode(2), "\\[string \"scripts/game.lua\"\\]:2: broken 42");
    EXPECT_EXIT(Call("OnEndModal"), ::testing::ExitedWithCode(2), "attempt to call a nil value");
    ASSERT_EQ(LuaEval(L, "function Init() error({}) end"), "");
    EXPECT_EXIT(Call("Init"), ::testing::ExitedWithCode(2), "^\n?$");
}

// A C++ exception out of a host call ends the game as Lua's own lack of
// memory does: the same text and the same status.
TEST_F(CLuaFunctionCallTest, AnExceptionFromAHostCallEndsAsLuaOwnMemoryError) {
    Budget budget;
    lua_State* tight = lua_newstate(TightAlloc, &budget);
    ASSERT_NE(tight, nullptr);
    ASSERT_EQ(LuaEval(tight, "function Init() local t = {} for i = 1, 1e8 do t[i] = i end end"), "");
    budget.limit = budget.used + 100000;
    EXPECT_EXIT(CLuaFunctionCall(tight, "Init").Call(), ::testing::ExitedWithCode(4), "^not enough memory\n$");
    // The report itself needs no memory of the state.
    budget.sticky = true;
    EXPECT_EXIT(CLuaFunctionCall(tight, "Init").Call(), ::testing::ExitedWithCode(4), "^not enough memory\n$");
    lua_close(tight);

    lua_register(L, "Throws", Throws);
    ASSERT_EQ(LuaEval(L, "function Init() Throws() end"), "");
    for (const char* kind : {"bad_alloc", "length_error", "int"}) {
        lua_pushstring(L, kind);
        lua_setglobal(L, "Kind");
        EXPECT_EXIT(Call("Init"), ::testing::ExitedWithCode(4), "^not enough memory\n$") << kind;
    }
}

// The error never reaches the script that asked for the call, even inside pcall.
TEST_F(CLuaFunctionCallTest, ErrorsDoNotReachTheCallingScript) {
    ASSERT_EQ(LuaEval(L, "function Broken() error('inner') end"), "");
    EXPECT_EXIT(LuaEval(L, "pcall(CallByName, 'Broken')"), ::testing::ExitedWithCode(2), "inner");
    // A strict globals table raises during the lookup itself.
    ASSERT_EQ(LuaEval(L, "setmetatable(_G, {__index = function(_, k) error('undefined ' .. k, 2) end})"), "");
    EXPECT_EXIT(LuaEval(L, "pcall(CallByName, 'Missing')"), ::testing::ExitedWithCode(2), "undefined Missing");
}

}  // namespace
