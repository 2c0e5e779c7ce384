// Effects and channels on SDL's dummy audio driver.
#include "EngineFixture.h"

#include <chrono>
#include <cstring>
#include <thread>

using namespace enginetest;

namespace {

// A mono 16-bit WAV of a square wave.
std::string Wav(double seconds) {
    const uint32_t rate = 22050;
    uint32_t samples = static_cast<uint32_t>(seconds * rate);
    std::string data;
    for (uint32_t i = 0; i < samples; ++i) {
        int16_t v = (i / 50) % 2 ? 8000 : -8000;
        data.append(reinterpret_cast<const char*>(&v), 2);
    }
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    return "RIFF" + u32(36 + static_cast<uint32_t>(data.size())) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) +
           u32(rate) + u32(rate * 2) + u16(2) + u16(16) + "data" + u32(static_cast<uint32_t>(data.size())) + data;
}

class AudioTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        wav = Wav(0.1);
        effect = gfx->Effect_Load(wav.data(), static_cast<uint32_t>(wav.size()));
        ASSERT_NE(effect, 0u);
    }
    void TearDown() override { gfx->Effect_Free(effect); }
    std::string wav;
    HEFFECT effect = 0;
};

// A WAV cut short loads what is there, also when its data chunk claims 4 GB;
// VOC sounds are refused (the mixer's reader mishandles bad ones).
TEST_F(AudioTest, CutWaveLoadsWhatIsThereAndVocIsRefused) {
    std::string cut = wav.substr(0, wav.size() / 2);
    std::string claimsAll = cut;
    std::memcpy(&claimsAll[40], "\x40\xFF\xFF\xFF", 4);
    for (const std::string& sound : {cut, claimsAll}) {
        HEFFECT e = gfx->Effect_Load(sound.data(), static_cast<uint32_t>(sound.size()));
        EXPECT_NE(e, 0u);
        gfx->Effect_Free(e);
    }
    std::string voc = "Creative Voice File\x1a\x1a" + std::string(12, '\0');
    EXPECT_EQ(gfx->Effect_Load(voc.data(), static_cast<uint32_t>(voc.size())), 0u);
    EXPECT_NE(ReadFile(LogPath()).find("(VOC) sounds are not taken"), std::string::npos);
}

TEST_F(AudioTest, ChannelHandlesAreNeverReused) {
    HCHANNEL a = gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true);
    ASSERT_NE(a, 0u);
    EXPECT_TRUE(gfx->Channel_IsPlaying(a));
    gfx->Channel_Stop(a);
    EXPECT_FALSE(gfx->Channel_IsPlaying(a));
    // The same mixer channel is free again, but the handle is a new one.
    HCHANNEL b = gfx->Effect_PlayEx(effect, 50, -40, 1.0f, true);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_FALSE(gfx->Channel_IsPlaying(a));
    gfx->Channel_Stop(a);  // an ended handle: the new sound goes on
    gfx->Channel_Pause(a);
    EXPECT_TRUE(gfx->Channel_IsPlaying(b));
    gfx->Channel_Stop(b);
}

TEST_F(AudioTest, PausedChannelsCountAsPlaying) {
    HCHANNEL c = gfx->Effect_PlayEx(effect, 80, 0, 1.0f, true);
    ASSERT_NE(c, 0u);
    gfx->Channel_Pause(c);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    gfx->Channel_Resume(c);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    gfx->Channel_PauseAll();
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    gfx->Channel_ResumeAll();
    gfx->Channel_SetVolume(c, 150);  // clamped
    gfx->Channel_SetVolume(c, -3);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    gfx->Channel_Stop(c);
    EXPECT_FALSE(gfx->Channel_IsPlaying(c));
}

TEST_F(AudioTest, ASoundThatEndedIsNoLongerPlaying) {
    HCHANNEL c = gfx->Effect_PlayEx(effect);
    ASSERT_NE(c, 0u);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    // The dummy driver plays in real time, as slowly as the machine's load
    // lets it: the 0.1 s sound has a minute to end.
    auto start = std::chrono::steady_clock::now();
    while (gfx->Channel_IsPlaying(c) && std::chrono::steady_clock::now() - start < std::chrono::seconds(60))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(gfx->Channel_IsPlaying(c));
    gfx->Channel_SetVolume(c, 10);  // harmless on an ended channel
}

