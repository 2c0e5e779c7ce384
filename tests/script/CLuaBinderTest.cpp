#include "script/CLuaBinder.h"

#include "script/ILuaBindableEvents.h"
#include "script/LuaStack.h"
#include "tests/script/LuaEval.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
        if (L) CloseState();
        delete probe;
    }
    // Registers a new table of the probe as the global name.
    void Bind(const char* name) {
        probe->Binder().Register();
        lua_setglobal(L, name);
    }
    void CloseState() {
        CLuaLiveness::MarkClosing(L);
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

// Makes a table of the probe that only a finalizer reaches, after `tend`
// has run on it (as s); the finalizer keeps it in Saved, and what `keep`
// names (as a list of values) in Kept.
void Plant(lua_State* L, Probe* probe, const std::string& tend = "", const std::string& keep = "") {
    probe->Binder().Register(L);
    lua_setglobal(L, "Fresh");
    ASSERT_EQ(LuaEval(L, "local s = Fresh Fresh = nil " + tend + " local kept = {" + keep +
                             "} getmetatable(newproxy(true)).__gc = function() Saved = s Kept = kept end"),
              "");
}

const char* const kCollectTwice = "collectgarbage() collectgarbage()";

// A table a finalizer brings back calls its object and holds it; dropped
// again, it lets the object go within two collections.
TEST_F(CLuaBinderTest, ATableAFinalizerBringsBackStillCalls) {
    Plant(L, probe);
    EXPECT_EQ(LuaEval(L, std::string(kCollectTwice) + " return Saved:Echo(4), type(Saved.Echo)"), "8,function");
    EXPECT_TRUE(probe->Binder().HasLiveTables());
    EXPECT_EQ(LuaEval(L, std::string("Saved = nil ") + kCollectTwice), "");
    EXPECT_FALSE(probe->Binder().HasLiveTables());
    // A table no finalizer reaches goes at the first collection.
    Bind("plain");
    EXPECT_EQ(LuaEval(L, "plain = nil collectgarbage()"), "");
    EXPECT_FALSE(probe->Binder().HasLiveTables());
}

// Also when the finalizer and the collection run on a coroutine, and when
// the table was made on one.
TEST_F(CLuaBinderTest, ATableBroughtBackOnACoroutineStillCalls) {
    lua_State* thread = lua_newthread(L);
    lua_setglobal(L, "thread");
    Plant(thread, probe);
    EXPECT_EQ(LuaEval(L,
                      "return coroutine.wrap(function() collectgarbage() coroutine.yield(Saved:Echo(1)) end)(), "
                      "Saved:Echo(2)"),
              "2,4");
}

struct TendedCase {
    const char* name;
    const char* tend;   // done to the table s before it is planted
    const char* keep;   // values the finalizer keeps in Kept beside it
    const char* check;  // run after two collections
    const char* result;
    bool live;  // whether the object is still held
};

class TendedTableTest : public CLuaBinderTest, public testing::WithParamInterface<TendedCase> {};

// Whatever the script did to the table, what is left of it calls the object
// when it comes back, and nothing else does.
TEST_P(TendedTableTest, WhatIsLeftOfABroughtBackTableStillCalls) {
    Plant(L, probe, GetParam().tend, GetParam().keep);
    EXPECT_EQ(LuaEval(L, std::string(kCollectTwice) + " " + GetParam().check), GetParam().result);
    EXPECT_EQ(probe->Binder().HasLiveTables(), GetParam().live);
    EXPECT_EQ(LuaEval(L, std::string("Saved, Kept = nil ") + kCollectTwice), "");
    EXPECT_FALSE(probe->Binder().HasLiveTables());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TendedTableTest,
    testing::Values(TendedCase{"FieldReplaced", "s.Count = function() return 'own' end", "",
                               "return Saved:Count(), Saved:Echo(2)", "own,4", true},
                    TendedCase{"MetatableTakenAway", "setmetatable(s, nil)", "", "return Saved:Echo(3), Saved.Missing",
                               "6,nil", true},
                    TendedCase{"ItsOwnMetatable", "setmetatable(s, s)", "", "return Saved:Echo(5)", "10", true},
                    TendedCase{"OnlyTheMetatableLeft", "for k in pairs(s) do s[k] = nil end", "",
                               "return Saved.Missing, rawget(Saved, 'Echo')", "nil,nil", true},
                    // Nothing of it can reach the object any more, so nothing holds it.
                    TendedCase{"NothingLeft", "for k in pairs(s) do s[k] = nil end setmetatable(s, nil)", "",
                               "return next(Saved)", "nil", false},
                    // A closure taken out of the table before it went stays out of it, dead.
                    TendedCase{"AClosureTakenOut", "local e = s.Echo s.Echo = nil", "e",
                               "return select('#', Kept[1](Saved, 1)), Saved.Echo", "0,nil", true}),
    [](const testing::TestParamInfo<TendedCase>& info) { return std::string(info.param.name); });

TEST_F(CLuaBinderTest, ABroughtBackTableOfADeletedBinderDoesNothing) {
    Plant(L, probe);
    EXPECT_EQ(LuaEval(L, std::string(kCollectTwice) + " return Saved:Echo(1)"), "2");
    probe->BinderSlot().reset();
    EXPECT_EQ(LuaEval(L, "return select('#', Saved:Echo(1)), Saved.Missing"), "0,nil");
}

// A heap whose growing allocations all fail from a chosen one on.
struct FailingHeap {
    long left = -1;  // allocations until they fail; negative: none fails
    static void* Allocate(void* ud, void* block, size_t oldSize, size_t newSize) {
        auto* heap = static_cast<FailingHeap*>(ud);
        if (newSize == 0) {
            std::free(block);
            return nullptr;
        }
        if (newSize > oldSize && heap->left >= 0) {
            if (heap->left == 0) return nullptr;
            --heap->left;
        }
        return std::realloc(block, newSize);
    }
};

// A full heap wherever the collection that brings a table back stands: the
// table then works or is dead, and either way, once dropped, it holds its
// object no more.
TEST(CLuaBinderMemoryTest, AFullHeapWhileATableComesBackLeavesNoShareBehind) {
    bool cameBack = false;
    for (long n = 0; !cameBack; ++n) {
        ASSERT_LT(n, 100000) << "the collection never ran without a failure";
        FailingHeap heap;
        lua_State* L = lua_newstate(FailingHeap::Allocate, &heap);
        luaL_openlibs(L);
        std::vector<std::string> log;
        Probe* probe = new Probe(L, log);
        Plant(L, probe);
        heap.left = n;
        const std::string failed = LuaEval(L, kCollectTwice);
        heap.left = -1;
        LuaEval(L, kCollectTwice);
        const std::string answer = LuaEval(L, "return Saved and select('#', Saved:Echo(1))");
        cameBack = failed.empty() && answer == "1";
        EXPECT_EQ(probe->Binder().HasLiveTables(), answer == "1") << n << " " << failed;
        LuaEval(L, std::string("Saved, Kept = nil ") + kCollectTwice);
        EXPECT_FALSE(probe->Binder().HasLiveTables()) << n << " " << failed;
        CLuaLiveness::MarkClosing(L);
        lua_close(L);
        delete probe;
    }
}

TEST_F(CLuaBinderTest, CoroutinesCallWithTheirOwnStack) {
    Bind("obj");
    EXPECT_EQ(LuaEval(L, "local co = coroutine.wrap(function(x) coroutine.yield(obj:Echo(x)) end) return co(5)"), "10");
}

}  // namespace
