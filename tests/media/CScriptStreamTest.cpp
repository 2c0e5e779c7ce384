#include "media/CScriptStream.h"

#include "host/CGFXStarter.h"
#include "tests/script/LuaEval.h"
#include "tests/support/HostFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The recording engine keeps the real engine's channel rules: a handle is
// never reused, and a paused channel counts as playing.
class CScriptStreamTest : public HostFixture {
protected:
    using Body = std::function<void()>;

    void SetUp() override {
        HostFixture::SetUp();
        engine->AddSound("snd/bell.wav");
    }

    // Runs body inside a live frame with `count` streams on the file bound to s1, s2, ...
    void WithStreams(const char* file, int count, const Body& body) {
        RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase* screen, lua_State* L) {
            m_L = L;
            m_Starter = s;
            m_Screen = screen;
            m_Effect = s->GetResourceCache()->GetSound(file);
            std::vector<std::unique_ptr<CScriptStream>> streams;
            for (int i = 1; i <= count; ++i) streams.push_back(MakeStream("s" + std::to_string(i)));
            engine->ClearLog();
            body();
        });
    }
    std::unique_ptr<CScriptStream> MakeStream(const std::string& global) {
        auto stream = std::make_unique<CScriptStream>(m_Starter, m_Screen, m_Effect);
        stream->Bind(m_L);
        lua_setglobal(m_L, global.c_str());
        return stream;
    }
    std::string Lua(const std::string& code) { return LuaEval(m_L, code); }
    // The channel the cache records for the file.
    HCHANNEL Recorded() const { return m_Starter->GetResourceCache()->GetSoundChannel(m_Effect); }
    static std::string Call(const char* name, HCHANNEL channel) {
        return std::string(name) + "(" + std::to_string(channel) + ")";
    }

    lua_State* m_L = nullptr;
    CGFXStarter* m_Starter = nullptr;
    CGFXFuncHelperBase* m_Screen = nullptr;
    HEFFECT m_Effect = 0;
};

TEST_F(CScriptStreamTest, PlayWhileAVoicePlaysDoesNothing) {
    WithStreams("snd/bell.wav", 1, [&] {
        Lua("s1:Play(true, 80)");
        const HCHANNEL first = Recorded();
        ASSERT_NE(0u, first);
        EXPECT_EQ("true,80", Lua("s1:Play(false, 20) s1:Play() return s1:IsPlaying(), s1:GetVolume()"));
        // Paused still counts as playing.
        EXPECT_EQ("true", Lua("s1:Pause() s1:Play(false, 20) return s1:IsPlaying()"));
        EXPECT_EQ(1, engine->Count("Effect_PlayEx"));
        EXPECT_TRUE(engine->FindChannel(first)->loop);
        EXPECT_EQ(80, engine->FindChannel(first)->volume);
        // Once the voice has ended a new one starts.
        engine->EndChannel(first);
        EXPECT_EQ("true,30", Lua("s1:Play(false, 30) return s1:IsPlaying(), s1:GetVolume()"));
        EXPECT_EQ(2, engine->Count("Effect_PlayEx"));
        EXPECT_NE(first, Recorded());
    });
}

TEST_F(CScriptStreamTest, PlayExAddsVoicesThatStopPauseAndResumeReach) {
    WithStreams("snd/bell.wav", 1, [&] {
        Lua("s1:PlayEx(false, 40)");
        const HCHANNEL older = Recorded();
        Lua("s1:PlayEx(true, 60)");
        const HCHANNEL newer = Recorded();
        ASSERT_NE(older, newer);
        ASSERT_TRUE(engine->FindChannel(older) && engine->FindChannel(newer));
        EXPECT_EQ("true,60", Lua("return s1:IsPlaying(), s1:GetVolume()"));

        // Pause and resume reach only the newest voice.
        Lua("s1:Pause()");
        EXPECT_FALSE(engine->FindChannel(older)->paused);
        EXPECT_TRUE(engine->FindChannel(newer)->paused);
        Lua("s1:Resume()");
        EXPECT_FALSE(engine->FindChannel(newer)->paused);

        // The newest through the cache entry, then every voice in handle order.
        engine->ClearLog();
        EXPECT_EQ("false", Lua("s1:Stop() return s1:IsPlaying()"));
        const std::vector<std::string> stops = {Call("Channel_Stop", newer), Call("Channel_Stop", older),
                                                Call("Channel_Stop", newer)};
        EXPECT_EQ(stops, engine->Calls("Channel_Stop"));
        EXPECT_FALSE(engine->FindChannel(older) || engine->FindChannel(newer));
        EXPECT_EQ(0u, Recorded());
    });
}

TEST_F(CScriptStreamTest, PlayExForgetsVoicesThatEnded) {
    WithStreams("snd/bell.wav", 1, [&] {
        Lua("s1:PlayEx(false, 40)");
        const HCHANNEL ended = Recorded();
        engine->EndChannel(ended);
        Lua("s1:PlayEx(false, 40)");
        const HCHANNEL playing = Recorded();
        engine->ClearLog();
        Lua("s1:Stop()");
        EXPECT_EQ((std::vector<std::string>{Call("Channel_Stop", playing), Call("Channel_Stop", playing)}),
                  engine->Calls("Channel_Stop"));
    });
}

