#include "media/CScriptParticle.h"

#include "helpers/gfxParticleSystem.h"
#include "tests/media/DrawnQuads.h"
#include "tests/script/LuaEval.h"
#include "tests/support/HostFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Emits 10 particles a second for `lifetime` seconds (-1: until stopped);
// each lives 5 s at size 1, white. With nothing queued the engine answers
// every random draw with its lower bound: no speed, a jitter of -2 on x and y.
std::string Preset(float lifetime) {
    std::string bytes(128, '\0');
    auto put = [&bytes](size_t offset, uint32_t bits) {
        for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    };
    auto putFloat = [&put](size_t offset, float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        put(offset, bits);
    };
    put(4, 10);  // emission per second
    putFloat(8, lifetime);
    putFloat(12, 5.0f);  // particle life min and max
    putFloat(16, 5.0f);
    putFloat(64, 1.0f);  // size start and end
    putFloat(68, 1.0f);
    for (size_t c = 88; c < 120; c += 4) putFloat(c, 1.0f);  // colour start and end
    return bytes;
}

class ScriptParticleTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        engine->AddImage("images/spark.png", 32, 32);
        engine->AddFile("fx/steady.psi", Preset(-1.0f));
        engine->AddFile("fx/burst.psi", Preset(1.0f));
    }
    // An effect bound as the global "fx" of the screen's state.
    std::unique_ptr<CScriptParticle> Bound(CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L,
                                           const std::string& preset = "fx/steady.psi",
                                           const std::string& texture = "images/spark.png") {
        auto fx = std::make_unique<CScriptParticle>(s, r, preset, texture);
        fx->Bind(L);
        lua_setglobal(L, "fx");
        engine->ClearLog();
        return fx;
    }
    // The fifteen draws of one particle born at this point of the emitter's
    // way, without jitter.
    void QueueBirth(float t) {
        const float draws[15] = {5, t, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1};
        for (float d : draws) engine->QueueRandom(d);
    }
};

TEST_F(ScriptParticleTest, AliveFromFireAtUntilStoppedAndTheLastParticleDies) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto fx = Bound(s, r, L);
        EXPECT_EQ(fx->GetOwner(), r);
        EXPECT_EQ(LuaEval(L, "fx:Render() fx:MoveTo(5, 5) return fx:IsAlive()"), "false");
        EXPECT_TRUE(TakeQuads(engine).empty());
        EXPECT_EQ(LuaEval(L, "fx:FireAt(100, 100) return fx:IsAlive(), select('#', fx:Update(0.1))"), "true,0");
        EXPECT_EQ(fx->GetParticleSystem()->GetParticlesAlive(), 1);
        EXPECT_EQ(LuaEval(L, "fx:Stop() return fx:IsAlive()"), "true");
        EXPECT_EQ(LuaEval(L, "fx:Update(4.8) return fx:IsAlive()"), "true");
        EXPECT_EQ(LuaEval(L, "fx:Update(0.2) return fx:IsAlive()"), "false");
    });
}

// The sprite covers the whole 32 x 32 texture from its top-left corner.
TEST_F(ScriptParticleTest, AParticleOfSizeOneCoversTheTextureFromItsPosition) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto fx = Bound(s, r, L);
        LuaEval(L, "fx:FireAt(100, 100) fx:Update(0.1) fx:Render()");
        const std::vector<DrawnQuad> q = TakeQuads(engine);
        ASSERT_EQ(q.size(), 1u);
        EXPECT_FLOAT_EQ(q[0].x, 98);  // the emitter less the jitter's lower bound
        EXPECT_FLOAT_EQ(q[0].y, 98);
        EXPECT_FLOAT_EQ(q[0].right, 130);
        EXPECT_FLOAT_EQ(q[0].bottom, 130);
        EXPECT_FLOAT_EQ(q[0].u, 0);
        EXPECT_EQ(engine->FindTexture(q[0].tex)->name, "images/spark.png");
        EXPECT_EQ(q[0].col, 0xFFFFFFFFu);
    });
}

// MoveTo leaves a trail from the old position at the next update; MoveToEx
// carries the live particles along and leaves none.
TEST_F(ScriptParticleTest, MoveToFillsTheWayAndMoveToExCarriesTheParticles) {
    struct Case {
        const char* move;
        std::vector<float> xs;
    };
    const Case cases[] = {
        {"fx:MoveTo(100, 0)", {0, 25, 75}},
        {"fx:MoveToEx(100, 0)", {100, 100, 100}},
    };
    for (const Case& c : cases) {
        RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
            auto fx = Bound(s, r, L);
            QueueBirth(0);
            LuaEval(L, "fx:FireAt(0, 0) fx:Update(0.1)");
            QueueBirth(0.25f);
            QueueBirth(0.75f);
            LuaEval(L, std::string(c.move) + " fx:Update(0.2) fx:Render()");
            EXPECT_EQ(Xs(TakeQuads(engine)), c.xs) << c.move;
        });
    }
}

