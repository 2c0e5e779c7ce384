#include "script/CLuaBinder.h"

#include "script/ILuaBindableEvents.h"
#include "script/LuaStack.h"
#include "tests/script/LuaEval.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

enum { kEcho = 1, kCount = 2, kDelete = 3, kLater = 4 };

// A bound object that logs what reaches it. "Echo" doubles one number;
// "Delete" deletes the object (and with it its binder), as a sprite does.
class Probe final : public ILuaBindableEvents {
public:
    Probe(lua_State* L, std::vector<std::string>& log) : m_Log(log), m_Binder(new CLuaBinder<Probe>(L, this)) {
        m_Binder->AddMethod("Echo", kEcho);
        m_Binder->AddMethod("Count", kCount);
        m_Binder->AddMethod("Delete", kDelete);
    }
    ~Probe() { m_Log.push_back("deleted"); }

    CLuaBinder<Probe>& Binder() { return *m_Binder; }
    std::unique_ptr<CLuaBinder<Probe>>& BinderSlot() { return m_Binder; }

    int OnLuaCall(lua_State* L, int id, const char* name) override {
        m_Log.push_back(std::string("call ") + name + " " + std::to_string(id));
        if (id == kEcho) {
            double value = 0;
            LuaPop(L, -1, value);
            LuaPush(L, value * 2);
            return 1;
        }
        if (id == kDelete) {
            delete this;
            return 0;
        }
        return 0;
    }
    int OnLuaIndex(lua_State* L, const char* key) override {
        m_Log.push_back(std::string("index ") + key + " " + std::to_string(lua_gettop(L)));
        return 0;
    }
    int OnLuaNewIndex(lua_State* L, const char* key) override {
        m_Log.push_back(std::string("newindex ") + key + " " + luaL_typename(L, -1));
        return 0;
    }

private:
    std::vector<std::string>& m_Log;
    std::unique_ptr<CLuaBinder<Probe>> m_Binder;
};

class CLuaBinderTest : public ::testing::Test {
protected:
    void SetUp() override {
        L = luaL_newstate();
        luaL_openlibs(L);
        probe = new Probe(L, log);
    }
    void TearDown() override {
        if (L) lua_close(L);
        delete probe;
    }
    // Registers a new table of the probe as the global name.
    void Bind(const char* name) {
        probe->Binder().Register();
        lua_setglobal(L, name);
    }
    void CloseState() {
        lua_close(L);
        L = nullptr;
    }

    lua_State* L = nullptr;
    std::vector<std::string> log;
    Probe* probe = nullptr;
};

TEST_F(CLuaBinderTest, RegisterPushesOneTableOfMethodsWithATwoFieldMetatable) {
    const int top = lua_gettop(L);
    probe->Binder().Register();
    EXPECT_EQ(lua_gettop(L), top + 1);
    lua_setglobal(L, "obj");
    EXPECT_EQ(LuaEval(L,
                      "local n = 0 for k, v in pairs(obj) do n = n + 1 assert(type(v) == 'function') end "
                      "return n, type(obj.Echo), type(obj.Count), type(obj.Delete)"),
              "3,function,function,function");
    EXPECT_EQ(LuaEval(L,
                      "local keys = {} for k in pairs(getmetatable(obj)) do keys[#keys + 1] = k end "
                      "table.sort(keys) return table.concat(keys, ' ')"),
              "__index __newindex");
    EXPECT_EQ(LuaEval(L, "return obj:Echo(21), obj.Echo(obj, 1.5)"), "42,3");
    EXPECT_EQ(log, (std::vector<std::string>{"call Echo 1", "call Echo 1"}));
}

TEST_F(CLuaBinderTest, ARepeatedNameKeepsBothEntriesAndTheTableCallsTheLater) {
    probe->Binder().AddMethod("Count", kLater);
    Bind("obj");
    EXPECT_EQ(LuaEval(L, "local n = 0 for k in pairs(obj) do n = n + 1 end obj:Count() return n"), "3");
    EXPECT_EQ(log, (std::vector<std::string>{"call Count 4"}));
}