TEST_F(CScriptStreamTest, SetVolumeNeedsARecordedChannel) {
    struct Case {
        const char* setup;
        const char* volume;
        bool applied;
        const char* after;  // "GetVolume" afterwards
    };
    const Case cases[] = {
        {"", "50", false, "100"},
        {"s1:Play(false, 70) s1:Stop()", "50", false, "70"},
        {"s1:Play(false, 70)", "150", true, "150"},
        {"s1:Play(false, 70)", "-5", true, "-5"},
        {"s1:Play(false, 70)", "42.9", true, "42"},
    };
    for (const Case& c : cases) {
        WithStreams("snd/bell.wav", 1, [&] {
            Lua(c.setup);
            engine->ClearLog();
            EXPECT_EQ(c.after, Lua(std::string("s1:SetVolume(") + c.volume + ") return s1:GetVolume()")) << c.setup;
            const std::vector<std::string> expected =
                c.applied
                    ? std::vector<std::string>{"Channel_SetVolume(" + std::to_string(Recorded()) + "," + c.after + ")"}
                    : std::vector<std::string>{};
            EXPECT_EQ(expected, engine->Calls("Channel_SetVolume")) << c.setup;
        });
    }
}

TEST_F(CScriptStreamTest, AnEndedVoiceStaysRecorded) {
    WithStreams("snd/bell.wav", 1, [&] {
        Lua("s1:Play(false, 70)");
        const HCHANNEL channel = Recorded();
        engine->EndChannel(channel);
        EXPECT_EQ("false", Lua("return s1:IsPlaying()"));
        EXPECT_EQ(channel, Recorded());
        engine->ClearLog();
        EXPECT_EQ("30", Lua("s1:SetVolume(30) return s1:GetVolume()"));
        EXPECT_EQ(std::vector<std::string>{"Channel_SetVolume(" + std::to_string(channel) + ",30)"},
                  engine->Calls("Channel_SetVolume"));
    });
}

TEST_F(CScriptStreamTest, StreamsOnOneFileShareTheVoice) {
    WithStreams("snd/bell.wav", 2, [&] {
        Lua("s1:Play(true, 50)");
        const HCHANNEL channel = Recorded();
        EXPECT_EQ("true,50,50", Lua("s2:Play(false, 10) return s2:IsPlaying(), s2:GetVolume(), s1:GetVolume()"));
        EXPECT_EQ(1, engine->Count("Effect_PlayEx"));
        Lua("s2:Pause()");
        EXPECT_TRUE(engine->FindChannel(channel)->paused);
        Lua("s2:Resume() s2:SetVolume(20)");
        EXPECT_FALSE(engine->FindChannel(channel)->paused);
        EXPECT_EQ("20", Lua("return s1:GetVolume()"));
        EXPECT_EQ("false", Lua("s2:Stop() return s1:IsPlaying()"));
        EXPECT_EQ(nullptr, engine->FindChannel(channel));
    });
}

TEST_F(CScriptStreamTest, ASoundOutlivesItsStream) {
    WithStreams("snd/bell.wav", 0, [&] {
        auto first = MakeStream("gone");
        Lua("gone:Play(true, 50)");
        const HCHANNEL channel = Recorded();
        first.reset();
        EXPECT_NE(nullptr, engine->FindChannel(channel));
        EXPECT_EQ("", Lua("return gone:IsPlaying()"));
        auto later = MakeStream("later");
        EXPECT_EQ("true", Lua("return later:IsPlaying()"));
        Lua("later:Stop()");
        EXPECT_EQ(nullptr, engine->FindChannel(channel));
    });
}

TEST_F(CScriptStreamTest, AStreamWithoutASoundPlaysNothing) {
    WithStreams("snd/missing.wav", 1, [&] {
        ASSERT_EQ(0u, m_Effect);
        EXPECT_EQ("false,100", Lua("s1:Play(false, 50) s1:PlayEx(true, 60) return s1:IsPlaying(), s1:GetVolume()"));
        EXPECT_EQ((std::vector<std::string>{"Effect_PlayEx(0,50,0,1,false)", "Effect_PlayEx(0,60,0,1,true)"}),
                  engine->Calls("Effect_PlayEx"));
        EXPECT_EQ("100", Lua("s1:SetVolume(20) s1:Pause() s1:Resume() s1:Stop() return s1:GetVolume()"));
        for (const char* call : {"Channel_Stop", "Channel_Pause", "Channel_Resume", "Channel_SetVolume"})
            EXPECT_EQ(0, engine->Count(call)) << call;
    });
}

TEST_F(CScriptStreamTest, AMistypedArgumentStartsNothing) {
    WithStreams("snd/bell.wav", 1, [&] {
        EXPECT_EQ("error: lua_isnumber(luaVM,idx)", Lua("s1:Play(true)"));
        EXPECT_EQ("error: lua_isboolean(luaVM,idx)", Lua("s1:PlayEx(1, 50)"));
        EXPECT_EQ("error: lua_isnumber(luaVM,idx)", Lua("s1:SetVolume()"));
        EXPECT_EQ(0, engine->Count("Effect_PlayEx"));
        EXPECT_EQ("100", Lua("return s1:GetVolume()"));
    });
}

}  // namespace
