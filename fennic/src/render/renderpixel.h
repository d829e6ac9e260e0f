// The render device's per-pixel pipeline (internal to the device): texel x
// diffuse, alpha test, stencil test and the blend, as renderdevice.h states
// them. The blend kind is a template argument so that the row loops of the
// common cases carry no per-pixel switch.
#pragma once

#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/renderdevice.h"

namespace render::pixel {

// x / 255 rounded to nearest for 0 <= x <= 65025 (x / 255 is never a half),
// in shifts and adds so that row loops vectorise.
inline uint32_t div255(uint32_t x) {
    x += 128u;
    return (x + (x >> 8)) >> 8;
}
// Products and blends of 8-bit channels, rounded to nearest.
inline uint32_t mul(uint32_t a, uint32_t b) { return div255(a * b); }

enum class Kind { Normal, Additive, NoColour, Generic };

Kind kindOf(const DrawStates& states);

// A source pixel after texel x diffuse.
struct Rgba {
    uint32_t r, g, b, a;
};

inline Rgba unpack(uint32_t nArgb) { return {(nArgb >> 16) & 0xFFu, (nArgb >> 8) & 0xFFu, nArgb & 0xFFu, nArgb >> 24}; }

inline bool compare(Compare eFunc, uint32_t nValue, uint32_t nRef) {
    switch (eFunc) {
        case Compare::Never: return false;
        case Compare::Always: return true;
        case Compare::Equal: return nValue == nRef;
        case Compare::Greater: return nValue > nRef;
    }
    return false;
}

uint32_t factor(BlendFactor eFactor, uint32_t nAlpha);

// One channel of the blend.
template <Kind K>
inline uint32_t blendChannel(uint32_t s, uint32_t d, uint32_t a, const DrawStates& states) {
    if constexpr (K == Kind::Normal) return div255(s * a + d * (255u - a));
    if constexpr (K == Kind::Additive) {
        const uint32_t v = d + mul(s, a);
        return v > 255u ? 255u : v;
    }
    if constexpr (K == Kind::NoColour) return d;
    const uint32_t v = (s * factor(states.eSrc, a) + d * factor(states.eDst, a) + 127u) / 255u;
    return v > 255u ? 255u : v;
}

template <Kind K>
inline void blend(uint32_t& nDst, const Rgba& s, const DrawStates& states) {
    if constexpr (K == Kind::NoColour) return;
    const uint32_t r = blendChannel<K>(s.r, (nDst >> 16) & 0xFFu, s.a, states);
    const uint32_t g = blendChannel<K>(s.g, (nDst >> 8) & 0xFFu, s.a, states);
    const uint32_t b = blendChannel<K>(s.b, nDst & 0xFFu, s.a, states);
    nDst = 0xFF000000u | (r << 16) | (g << 8) | b;
}

// Alpha and stencil tests with the stencil update; false drops the pixel.
// pStencil is null without a stencil plane.
inline bool passTests(const DrawStates& states, uint8_t* pStencil, uint32_t nAlpha) {
    if (states.bAlphaTest && !compare(states.eAlphaFunc, nAlpha, states.nAlphaRef)) return false;
    const StencilState& st = states.stencil;
    if (!st.bEnabled || !pStencil) return true;
    const bool bPass = compare(st.eFunc, *pStencil & st.nMask, st.nRef & st.nMask);
    const StencilOp eOp = bPass ? st.ePass : st.eFail;
    if (eOp == StencilOp::Replace) *pStencil = st.nRef;
    return bPass;
}

// A row of texels x diffuse blended normally, without tests: the common
// sprite. nAlphaOr is 0xFF for an opaque texture (its alpha byte is not
// read). Every intermediate fits in 16 bits, so four pixels at a time go
// through SSE2's 16-bit lanes with the same results.
inline uint16_t div255w(uint16_t x) {
    x = static_cast<uint16_t>(x + 128u);
    return static_cast<uint16_t>((x + (x >> 8)) >> 8);
}
inline uint16_t mulw(uint16_t a, uint16_t b) { return div255w(static_cast<uint16_t>(a * b)); }

#if defined(__SSE2__)
// div255w on eight 16-bit lanes.
inline __m128i div255w(__m128i x) {
    x = _mm_add_epi16(x, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// normalRow for two pixels, each channel a 16-bit lane (blue first):
// texels t over destination o, the diffuse and the alpha OR laid out alike.
inline __m128i normalLanes(__m128i t, __m128i o, __m128i diffuse, __m128i alphaOr) {
    const __m128i m = div255w(_mm_mullo_epi16(_mm_or_si128(t, alphaOr), diffuse));  // colours and alpha
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(m, 0xFF), 0xFF);
    const __m128i na = _mm_sub_epi16(_mm_set1_epi16(255), a);
    return div255w(_mm_add_epi16(_mm_mullo_epi16(m, a), _mm_mullo_epi16(o, na)));
}
#endif

inline void normalRow(const uint32_t* pTexels, uint32_t* pDst, int n, const Rgba& d, uint32_t nAlphaOr) {
    const auto dr = static_cast<uint16_t>(d.r), dg = static_cast<uint16_t>(d.g), db = static_cast<uint16_t>(d.b);
    const auto da = static_cast<uint16_t>(d.a), aor = static_cast<uint16_t>(nAlphaOr);
    int i = 0;
#if defined(__SSE2__)
    const auto sd = [](uint16_t v) { return static_cast<short>(v); };
    const __m128i diffuse = _mm_set_epi16(sd(da), sd(dr), sd(dg), sd(db), sd(da), sd(dr), sd(dg), sd(db));
    const __m128i alphaOr = _mm_set_epi16(sd(aor), 0, 0, 0, sd(aor), 0, 0, 0);
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4) {
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pTexels + i));
        const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pDst + i));
        const __m128i lo = normalLanes(_mm_unpacklo_epi8(t, zero), _mm_unpacklo_epi8(o, zero), diffuse, alphaOr);
        const __m128i hi = normalLanes(_mm_unpackhi_epi8(t, zero), _mm_unpackhi_epi8(o, zero), diffuse, alphaOr);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pDst + i),
                         _mm_or_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(static_cast<int>(0xFF000000u))));
    }
#endif
    for (; i < n; ++i) {
        const uint32_t t = pTexels[i], o = pDst[i];
        const uint16_t a = mulw(static_cast<uint16_t>((t >> 24) | aor), da);
        const auto na = static_cast<uint16_t>(255u - a);
        const uint16_t r = div255w(static_cast<uint16_t>(mulw(static_cast<uint16_t>((t >> 16) & 0xFFu), dr) * a +
                                                         static_cast<uint16_t>((o >> 16) & 0xFFu) * na));
        const uint16_t g = div255w(static_cast<uint16_t>(mulw(static_cast<uint16_t>((t >> 8) & 0xFFu), dg) * a +
                                                         static_cast<uint16_t>((o >> 8) & 0xFFu) * na));
        const uint16_t b = div255w(
            static_cast<uint16_t>(mulw(static_cast<uint16_t>(t & 0xFFu), db) * a + static_cast<uint16_t>(o & 0xFFu) * na));
        pDst[i] = 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    }
}

inline bool needsTests(const DrawStates& states, bool bHasStencil) {
    return states.bAlphaTest || (states.stencil.bEnabled && bHasStencil);
}

}  // namespace render::pixel
