#include "helpers/gfxRect.h"

#include <cmath>

gfxRect::gfxRect() : x1(0.0f), y1(0.0f), x2(0.0f), y2(0.0f), bClean(true) {}

gfxRect::gfxRect(float x1, float y1, float x2, float y2) : x1(x1), y1(y1), x2(x2), y2(y2), bClean(false) {}

void gfxRect::Clear() { bClean = true; }

void gfxRect::Encapsulate(float x, float y) {
    if (bClean) {
        x1 = x2 = x;
        y1 = y2 = y;
        bClean = false;
        return;
    }
    if (x < x1) x1 = x;
    if (x > x2) x2 = x;
    if (y < y1) y1 = y;
    if (y > y2) y2 = y;
}

bool gfxRect::TestPoint(float x, float y) const { return x >= x1 && x < x2 && y >= y1 && y < y2; }

bool gfxRect::Intersect(const gfxRect* rect) const {
    if (!rect) return false;
    // Twice the distance between the centres against the sum of the sizes.
    return std::fabs(x1 + x2 - rect->x1 - rect->x2) < (x2 - x1) + rect->x2 - rect->x1 &&
           std::fabs(y1 + y2 - rect->y1 - rect->y2) < (y2 - y1) + rect->y2 - rect->y1;
}

bool gfxRect::Intersect(const gfxRect& rect) const { return Intersect(&rect); }
