// Zep::Random: the MT19937 Mersenne Twister behind integer and real draws.
#pragma once

#include <cstdint>

namespace Zep {

class Random {
public:
    static constexpr int kStateSize = 624;

    Random();  // seeded from the clock, so runs differ
    virtual ~Random() = default;

    void seed(uint32_t seed);
    // A count of 0 or less leaves the state as seed(19650218) made it.
    void seedByArray(const uint32_t* keys, int count);

    uint32_t next();
    double nextReal();                    // [0, 1): toReal(next())
    int32_t randInt(int32_t lo, int32_t hi);  // lo..hi; hi when hi < lo
    double randFloat(double lo, double hi);

    // Exactly r / 2^32, so 1.0 never comes out.
    static double toReal(uint32_t r);

private:
    void regenerate();

    uint32_t m_aState[kStateSize];
    int32_t m_nIndex = kStateSize;
};

}  // namespace Zep
