// Conversions of numbers that come from scripts or files: never undefined
// behaviour, whatever the value.
#pragma once

#include "script/LuaStack.h"

#include <cstdint>

// Truncated toward zero to 64 bits, then the low 32 bits; NaN and values
// outside the 64-bit range give 0.
inline int32_t TruncateToInt32(double value) { return static_cast<int32_t>(LuaNumberBits(value)); }
