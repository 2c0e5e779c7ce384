// Cost of a script's call of a bound method against the same call of a plain
// lua_CFunction; both handlers read one number and push one. "LoopOnly" is
// the script loop alone, to take out of both.
#include "script/CLuaBoundObject.h"
#include "script/LuaStack.h"

#include <benchmark/benchmark.h>

#include <lua.hpp>

namespace {

constexpr int kCallsPerRun = 1000;

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

const ScriptMethod<EchoObject> EchoObject::kMethods[] = {{"Echo", [](EchoObject&, lua_State* L) { return Echo(L); }}};

EchoObject::EchoObject() : CLuaBoundObject(kMethods) {}

// The global "target" is a table with the method "Echo"; the loop is compiled once.
class Script {
public:
    Script() : L(luaL_newstate()) {
        luaL_openlibs(L);
        luaL_dostring(L,
                      "return function(n) local t = target for i = 1, n do t:Echo(i) end end, "
                      "function(n) local t = target for i = 1, n do local _ = t, i end end");
        lua_setglobal(L, "loopOnly");
        lua_setglobal(L, "callLoop");
    }
    ~Script() { lua_close(L); }

    void Run(benchmark::State& state, const char* loop) {
        for (auto _ : state) {
            lua_getglobal(L, loop);
            lua_pushinteger(L, kCallsPerRun);
            if (lua_pcall(L, 1, 0, 0) != 0) {
                state.SkipWithError(lua_tostring(L, -1));
                lua_pop(L, 1);
                break;
            }
        }
        state.counters["per_call"] = benchmark::Counter(
            kCallsPerRun, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
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

void LoopOnly(benchmark::State& state) {
    Script script;
    script.Run(state, "loopOnly");
}

}  // namespace

BENCHMARK(PlainFunction);
BENCHMARK(BoundMethod);
BENCHMARK(LoopOnly);
BENCHMARK_MAIN();
