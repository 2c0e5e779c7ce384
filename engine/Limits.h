// The size checks every engine makes in the same way, so that the recording
// engine refuses exactly what the real one refuses.
#pragma once

#include "engine/gfx.h"

#include <cstdint>

namespace gfxlimits {

// Sides of 1 to maxSide texels. In 64 bits, since a picture's header may
// claim any size.
inline bool SidesAllowed(int64_t width, int64_t height, int64_t maxSide = GFX_MAXTEXTURESIDE) {
    return width > 0 && height > 0 && width <= maxSide && height <= maxSide;
}

// A picture to load: sides allowed, and no more texels than the limit.
inline bool PictureAllowed(int64_t width, int64_t height) {
    return SidesAllowed(width, height) && width * height <= GFX_MAXPICTURETEXELS;
}

struct LockRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The rectangle of a lock on a surface: width or height 0 stands for the
// whole surface. False for a rectangle that leaves the surface.
inline bool FitLock(int surfaceWidth, int surfaceHeight, LockRect& rect) {
    if (rect.width == 0 || rect.height == 0) rect = LockRect{0, 0, surfaceWidth, surfaceHeight};
    // Subtracted from the surface's sides, so that no sum can overflow.
    return rect.left >= 0 && rect.top >= 0 && rect.width >= 0 && rect.height >= 0 &&
           rect.left <= surfaceWidth - rect.width && rect.top <= surfaceHeight - rect.height;
}

}  // namespace gfxlimits
