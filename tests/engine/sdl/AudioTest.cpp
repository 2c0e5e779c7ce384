// Effects and channels on SDL's dummy audio driver.
#include "EngineFixture.h"

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

using namespace enginetest;

namespace {

class AudioTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        wav = Wave(0.1);
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

// Each sound file that does not decode is named, once however often it is
// asked for, with the decoder's reason.
TEST_F(AudioTest, EachSoundThatDoesNotDecodeIsNamedOnce) {
    const std::string voc = "Creative Voice File\x1a\x1a" + std::string(12, '\0');
    const std::vector<std::string> files = {TempFolder() + "broken_a.wav", TempFolder() + "broken_b.ogg",
                                            TempFolder() + "refused.voc"};
    WriteFile(files[0], std::string(64, 'z'));
    WriteFile(files[1], std::string(64, 'y'));
    WriteFile(files[2], voc);
    for (int round = 0; round < 2; ++round)
        for (const std::string& file : files) EXPECT_EQ(gfx->Effect_Load(file.c_str()), 0u) << file;
    const std::string log = ReadFile(LogPath());
    for (const std::string& file : files) {
        const std::string line = "Effect_Load: cannot decode " + file + ": ";
        const size_t first = log.find(line);
        ASSERT_NE(first, std::string::npos) << log;
        EXPECT_NE(log[first + line.size()], '\n') << "no reason for " << file;
        EXPECT_EQ(log.find(line, first + 1), std::string::npos) << file;
    }
}

TEST_F(AudioTest, ASoundThatEndedIsNoLongerPlaying) {
    // Two seconds long, so a stall between the play and the first question
    // cannot end it; the dummy driver plays in real time, as slowly as the
    // machine's load lets it, so it has a minute to end.
    const std::string longWav = Wave(2.0);
    gfx->Effect_Free(effect);
    effect = gfx->Effect_Load(longWav.data(), static_cast<uint32_t>(longWav.size()));
    HCHANNEL c = gfx->Effect_PlayEx(effect);
    ASSERT_NE(c, 0u);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    auto start = std::chrono::steady_clock::now();
    while (gfx->Channel_IsPlaying(c) && std::chrono::steady_clock::now() - start < std::chrono::seconds(60))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(gfx->Channel_IsPlaying(c));
    gfx->Channel_SetVolume(c, 10);  // harmless on an ended channel
}

TEST_F(AudioTest, NoFreeVoiceGivesZero) {
    std::vector<HCHANNEL> channels;
    for (int i = 0; i < 100; ++i) channels.push_back(gfx->Effect_PlayEx(effect, 10, 0, 1.0f, true));
    EXPECT_NE(channels.front(), 0u);
    EXPECT_EQ(channels.back(), 0u);
    gfx->Effect_Free(effect);
    effect = gfx->Effect_Load(wav.data(), static_cast<uint32_t>(wav.size()));
}

TEST_F(AudioTest, JunkIsRefusedAndPitchIsHarmless) {
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

TEST_F(AudioTest, EffectsVolumeChangesWhatPlays) {
    HCHANNEL c = gfx->Effect_PlayEx(effect, 100, 0, 1.0f, true);
    gfx->System_SetState(GFX_FXVOLUME, 30);
    EXPECT_TRUE(gfx->Channel_IsPlaying(c));
    gfx->Channel_Stop(c);
    gfx->System_SetState(GFX_FXVOLUME, 100);
}

}  // namespace
