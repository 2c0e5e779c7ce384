// An axis-parallel rectangle that can be grown point by point from an empty
// state: bounding boxes, hit areas and the host's intersection test.
#pragma once

class gfxRect {
public:
    float x1, y1;  // left and top edge
    float x2, y2;  // right and bottom edge
    bool bClean;   // holds no point yet; the edges are then stale

    // Edges at 0 so a rectangle that never held a point contains no point.
    gfxRect();
    gfxRect(float x1, float y1, float x2, float y2);

    void Clear();
    void Encapsulate(float x, float y);
    // Right and bottom edges are outside.
    bool TestPoint(float x, float y) const;
    // Strict: rectangles that only touch do not intersect.
    bool Intersect(const gfxRect* rect) const;
    bool Intersect(const gfxRect& rect) const;
};
