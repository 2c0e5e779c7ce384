// The shared engine of the SDL engine tests: one window (64 x 48) opened once
// for the whole program, plus helpers to draw and read pictures back.
#pragma once

#include "engine/gfx.h"
#include "tests/engine/EngineHelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace enginetest {

constexpr int kScreenWidth = 64;
constexpr int kScreenHeight = 48;

// The engine every test uses, initiated with sound (dummy driver).
GFX* Engine();
// A folder of this run for files the tests make; removed at the end.
const std::string& TempFolder();
// The log file the engine writes to (absolute, in TempFolder()).
const std::string& LogPath();
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);
// Shuts the engine down and initiates it again with the given sound state
// (the first start too), retrying while the X server refuses the connection.
bool Restart(bool useSound);
// Destroys the shared engine and makes a fresh one in its place: no state
// set, not initiated. Settle() brings back the engine the tests expect.
GFX* Renew();
// Initiates the shared engine with the tests' states and sound on again,
// when Renew or Restart(false) left it otherwise.
void Settle();

inline HTEXTURE MakeTexture(const std::vector<uint32_t>& argb, int width, int height) {
    return MakeTexture(Engine(), argb, width, height);
}
inline std::vector<uint32_t> ReadTexture(HTEXTURE tex) { return ReadTexture(Engine(), tex); }
// Frames of the loop with this frame function (render function optional).
bool RunLoop(gfxCallback frame, gfxCallback render = nullptr);

// Base of the engine tests: the engine in `gfx`.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { gfx = Engine(); }
    GFX* gfx = nullptr;
};

}  // namespace enginetest
