#include "host/ProgramIcon.h"

#include "engine/gfx.h"

#include <cstdint>
#include <vector>

namespace {
constexpr int kSize = 32;

// A round amber badge with a darker rim: drawn from a formula, not a file.
uint32_t IconTexel(int x, int y) {
    const int dx = 2 * x + 1 - kSize, dy = 2 * y + 1 - kSize;
    const int d2 = dx * dx + dy * dy;
    const int r2 = kSize * kSize;
    if (d2 > r2) return 0x00000000;
    if (d2 > r2 * 3 / 4) return 0xFF7A4A12;
    const bool stripe = ((x + y) / 4) % 2 == 0;
    return stripe ? 0xFFE8A33Cu : 0xFFC9862Au;
}
}  // namespace

void RegisterProgramIcon(GFX* engine) {
    std::vector<uint32_t> texels(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) texels[y * kSize + x] = IconTexel(x, y);
    engine->System_RegisterIcon(kProgramIconId, texels.data(), kSize, kSize);
}
