// Chunk claims of RIFF WAVE sounds cut to the bytes that are there.
#include "engine/sdl/WaveChunks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Little32(uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
}

// RIFF WAVE with a 16-byte "fmt " chunk, an odd "LIST" chunk (one pad byte),
// then a "data" chunk claiming `claimed` bytes of the `present` given.
std::string Wave(uint32_t claimed, size_t present) {
    std::string body = "WAVEfmt " + Little32(16) + std::string(16, 'f') + "LIST" + Little32(3) + "abc" +
                       std::string(1, '\0') + "data" + Little32(claimed) + std::string(present, 'd');
    return "RIFF" + Little32(static_cast<uint32_t>(body.size())) + body;
}

std::vector<uint8_t> Fit(const std::string& wave) {
    return gfxsdl::FitWaveChunks(reinterpret_cast<const uint8_t*>(wave.data()), wave.size());
}

}  // namespace

TEST(WaveChunksTest, ClaimsBeyondTheEndAreCutToWhatIsThere) {
    EXPECT_TRUE(Fit(Wave(10, 10)).empty()) << "a whole file is left alone";
    EXPECT_TRUE(Fit(Wave(10, 12)).empty()) << "bytes after the last chunk are left alone";
    EXPECT_TRUE(Fit("OggS" + std::string(40, 'o')).empty()) << "not a WAVE file";
    EXPECT_TRUE(Fit("RIFF").empty());

    const std::string cut = Wave(0xFFFFFF40u, 6);
    const std::vector<uint8_t> fitted = Fit(cut);
    ASSERT_EQ(fitted.size(), cut.size());
    const std::string expected = Wave(6, 6);
    EXPECT_EQ(std::string(fitted.begin(), fitted.end()).substr(8), expected.substr(8));

    // Without its RIFF header the chunks start right after "WAVE".
    const std::string bare = Wave(0xFFFFFF40u, 6).substr(8);
    const std::vector<uint8_t> fittedBare = Fit(bare);
    ASSERT_EQ(fittedBare.size(), bare.size());
    EXPECT_EQ(std::string(fittedBare.begin(), fittedBare.end()), expected.substr(8));

    // A chunk before the data that claims too much is cut, and nothing after it is read.
    std::string early = "RIFF" + Little32(40) + "WAVEfmt " + Little32(1000) + std::string(8, 'f');
    const std::vector<uint8_t> fittedEarly = Fit(early);
    ASSERT_EQ(fittedEarly.size(), early.size());
    EXPECT_EQ(std::string(fittedEarly.begin() + 16, fittedEarly.begin() + 20), Little32(8));
}
