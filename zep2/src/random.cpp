#include "zep2/random.h"

#include "zep2/platform_time.h"

namespace {

constexpr int kMiddle = 397;
constexpr uint32_t kMatrixA = 0x9908B0DFu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr double kTwoToMinus32 = 1.0 / 4294967296.0;

}  // namespace

namespace Zep {

Random::Random() { seed(static_cast<uint32_t>(PlatformTime::now())); }

void Random::seed(uint32_t seed) {
    m_aState[0] = seed;
    for (int i = 1; i < kStateSize; ++i) {
        const uint32_t prev = m_aState[i - 1];
        m_aState[i] = 1812433253u * (prev ^ (prev >> 30)) + static_cast<uint32_t>(i);
    }
    m_nIndex = kStateSize;
}

void Random::seedByArray(const uint32_t* keys, int count) {
    seed(19650218u);
    if (count <= 0 || keys == nullptr) return;
    int i = 1;
    int j = 0;
    for (int k = (kStateSize > count ? kStateSize : count); k > 0; --k) {
        const uint32_t prev = m_aState[i - 1];
        m_aState[i] = (m_aState[i] ^ ((prev ^ (prev >> 30)) * 1664525u)) + keys[j] +
                      static_cast<uint32_t>(j);
        ++i;
        ++j;
        if (i >= kStateSize) {
            m_aState[0] = m_aState[kStateSize - 1];
            i = 1;
        }
        if (j >= count) j = 0;
    }
    for (int k = kStateSize - 1; k > 0; --k) {
        const uint32_t prev = m_aState[i - 1];
        m_aState[i] = (m_aState[i] ^ ((prev ^ (prev >> 30)) * 1566083941u)) - static_cast<uint32_t>(i);
        ++i;
        if (i >= kStateSize) {
            m_aState[0] = m_aState[kStateSize - 1];
            i = 1;
        }
    }
    m_aState[0] = 0x80000000u;
}

void Random::regenerate() {
    auto twist = [this](int i, int following, int far) {
        const uint32_t y = (m_aState[i] & kUpperMask) | (m_aState[following] & kLowerMask);
        m_aState[i] = m_aState[far] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    };
    int i = 0;
    for (; i < kStateSize - kMiddle; ++i) twist(i, i + 1, i + kMiddle);
    for (; i < kStateSize - 1; ++i) twist(i, i + 1, i + kMiddle - kStateSize);
    twist(kStateSize - 1, 0, kMiddle - 1);
    m_nIndex = 0;
}

uint32_t Random::next() {
    if (m_nIndex >= kStateSize) regenerate();
    uint32_t y = m_aState[m_nIndex++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

// Exact: every 32-bit value times 2^-32 is a double.
double Random::toReal(uint32_t r) { return static_cast<double>(r) * kTwoToMinus32; }

double Random::nextReal() { return toReal(next()); }

int32_t Random::randInt(int32_t lo, int32_t hi) {
    // The span is taken in 64 bits: hi - lo + 1 reaches 2^32 for the full range.
    const int64_t span = static_cast<int64_t>(hi) - lo + 1;
    const int64_t value = lo + static_cast<int64_t>(nextReal() * static_cast<double>(span));
    return value > hi ? hi : static_cast<int32_t>(value);
}

double Random::randFloat(double lo, double hi) { return lo + (hi - lo) * nextReal(); }

}  // namespace Zep