TEST_F(CLuaBinderTest, EachRegisterMakesItsOwnTableOverTheSameObject) {
    Bind("a");
    Bind("b");
    EXPECT_EQ(LuaEval(L, "return a ~= b, getmetatable(a) ~= getmetatable(b), a:Echo(1), b:Echo(2)"), "true,true,2,4");
    // A field that exists is replaced in that table only; the object is not told.
    EXPECT_EQ(LuaEval(L, "a.Echo = function() return 'mine' end return a:Echo(), b:Echo(3)"), "mine,6");
    EXPECT_EQ(log, (std::vector<std::string>{"call Echo 1", "call Echo 1", "call Echo 1"}));
}

TEST_F(CLuaBinderTest, AbsentKeysGoToTheObjectOnlyWhenStringsOrNumbers) {
    Bind("obj");
    EXPECT_EQ(LuaEval(L, "return obj.Missing, obj[1], obj[true], obj[obj], obj[2.5]"), "nil,nil,nil,nil,nil");
    EXPECT_EQ(LuaEval(L, "obj.Size = 3 obj[7] = 'x' obj[false] = 1 obj[{}] = 2 return obj.Size, rawget(obj, 7)"),
              "nil,nil");
    EXPECT_EQ(log, (std::vector<std::string>{"index Missing 2", "index 1 2", "index 2.5 2", "newindex Size number",
                                             "newindex 7 string", "index Size 2"}));
}

// Every way a dead table can be touched, with no results expected.
const char* const kDeadTableUse =
    "return select('#', obj:Echo(1)), select('#', obj.Count()), obj.Missing, rawget(obj, 'Size')";

TEST_F(CLuaBinderTest, TablesOfADeletedBinderDoNothingAndTheStateClosesLater) {
    Bind("obj");
    probe->BinderSlot().reset();
    EXPECT_EQ(LuaEval(L, "obj.Size = 1"), "");
    EXPECT_EQ(LuaEval(L, kDeadTableUse), "0,0,nil,nil");
    EXPECT_TRUE(log.empty());
}

TEST_F(CLuaBinderTest, ABinderOutlivesItsClosedState) {
    Bind("obj");
    Bind("other");
    CloseState();
    probe->BinderSlot().reset();
    EXPECT_TRUE(log.empty());
}

TEST_F(CLuaBinderTest, AHandlerThatDeletesItsObjectEndsItsTables) {
    Bind("obj");
    Bind("other");
    EXPECT_EQ(LuaEval(L, "return select('#', obj:Delete())"), "0");
    probe = nullptr;
    EXPECT_EQ(LuaEval(L, kDeadTableUse), "0,0,nil,nil");
    EXPECT_EQ(LuaEval(L, "return select('#', other:Echo(1))"), "0");
    EXPECT_EQ(log, (std::vector<std::string>{"call Delete 3", "deleted"}));
}

TEST_F(CLuaBinderTest, InvalidateEndsTablesMadeBeforeAndAfter) {
    Bind("before");
    probe->Binder().Invalidate();
    Bind("after");
    EXPECT_EQ(LuaEval(L, "return select('#', before:Echo(1)), select('#', after:Echo(1)), type(after.Echo)"),
              "0,0,function");
    EXPECT_TRUE(log.empty());
}

TEST_F(CLuaBinderTest, ErrorsInAHandlerTravelToTheScript) {
    Bind("obj");
    EXPECT_EQ(LuaEval(L, "return pcall(obj.Echo, obj, {})"), "false,lua_isnumber(luaVM,idx)");
    EXPECT_EQ(LuaEval(L, "return obj:Echo(4)"), "8");
}

TEST_F(CLuaBinderTest, CoroutinesCallWithTheirOwnStack) {
    Bind("obj");
    EXPECT_EQ(LuaEval(L, "local co = coroutine.wrap(function(x) coroutine.yield(obj:Echo(x)) end) return co(5)"), "10");
}

}  // namespace
