// Sums of money, stars and scores that stop at the ends of an int32_t
// rather than wrapping round: nothing a player earns turns a total negative,
// and a total at the largest value stays there.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// The value, held within the range of an int32_t.
constexpr int32_t cappedValue(int64_t nValue) {
    return static_cast<int32_t>(std::clamp<int64_t>(nValue, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// a + b, stopped at the largest (or the smallest) value an int32_t holds.
constexpr int32_t cappedSum(int32_t a, int32_t b) { return cappedValue(static_cast<int64_t>(a) + b); }