// FireAt on a running effect restarts its lifetime and jumps without a trail;
// the live particles stay where they are.
TEST_F(ScriptParticleTest, FireAtRestartsTheLifetimeWithoutATrail) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto fx = Bound(s, r, L, "fx/burst.psi");
        LuaEval(L, "fx:FireAt(0, 0) fx:Update(0.6) fx:FireAt(50, 0) fx:Update(0.6)");
        EXPECT_FLOAT_EQ(fx->GetParticleSystem()->GetAge(), 0.6f);
        LuaEval(L, "fx:Render()");
        const std::vector<float> expected = {-2, -2, -2, -2, -2, -2, 48, 48, 48, 48, 48, 48};
        EXPECT_EQ(Xs(TakeQuads(engine)), expected);
        EXPECT_EQ(LuaEval(L, "fx:Update(0.5) return fx:IsAlive()"), "true");
        EXPECT_EQ(fx->GetParticleSystem()->GetAge(), -2.0f);  // the second lifetime is over
    });
}

TEST_F(ScriptParticleTest, MissingFilesGiveTextureZeroAndASystemThatNeverEmits) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto fx = Bound(s, r, L, "fx/steady.psi", "images/none.png");
        LuaEval(L, "fx:FireAt(10, 10) fx:Update(0.1) fx:Render()");
        const std::vector<DrawnQuad> q = TakeQuads(engine);
        ASSERT_EQ(q.size(), 1u);
        EXPECT_EQ(q[0].tex, 0u);
        EXPECT_FLOAT_EQ(q[0].right - q[0].x, 0);  // the engine reports 0 x 0 for texture 0

        auto unread = Bound(s, r, L, "fx/none.psi");
        EXPECT_EQ(LuaEval(L,
                          "fx:FireAt(10, 10) local before = fx:IsAlive() fx:Update(0.1)"
                          " fx:Render() return before, fx:IsAlive()"),
                  "true,false");
        EXPECT_TRUE(TakeQuads(engine).empty());
    });
}

TEST_F(ScriptParticleTest, TheTableHoldsTheSevenMethodsAndBadArgumentsRaiseLuaErrors) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto fx = Bound(s, r, L);
        EXPECT_EQ(LuaEval(L,
                          "local n = {} for k, v in pairs(fx) do n[#n + 1] = k end table.sort(n)"
                          " return table.concat(n, ' ')"),
                  "FireAt IsAlive MoveTo MoveToEx Render Stop Update");
        EXPECT_EQ(LuaEval(L, "fx.speed = 3 return fx.speed"), "nil");
        EXPECT_EQ(LuaEval(L, "fx:MoveTo(1)"), "error: lua_isnumber(luaVM,idx)");
        EXPECT_EQ(LuaEval(L, "fx:Update('fast')"), "error: lua_isnumber(luaVM,idx)");
        EXPECT_EQ(LuaEval(L, "fx:FireAt()"), "error: lua_isnumber(luaVM,idx)");
        EXPECT_EQ(fx->OnLuaCall(L, 8, "Other"), 0);
        EXPECT_EQ(LuaEval(L, "return fx:IsAlive()"), "false");
    });
}

// The owning list deletes the effect while the script may still hold its
// table; a second Bind retires the first table.
TEST_F(ScriptParticleTest, CallsThroughTablesOfAGoneEffectOrAnEarlierBindDoNothing) {
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* r, lua_State* L) {
        auto fx = Bound(s, r, L);
        LuaEval(L, "old = fx");
        fx->Bind(L);
        lua_setglobal(L, "fx");
        EXPECT_EQ(LuaEval(L, "old:FireAt(1, 1) return select('#', old:IsAlive()), fx:IsAlive()"), "0,false");
        LuaEval(L, "fx:FireAt(1, 1) fx:Update(0.1)");
        fx.reset();
        EXPECT_EQ(LuaEval(L, "fx:Update(1) fx:Render() fx:Stop() return select('#', fx:IsAlive())"), "0");
        EXPECT_TRUE(TakeQuads(engine).empty());
        EXPECT_EQ(engine->Count("Texture_Free"), 0);  // the texture stays in the cache
    });
}

}  // namespace
