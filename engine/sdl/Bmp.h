// 24-bit BMP files of ARGB pictures (alpha dropped).
#pragma once

#include <cstdint>
#include <string>

namespace gfxsdl {

// rows top-down, `width` texels each. False when the file cannot be written.
bool WriteBmp24(const std::string& path, const uint32_t* argb, int width, int height);

// A name "shotNNN.bmp" in `folder` that no file has yet; empty when all are taken.
std::string NextSnapshotName(const std::string& folder);

}  // namespace gfxsdl
