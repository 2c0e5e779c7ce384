// A colour as four float channels, each nominally 0 to 1.
#pragma once

struct gfxColor {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};
