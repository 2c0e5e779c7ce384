// Cost of a script's call of a bound method against the same call of a plain
// lua_CFunction; both handlers read one number and push one. "LoopOnly" is
// the script loop alone, to take out of both. The "Spread" cases call each of
// 36,000 objects once, as a frame of the 4 x 4 sprite benchmark does, so
// every call reaches memory that no recent call touched. "BindObject" is the
// making of a table.
#include "script/CLuaBoundObject.h"
#include "script/LuaStack.h"

#include <benchmark/benchmark.h>

#include <lua.hpp>

#include <memory>
#include <vector>

namespace {

constexpr int kCallsPerRun = 1000;
constexpr int kSpreadObjects = 36000;

int Echo(lua_State* L) {
    double value = 0;
    LuaPop(L, -1, value);
    LuaPush(L, value);
    return 1;
}

// Bound as every script object is: its method table's row runs the handler.
class EchoObject final : public CLuaBoundObject<EchoObject> {
public:
    EchoObject();

private:
    static const ScriptMethod<EchoObject> kMethods[];
};

int Nothing(EchoObject&, lua_State*) { return 0; }

// As many methods as a script sprite has, so each object's tables are as large.
const ScriptMethod<EchoObject> EchoObject::kMethods[] = {
    {"Echo", [](EchoObject&, lua_State* L) { return Echo(L); }},
    {"M02", Nothing},
    {"M03", Nothing},
    {"M04", Nothing},
    {"M05", Nothing},
    {"M06", Nothing},
    {"M07", Nothing},
    {"M08", Nothing},
    {"M09", Nothing},
    {"M10", Nothing},
    {"M11", Nothing},
    {"M12", Nothing},
    {"M13", Nothing},
    {"M14", Nothing},
    {"M15", Nothing},
    {"M16", Nothing},
    {"M17", Nothing},
    {"M18", Nothing},
    {"M19", Nothing},
    {"M20", Nothing},
    {"M21", Nothing},
    {"M22", Nothing},
    {"M23", Nothing},
    {"M24", Nothing},
    {"M25", Nothing},
    {"M26", Nothing},
    {"M27", Nothing},
    {"M28", Nothing},
    {"M29", Nothing},
};

EchoObject::EchoObject() : CLuaBoundObject(kMethods) {}

// The global "target" is a table with the method "Echo"; the loop is compiled once.
class Script {
public:
    Script() : L(luaL_newstate()) {
        luaL_openlibs(L);
        luaL_dostring(L,
                      "return function(n) local t = target for i = 1, n do t:Echo(i) end end, "
                      "function(n) local t = target for i = 1, n do local _ = t, i end end, "
                      "function(n) local ts = targets for i = 1, n do ts[i]:Echo(i) end end");
        lua_setglobal(L, "spreadLoop");
        lua_setglobal(L, "loopOnly");
        lua_setglobal(L, "callLoop");
    }
    ~Script() { lua_close(L); }

    void Run(benchmark::State& state, const char* loop, int calls = kCallsPerRun) {
        for (auto _ : state) {
            lua_getglobal(L, loop);
            lua_pushinteger(L, calls);
            if (lua_pcall(L, 1, 0, 0) != 0) {
                state.SkipWithError(lua_tostring(L, -1));
                lua_pop(L, 1);
                break;
            }
        }
        state.counters["per_call"] =
            benchmark::Counter(calls, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }

    lua_State* L;
};

void PlainFunction(benchmark::State& state) {
    Script script;
    lua_createtable(script.L, 0, 1);
    lua_pushcfunction(script.L, Echo);
    lua_setfield(script.L, -2, "Echo");
    lua_setglobal(script.L, "target");
    script.Run(state, "callLoop");
}

void BoundMethod(benchmark::State& state) {
    Script script;
    EchoObject object;
    object.Bind(script.L);
    lua_setglobal(script.L, "target");
    script.Run(state, "callLoop");
}

void PlainFunctionSpread(benchmark::State& state) {
    Script script;
    lua_createtable(script.L, kSpreadObjects, 0);
    for (int i = 1; i <= kSpreadObjects; ++i) {
        lua_createtable(script.L, 0, 1);
        lua_pushcfunction(script.L, Echo);
        lua_setfield(script.L, -2, "Echo");
        lua_rawseti(script.L, -2, i);
    }
    lua_setglobal(script.L, "targets");
    script.Run(state, "spreadLoop", kSpreadObjects);
}

void BoundMethodSpread(benchmark::State& state) {
    Script script;
    std::vector<std::unique_ptr<EchoObject>> objects;
    lua_createtable(script.L, kSpreadObjects, 0);
    for (int i = 1; i <= kSpreadObjects; ++i) {
        objects.emplace_back(new EchoObject());
        objects.back()->Bind(script.L);
        lua_rawseti(script.L, -2, i);
    }
    lua_setglobal(script.L, "targets");
    script.Run(state, "spreadLoop", kSpreadObjects);
}

// Making a table of an object with 29 methods, and collecting it, as every
// "GetSprite" does; the figure is per table.
void BindObject(benchmark::State& state) {
    Script script;
    EchoObject object;
    for (auto _ : state) {
        object.Bind(script.L);
        lua_pop(script.L, 1);
    }
}

void LoopOnly(benchmark::State& state) {
    Script script;
    script.Run(state, "loopOnly");
}

}  // namespace

BENCHMARK(PlainFunction);
BENCHMARK(BoundMethod);
BENCHMARK(LoopOnly);
BENCHMARK(BindObject);
BENCHMARK(PlainFunctionSpread);
BENCHMARK(BoundMethodSpread);
BENCHMARK_MAIN();
