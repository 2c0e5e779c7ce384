// The shared engine of the SDL engine tests: one window (64 x 48) opened once
// for the whole program, plus helpers to draw and read pictures back.
#pragma once

#include "engine/gfx.h"

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

// A quad of the rectangle (x, y, w, h) over texture coordinates (u0, v0)-(u1, v1).
gfxQuad MakeQuad(float x, float y, float w, float h, HTEXTURE tex, int blend = BLEND_DEFAULT,
                 uint32_t color = 0xFFFFFFFF, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1);
// A texture with these texels (rows top-down), through a writable lock.
HTEXTURE MakeTexture(const std::vector<uint32_t>& argb, int width, int height);
// Every texel of a texture through a read-only lock; empty on failure.
std::vector<uint32_t> ReadTexture(HTEXTURE tex);
// Frames of the loop with this frame function (render function optional).
bool RunLoop(gfxCallback frame, gfxCallback render = nullptr);

// Base of the engine tests: the engine in `gfx`.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { gfx = Engine(); }
    GFX* gfx = nullptr;
};

// Channels of an ARGB value within `tolerance` of each other.
::testing::AssertionResult ColorNear(uint32_t actual, uint32_t expected, int tolerance);

}  // namespace enginetest
