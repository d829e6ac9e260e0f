// Screen positions of the render device in 1/256 pixel (internal to the device).
#pragma once

#include <cmath>
#include <cstdint>

#include "render/renderdevice.h"

namespace render {

constexpr int kSubPixel = 256;

inline int32_t toFixed(double f) {
    // Far outside any screen: clamped so that edge products stay in 64 bits.
    constexpr double kLimit = 1 << 22;
    const double c = f < -kLimit ? -kLimit : f > kLimit ? kLimit : f;
    return static_cast<int32_t>(std::lround(c * kSubPixel));
}

}  // namespace render