TEST_F(AudioTest, EffectFreeStopsItsChannels) {
    HEFFECT other = gfx->Effect_Load(wav.data(), static_cast<uint32_t>(wav.size()));
    HCHANNEL mine1 = gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true);
    HCHANNEL mine2 = gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true);
    HCHANNEL theirs = gfx->Effect_PlayEx(other, 100, 0, 1.0f, true);
    gfx->Effect_Free(effect);
    EXPECT_FALSE(gfx->Channel_IsPlaying(mine1));
    EXPECT_FALSE(gfx->Channel_IsPlaying(mine2));
    EXPECT_TRUE(gfx->Channel_IsPlaying(theirs));
    EXPECT_EQ(gfx->Effect_PlayEx(effect), 0u);  // freed
    gfx->Effect_Free(other);
    EXPECT_FALSE(gfx->Channel_IsPlaying(theirs));
    effect = gfx->Effect_Load(wav.data(), static_cast<uint32_t>(wav.size()));
}

TEST_F(AudioTest, NoFreeVoiceGivesZero) {
    std::vector<HCHANNEL> channels;
    for (int i = 0; i < 100; ++i) channels.push_back(gfx->Effect_PlayEx(effect, 10, 0, 1.0f, true));
    EXPECT_NE(channels.front(), 0u);
    EXPECT_EQ(channels.back(), 0u);
    gfx->Effect_Free(effect);
    effect = gfx->Effect_Load(wav.data(), static_cast<uint32_t>(wav.size()));
}

TEST_F(AudioTest, BadHandlesAndPitchAreHarmless) {
    EXPECT_EQ(gfx->Effect_PlayEx(0), 0u);
    EXPECT_EQ(gfx->Effect_PlayEx(987654), 0u);
    for (HCHANNEL bad : {0u, 987654u}) {
        gfx->Channel_SetVolume(bad, 50);
        gfx->Channel_Pause(bad);
        gfx->Channel_Resume(bad);
        gfx->Channel_Stop(bad);
        EXPECT_FALSE(gfx->Channel_IsPlaying(bad));
    }
    gfx->Effect_Free(0);
    gfx->Effect_Free(987654);
    EXPECT_EQ(gfx->Effect_Load("no/such/sound.wav"), 0u);
    std::string junk(64, 'z');
    EXPECT_EQ(gfx->Effect_Load(junk.data(), static_cast<uint32_t>(junk.size())), 0u);

    // A pitch the mixer cannot play: logged once, played at normal speed.
    HCHANNEL c1 = gfx->Effect_PlayEx(effect, 100, 0, 2.0f);
    HCHANNEL c2 = gfx->Effect_PlayEx(effect, 100, 0, 0.5f);
    EXPECT_NE(c1, 0u);
    EXPECT_NE(c2, 0u);
    std::string log = ReadFile(LogPath());
    size_t first = log.find("pitch");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("pitch", first + 1), std::string::npos);
    gfx->Channel_Stop(c1);
    gfx->Channel_Stop(c2);
}

TEST_F(AudioTest, VolumeStates) {
    gfx->System_SetState(GFX_FXVOLUME, 150);
    EXPECT_EQ(gfx->System_GetState(GFX_FXVOLUME), 100);
    gfx->System_SetState(GFX_MUSVOLUME, -5);
    EXPECT_EQ(gfx->System_GetState(GFX_MUSVOLUME), 0);
    gfx->System_SetState(GFX_STREAMVOLUME, 40);
    EXPECT_EQ(gfx->System_GetState(GFX_STREAMVOLUME), 40);
    HCHANNEL c = gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true);
    gfx->System_SetState(GFX_FXVOLUME, 30);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    gfx->Channel_Stop(c);
    gfx->System_SetState(GFX_FXVOLUME, 100);
    gfx->System_SetState(GFX_MUSVOLUME, 100);
    gfx->System_SetState(GFX_STREAMVOLUME, 100);
}

}  // namespace
