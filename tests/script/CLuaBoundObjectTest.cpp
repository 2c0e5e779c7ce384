#include "script/CLuaBoundObject.h"

#include "script/LuaStack.h"
#include "tests/script/LuaEval.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

namespace {

// Each method pushes its row's position, so a call shows which row ran.
class Rows final : public CLuaBoundObject<Rows> {
public:
    Rows();
    int calls = 0;

private:
    static const ScriptMethod<Rows> kMethods[];
    int Push(lua_State* L, int position) {
        ++calls;
        LuaPush(L, position);
        return 1;
    }
};

const ScriptMethod<Rows> Rows::kMethods[] = {
    {"First", [](Rows& r, lua_State* L) { return r.Push(L, 1); }},
    {"Second", [](Rows& r, lua_State* L) { return r.Push(L, 2); }},
    {"Third", [](Rows& r, lua_State* L) { return r.Push(L, 3); }},
};

Rows::Rows() : CLuaBoundObject(kMethods) {}

TEST(CLuaBoundObjectTest, ARowsPositionIsItsIdAndOtherIdsRunNothing) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    Rows rows;
    rows.Bind(L);
    lua_setglobal(L, "obj");
    EXPECT_EQ("2,1,3", LuaEval(L, "return obj:Second(), obj:First(), obj:Third()"));

    EXPECT_EQ(1, rows.OnLuaCall(L, 3, "any name"));
    EXPECT_EQ(3, lua_tointeger(L, -1));
    lua_settop(L, 0);
    for (int id : {0, -1, 4, INT_MIN, INT_MAX}) {
        EXPECT_EQ(0, rows.OnLuaCall(L, id, "First")) << id;
        EXPECT_EQ(0, lua_gettop(L)) << id;
    }
    EXPECT_EQ(4, rows.calls);
    CLuaLiveness::MarkClosing(L);
    lua_close(L);
}

// The closures run their rows straight, yet still only while their binder lives.
TEST(CLuaBoundObjectTest, TablesOfAnEarlierBindOrAGoneObjectRunNothing) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    auto rows = std::make_unique<Rows>();
    rows->Bind(L);
    lua_setglobal(L, "old");
    rows->Bind(L);
    lua_setglobal(L, "new");
    EXPECT_EQ("0,2", LuaEval(L, "return select('#', old:Second()), new:Second()"));
    rows.reset();
    EXPECT_EQ("0,function", LuaEval(L, "return select('#', new:First()), type(new.First)"));
    lua_close(L);
}

}  // namespace
