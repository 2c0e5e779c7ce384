#include "script/LuaStack.h"

#include "tests/script/LuaEval.h"

#include <gtest/gtest.h>

namespace {

// Each reader pops one argument and pushes back what it read.
int ReadInt(lua_State* L) {
    int value = 0;
    LuaPop(L, -1, value);
    LuaPush(L, value);
    return 1;
}

int ReadDword(lua_State* L) {
    DWORD value = 0;
    LuaPop(L, -1, value);
    LuaPush(L, static_cast<double>(value));
    return 1;
}

int ReadDouble(lua_State* L) {
    double value = 0;
    LuaPop(L, -1, value);
    LuaPush(L, value);
    return 1;
}

// Collects garbage between the read and the push: the text must survive it.
int ReadText(lua_State* L) {
    std::string value;
    LuaPop(L, -1, value);
    lua_gc(L, LUA_GCCOLLECT, 0);
    LuaPush(L, value);
    return 1;
}

int ReadBool(lua_State* L) {
    bool value = false;
    LuaPop(L, -1, value);
    LuaPush(L, value);
    return 1;
}

// Reads two arguments, last first; gives them in call order and what is left.
int ReadTwo(lua_State* L) {
    double second = 0, first = 0;
    LuaPop(L, -1, second);
    LuaPop(L, -1, first);
    const int left = lua_gettop(L);
    LuaPush(L, first);
    LuaPush(L, second);
    LuaPush(L, left);
    return 3;
}

// The same as ReadTwo, with both numbers read by one LuaPopTwo.
int ReadPair(lua_State* L) {
    double second = 0, first = 0;
    LuaPopTwo(L, first, second);
    const int left = lua_gettop(L);
    LuaPush(L, first);
    LuaPush(L, second);
    LuaPush(L, left);
    return 3;
}

class LuaStackTest : public ::testing::Test {
protected:
    void SetUp() override {
        L = luaL_newstate();
        luaL_openlibs(L);
        const struct {
            const char* name;
            lua_CFunction function;
        } readers[] = {{"int", ReadInt},   {"dword", ReadDword}, {"double", ReadDouble}, {"text", ReadText},
                       {"bool", ReadBool}, {"two", ReadTwo},     {"pair", ReadPair}};
        for (const auto& reader : readers) {
            lua_pushcfunction(L, reader.function);
            lua_setglobal(L, reader.name);
        }
    }
    void TearDown() override { lua_close(L); }

    lua_State* L = nullptr;
};

struct ReadCase {
    const char* code;
    const char* expected;
};

TEST_F(LuaStackTest, ReadersConvertAndCheckTheirValues) {
    const ReadCase cases[] = {
        {"return int(1.9), int(-1.9), int('7'), int(' 0x10 ')", "1,-1,7,16"},
        {"return int(4294967295), dword(4294967295), dword(-16776961)", "-1,4294967295,4278190335"},
        {"return int(4294967301), dword(-1)", "5,4294967295"},
        {"return int(-2147483648), dword(-2147483648)", "-2147483648,2147483648"},
        {"return int(2^60 + 2^31), dword(2^60 + 2^31)", "-2147483648,2147483648"},
        // Outside the 64-bit range, infinite or not a number: 0.
        {"return int(0/0), int(1/0), int(-1/0), dword(2^63), int(-2^63 - 2^11), int(1e300)", "0,0,0,0,0,0"},
        {"return dword(-2^52 + 3), int(2^52 + 2^32 - 1)", "3,-1"},
        {"return double(0.25), double('1e3')", "0.25,1000"},
        {"return text(12), text(1.5), text(string.rep('ab', 3) .. 'c')", "12,1.5,abababc"},
        {"return bool(true), bool(false)", "true,false"},
        {"return select(2, pcall(int, true)), select(2, pcall(dword, 'x'))",
         "lua_isnumber(luaVM,idx),lua_isnumber(luaVM,idx)"},
        {"return select(2, pcall(double, {}))", "lua_isnumber(luaVM,idx)"},
        {"return select(2, pcall(bool, nil)), select(2, pcall(bool, 1))",
         "lua_isboolean(luaVM,idx),lua_isboolean(luaVM,idx)"},
        {"return select(2, pcall(text, {})), select(2, pcall(text, true))",
         "lua_isstring(luaVM,idx),lua_isstring(luaVM,idx)"},
        // Nothing left to read.
        {"return select(2, pcall(int)), select(2, pcall(text)), select(2, pcall(bool))",
         "lua_isnumber(luaVM,idx),lua_isstring(luaVM,idx),lua_isboolean(luaVM,idx)"},
        {"return select(2, pcall(two, 1))", "lua_isnumber(luaVM,idx)"},
    };
    for (const ReadCase& c : cases) EXPECT_EQ(LuaEval(L, c.code), c.expected) << c.code;
}

TEST_F(LuaStackTest, HandlersReadTheLastArgumentFirstAndLeaveTheRest) {
    EXPECT_EQ(LuaEval(L, "return two(1, 2, 3)"), "2,3,1");
    EXPECT_EQ(LuaEval(L, "return two(1, 2)"), "1,2,0");
}

TEST_F(LuaStackTest, APairReadsAsTwoReadsDo) {
    const char* const arguments[] = {"1, 2, 3", "1, 2",  "'3', ' 0x10 '", "0, '0'", "0/0, -0", "5",
                                     "",        "{}, 1", "1, {}",         "'x', 2", "nil, 2",  "1, true"};
    for (const std::string args : arguments) {
        const std::string rest = args.empty() ? ")" : ", " + args + ")";
        EXPECT_EQ(LuaEval(L, "return pcall(pair" + rest), LuaEval(L, "return pcall(two" + rest)) << args;
    }
    EXPECT_EQ(LuaEval(L, "return pair(1, 2, 3)"), "2,3,1");
}

TEST_F(LuaStackTest, PushesKeepTheirValues) {
    LuaPush(L, "abc");
    LuaPush(L, std::string("a\0b", 3));
    LuaPush(L, true);
    LuaPush(L, -0.5);
    LuaPush(L, -2147483647 - 1);
    ASSERT_EQ(lua_gettop(L), 5);
    EXPECT_STREQ(lua_tostring(L, 1), "abc");
    EXPECT_EQ(lua_objlen(L, 2), 3u);
    EXPECT_TRUE(lua_isboolean(L, 3) && lua_toboolean(L, 3));
    EXPECT_EQ(lua_tonumber(L, 4), -0.5);
    EXPECT_EQ(lua_tonumber(L, 5), -2147483648.0);
}

}  // namespace
