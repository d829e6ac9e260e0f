// The render device's rasteriser: the row-copy path for aligned quads and
// the edge-function path for every other triangle (renderdevice.h states
// the rules both keep).
#include <algorithm>
#include <cmath>
#include <memory>

#include "render/renderpixel.h"
#include "render/renderraster.h"

namespace render {

namespace pixel {

Kind kindOf(const DrawStates& states) {
    if (states.eSrc == BlendFactor::SrcAlpha && states.eDst == BlendFactor::InvSrcAlpha) return Kind::Normal;
    if (states.eSrc == BlendFactor::SrcAlpha && states.eDst == BlendFactor::One) return Kind::Additive;
    if (states.eSrc == BlendFactor::Zero && states.eDst == BlendFactor::One) return Kind::NoColour;
    return Kind::Generic;
}

uint32_t factor(BlendFactor eFactor, uint32_t nAlpha) {
    switch (eFactor) {
        case BlendFactor::Zero: return 0;
        case BlendFactor::One: return 255;
        case BlendFactor::SrcAlpha: return nAlpha;
        case BlendFactor::InvSrcAlpha: return 255 - nAlpha;
    }
    return 0;
}

}  // namespace pixel

namespace {

using pixel::Kind;
using pixel::Rgba;

// Texel x diffuse for every channel value, made once per primitive.
struct Modulation {
    uint8_t r[256], g[256], b[256], a[256];

    explicit Modulation(const Rgba& d) {
        for (uint32_t v = 0; v < 256; ++v) {
            r[v] = static_cast<uint8_t>(pixel::mul(v, d.r));
            g[v] = static_cast<uint8_t>(pixel::mul(v, d.g));
            b[v] = static_cast<uint8_t>(pixel::mul(v, d.b));
            a[v] = static_cast<uint8_t>(pixel::mul(v, d.a));
        }
    }
    Rgba apply(uint32_t nTexel, bool bTexAlpha) const {
        return {r[(nTexel >> 16) & 0xFFu], g[(nTexel >> 8) & 0xFFu], b[nTexel & 0xFFu], a[bTexAlpha ? nTexel >> 24 : 255u]};
    }
};

// What one primitive draws into.
struct Target {
    uint32_t* pBack;
    uint8_t* pStencil;  // null without a plane
    int nPitch;
    const DrawStates& states;
    const Texture* pTexture;
    Rgba diffuse;
    bool bTests;
    bool bSkipClear;  // pixels reading only clear texels may be skipped
    bool bCopySolid;  // aligned rows copy their opaque texels
};

// Whether a source pixel of alpha 0 leaves the back buffer and the stencil
// as they are: the alpha test drops it, or it passes the tests without
// touching the stencil and the blend keeps the destination (the back
// buffer's alpha byte is always 0xFF, as every blend writes it).
bool clearIsNoOp(const DrawStates& s, bool bTests) {
    if (s.bAlphaTest && !pixel::compare(s.eAlphaFunc, 0, s.nAlphaRef)) return true;
    const StencilState& st = s.stencil;
    if (bTests && st.bEnabled && (st.ePass == StencilOp::Replace || st.eFail == StencilOp::Replace)) return false;
    const bool bSrcGone = s.eSrc == BlendFactor::Zero || s.eSrc == BlendFactor::SrcAlpha;
    return bSrcGone && (s.eDst == BlendFactor::One || s.eDst == BlendFactor::InvSrcAlpha);
}

int floorDiv(int64_t a, int b) { return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b)); }
int ceilDiv(int64_t a, int b) { return -floorDiv(-a, b); }
int modPositive(int32_t a, int b) { return ((a % b) + b) % b; }
bool nearInteger(double f) { return std::fabs(f - std::round(f)) < 1e-3; }
// floor(a / b) and ceil(a / b) for b > 0.
int64_t floorDiv64(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t ceilDiv64(int64_t a, int64_t b) { return -floorDiv64(-a, b); }

template <Kind K>
inline void shade(const Target& t, size_t nIndex, const Rgba& s) {
    if (t.bTests && !pixel::passTests(t.states, t.pStencil ? t.pStencil + nIndex : nullptr, s.a)) return;
    pixel::blend<K>(t.pBack[nIndex], s, t.states);
}

// One row of an aligned quad: texels k.. onto pixels x0..x1 - 1.
template <Kind K>
void alignedRow(const Target& t, const Modulation& mod, const uint32_t* pTexels, size_t nRow, int x0, int x1) {
    const bool bAlpha = t.pTexture->hasAlpha();
    for (int x = x0; x < x1; ++x) shade<K>(t, nRow + x, mod.apply(*pTexels++, bAlpha));
}

// An opaque texture, white and unblended: the texels themselves.
bool isCopy(const Target& t, Kind eKind) {
    return eKind == Kind::Normal && !t.bTests && !t.pTexture->hasAlpha() && t.diffuse.r == 255 &&
           t.diffuse.g == 255 && t.diffuse.b == 255 && t.diffuse.a == 255;
}

// n texels as opaque pixels (texture and back buffer never overlap); kept
// out of line so that it vectorises whatever the caller.
[[gnu::noinline]] void copyRow(const uint32_t* __restrict pTexels, uint32_t* __restrict pDst, int n) {
    for (int i = 0; i < n; ++i) pDst[i] = pTexels[i] | 0xFF000000u;
}

// A row of texels with alpha, white and blended normally: its opaque run
// copied (texel x white over anything at alpha 255 is the texel), the rest
// blended. Texel k lands on pixel x0 + k - k0.
void solidSplitRow(const Target& t, const uint32_t* pTexels, const TexelSpan& span, size_t nRow, int k0, int x0,
                   int x1) {
    const int xs = std::clamp(x0 + span.nSolidFirst - k0, x0, x1);
    const int xe = std::clamp(x0 + span.nSolidLast + 1 - k0, xs, x1);
    pixel::normalRow(pTexels, t.pBack + nRow + x0, xs - x0, t.diffuse, 0u);
    copyRow(pTexels + (xs - x0), t.pBack + nRow + xs, xe - xs);
    pixel::normalRow(pTexels + (xe - x0), t.pBack + nRow + xe, x1 - xe, t.diffuse, 0u);
}

template <Kind K>
void alignedRows(const Target& t, int tx, int ty, int x0, int x1, int y0, int y1) {
    const int nTexW = t.pTexture->width();
    const bool bCopy = isCopy(t, K);
    const std::unique_ptr<Modulation> pMod = bCopy ? nullptr : std::make_unique<Modulation>(t.diffuse);
    const TexelSpan* pSpans = t.bSkipClear || t.bCopySolid ? t.pTexture->alphaSpans() : nullptr;
    for (int y = y0; y < y1; ++y) {
        int xa = x0, xb = x1;
        if (t.bSkipClear) {
            // One texel per pixel: texels outside the row's span leave their pixels alone.
            const TexelSpan span = pSpans[ty + y - y0];
            xa = std::max(x0, x0 + span.nFirst - tx);
            xb = std::min(x1, x0 + span.nLast - tx + 1);
            if (xa >= xb) continue;
        }
        const uint32_t* pTexels = t.pTexture->texels() + static_cast<size_t>(ty + y - y0) * nTexW + tx + (xa - x0);
        const size_t nRow = static_cast<size_t>(y) * t.nPitch;
        if (K == Kind::Normal && t.bCopySolid)
            solidSplitRow(t, pTexels, pSpans[ty + y - y0], nRow, xa - (x0 - tx), xa, xb);
        else if (bCopy)
            copyRow(pTexels, t.pBack + nRow + xa, xb - xa);
        else if (K == Kind::Normal && !t.bTests)
            pixel::normalRow(pTexels, t.pBack + nRow + xa, xb - xa, t.diffuse, t.pTexture->hasAlpha() ? 0u : 0xFFu);
        else
            alignedRow<K>(t, *pMod, pTexels, nRow, xa, xb);
    }
}

// Both 8-bit lanes of 0x00FF00FF-masked words at once: a + (b - a) f / 256.
inline uint32_t lerpLanes(uint32_t a, uint32_t b, uint32_t f) {
    return ((a * (256u - f) + b * f + 0x00800080u) >> 8) & 0x00FF00FFu;
}

inline uint32_t lerpTexels(uint32_t a, uint32_t b, uint32_t f) {
    return lerpLanes(a & 0x00FF00FFu, b & 0x00FF00FFu, f) | (lerpLanes((a >> 8) & 0x00FF00FFu, (b >> 8) & 0x00FF00FFu, f) << 8);
}

// Texture coordinates in texels (texel centres at integers) with 32
// fractional bits.
constexpr double kCoordOne = 4294967296.0;

// Bilinear with clamped addressing; weights snapped to 1/256, rounded, so a
// coordinate within 1/512 of a texel centre takes that texel alone.
inline uint32_t sampleLinear(const Texture& tex, int64_t tx, int64_t ty) {
    tx += int64_t(1) << 23;
    ty += int64_t(1) << 23;
    int x = static_cast<int>(tx >> 32);
    int y = static_cast<int>(ty >> 32);
    const auto fx = static_cast<uint32_t>((tx >> 24) & 0xFF);
    const auto fy = static_cast<uint32_t>((ty >> 24) & 0xFF);
    const int w = tex.width(), h = tex.height();
    const int x1 = std::clamp(x + 1, 0, w - 1), y1 = std::clamp(y + 1, 0, h - 1);
    x = std::clamp(x, 0, w - 1);
    y = std::clamp(y, 0, h - 1);
    const uint32_t* pRow0 = tex.texels() + static_cast<size_t>(y) * w;
    const uint32_t* pRow1 = tex.texels() + static_cast<size_t>(y1) * w;
    const uint32_t top = fx ? lerpTexels(pRow0[x], pRow0[x1], fx) : pRow0[x];
    if (!fy) return top;
    const uint32_t bottom = fx ? lerpTexels(pRow1[x], pRow1[x1], fx) : pRow1[x];
    return lerpTexels(top, bottom, fy);
}

inline uint32_t samplePoint(const Texture& tex, int64_t tx, int64_t ty) {
    const int x = std::clamp(static_cast<int>((tx + (int64_t(1) << 31)) >> 32), 0, tex.width() - 1);
    const int y = std::clamp(static_cast<int>((ty + (int64_t(1) << 31)) >> 32), 0, tex.height() - 1);
    return tex.texels()[static_cast<size_t>(y) * tex.width() + x];
}

// The texels a sample reads: index (c + nOffset) >> 32 of coordinate c and
// nExtra more to the right and below, each clamped to the texture.
struct Reach {
    int64_t nOffset;
    int nExtra;
};
constexpr Reach kLinearReach{int64_t(1) << 23, 1}, kPointReach{int64_t(1) << 31, 0};

// A run of n pixels sampling at (u + k du, v + k dv), k = 0 .. n - 1: the
// pixels k0 .. k1 that may read a texel whose alpha is not 0 (every other one
// reads clear texels alone, and its texel x diffuse has alpha 0); false when
// none. Far-off coordinates keep the whole run.
bool visibleRun(const Texture& tex, const Reach& r, int64_t u, int64_t du, int64_t v, int64_t dv, int n, int& k0,
                int& k1) {
    constexpr int64_t kFar = int64_t(1) << 52, kSteep = int64_t(1) << 40;
    k0 = 0;
    k1 = n - 1;
    const auto bOutside = [](int64_t c, int64_t nLimit) { return c > nLimit || c < -nLimit; };
    if (bOutside(u, kFar) || bOutside(v, kFar) || bOutside(du, kSteep) || bOutside(dv, kSteep)) return true;
    const int w = tex.width(), h = tex.height();
    const int64_t va = v + r.nOffset, vb = va + (n - 1) * dv;
    const auto ya = static_cast<int>(std::clamp<int64_t>(std::min(va, vb) >> 32, 0, h - 1));
    const auto yb = static_cast<int>(std::clamp<int64_t>((std::max(va, vb) >> 32) + r.nExtra, 0, h - 1));
    int nFirst = w, nLast = -1;
    const TexelSpan* pSpans = tex.alphaSpans();
    for (int y = ya; y <= yb; ++y)
        if (pSpans[y].nFirst <= pSpans[y].nLast) {
            nFirst = std::min(nFirst, pSpans[y].nFirst);
            nLast = std::max(nLast, pSpans[y].nLast);
        }
    if (nFirst > nLast) return false;
    // Needed: index >= nFirst - nExtra (unless the span starts at the clamped
    // left edge) and index <= nLast (unless it ends at the right edge), as
    // bounds on k du.
    const bool bLow = nFirst > 0, bHigh = nLast < w - 1;
    const int64_t nLow = (int64_t(nFirst - r.nExtra) << 32) - u - r.nOffset;
    const int64_t nHigh = ((int64_t(nLast) + 1) << 32) - 1 - u - r.nOffset;
    int64_t kLo = 0, kHi = n - 1;
    if (du > 0) {
        if (bLow) kLo = std::max(kLo, ceilDiv64(nLow, du));
        if (bHigh) kHi = std::min(kHi, floorDiv64(nHigh, du));
    } else if (du < 0) {
        if (bLow) kHi = std::min(kHi, floorDiv64(-nLow, -du));
        if (bHigh) kLo = std::max(kLo, ceilDiv64(-nHigh, -du));
    } else if ((bLow && nLow > 0) || (bHigh && nHigh < 0)) {
        return false;
    }
    k0 = static_cast<int>(kLo);
    k1 = static_cast<int>(kHi);
    return kLo <= kHi;
}

// An edge a -> b as a linear function of the pixel position: E = A x + B y + C
// (pixel units), with the top-left bias folded in.
struct Edge {
    int64_t nA, nB, nC;
    int64_t at(int x, int y) const { return nA * x + nB * y + nC; }
};

using SV = RenderDevice::ScreenVertex;

Edge edgeOf(const SV& a, const SV& b) {
    const int64_t dx = b.x - a.x;
    const int64_t dy = b.y - a.y;
    const bool bTopLeft = (dy == 0 && dx > 0) || dy < 0;
    // E(P) = dx (P.y - a.y) - dy (P.x - a.x), P in 1/256: inside when > 0.
    return {-dy * kSubPixel, dx * kSubPixel, dy * a.x - dx * a.y + (bTopLeft ? 1 : 0)};
}

// std::llround inline (halves away from zero); the difference from the
// truncated value is exact, so the comparison with a half is too.
inline int64_t roundHalfAway(double f) {
    if (!(std::fabs(f) < 4.0e18)) return std::llround(f);
    auto n = static_cast<int64_t>(f);
    const double fRest = f - static_cast<double>(n);
    if (fRest >= 0.5)
        ++n;
    else if (fRest <= -0.5)
        --n;
    return n;
}

// A texture coordinate as a plane over the pixel position, in texels from
// the first texel's centre, fixed point: value = dX x + dY y + c.
struct Plane {
    int64_t dX, dY;
    double c, fdX, fdY;
    int64_t at(int x, int y) const { return roundHalfAway((fdX * x + fdY * y + c) * kCoordOne); }
};

Plane planeOf(const SV& a, const SV& b, const SV& c, float SV::*pField, int nSize) {
    const double ax = a.x / double(kSubPixel), ay = a.y / double(kSubPixel);
    const double bx = b.x / double(kSubPixel) - ax, by = b.y / double(kSubPixel) - ay;
    const double cx = c.x / double(kSubPixel) - ax, cy = c.y / double(kSubPixel) - ay;
    const double fa = a.*pField * nSize - 0.5;
    const double fb = b.*pField * nSize - 0.5 - fa, fc = c.*pField * nSize - 0.5 - fa;
    const double det = bx * cy - by * cx;
    const double dX = (fb * cy - fc * by) / det;
    const double dY = (fc * bx - fb * cx) / det;
    return {std::llround(dX * kCoordOne), std::llround(dY * kCoordOne), fa - dX * ax - dY * ay, dX, dY};
}

struct Bounds {
    int x0, y0, x1, y1;  // inclusive
    int xBase;           // where the rows' coordinates start (x0 unless clipped)
};

// Pixels x0..x1 of a row, sampling from (tu, tv): cut to the pixels that may
// read a texel that is not clear, the coordinates moved to the new first
// pixel; false when none is left.
template <bool bLinear>
bool cutToVisible(const Target& t, const Plane& pu, const Plane& pv, int64_t& tu, int64_t& tv, int& x0, int& x1) {
    int k0 = 0, k1 = 0;
    if (!visibleRun(*t.pTexture, bLinear ? kLinearReach : kPointReach, tu, pu.dX, tv, pv.dX, x1 - x0 + 1, k0, k1))
        return false;
    tu += k0 * pu.dX;
    tv += k0 * pv.dX;
    x1 = x0 + k1;
    x0 += k0;
    return true;
}

template <Kind K, bool bTextured, bool bLinear>
void rasterRows(const Target& t, const SV& a, const SV& b, const SV& c, const Bounds& box) {
    const Edge e0 = edgeOf(b, c), e1 = edgeOf(c, a), e2 = edgeOf(a, b);
    const int nW = bTextured ? t.pTexture->width() : 1, nH = bTextured ? t.pTexture->height() : 1;
    const Plane pu = planeOf(a, b, c, &SV::u, nW), pv = planeOf(a, b, c, &SV::v, nH);
    const std::unique_ptr<Modulation> pMod = bTextured ? std::make_unique<Modulation>(t.diffuse) : nullptr;
    const bool bAlpha = bTextured && t.pTexture->hasAlpha();
    for (int y = box.y0; y <= box.y1; ++y) {
        const size_t nRow = static_cast<size_t>(y) * t.nPitch;
        int64_t d0 = e0.at(box.x0, y), d1 = e1.at(box.x0, y), d2 = e2.at(box.x0, y);
        const int64_t nSkip = box.x0 - box.xBase;
        int64_t tu = bTextured ? pu.at(box.xBase, y) + nSkip * pu.dX : 0;
        int64_t tv = bTextured ? pv.at(box.xBase, y) + nSkip * pv.dX : 0;
        int x0 = box.x0, x1 = box.x1;
        if (bTextured && t.bSkipClear) {
            if (!cutToVisible<bLinear>(t, pu, pv, tu, tv, x0, x1)) continue;
            d0 += (x0 - box.x0) * e0.nA;
            d1 += (x0 - box.x0) * e1.nA;
            d2 += (x0 - box.x0) * e2.nA;
        }
        for (int x = x0; x <= x1; ++x, d0 += e0.nA, d1 += e1.nA, d2 += e2.nA, tu += pu.dX, tv += pv.dX) {
            if (((d0 - 1) | (d1 - 1) | (d2 - 1)) < 0) continue;
            if constexpr (bTextured) {
                const uint32_t nTexel = bLinear ? sampleLinear(*t.pTexture, tu, tv) : samplePoint(*t.pTexture, tu, tv);
                shade<K>(t, nRow + x, pMod->apply(nTexel, bAlpha));
            } else {
                shade<K>(t, nRow + x, t.diffuse);
            }
        }
    }
}

// Each row's pixels whose three edge values are >= 1 (rasterRows' test),
// solved per edge instead of tried per pixel. An edge whose value does not
// change down the rows (a vertical one) bounds every row alike: solved once.
class RowSpans {
public:
    RowSpans(const Edge (&e)[3], const Bounds& box) : m_nLo(box.x0), m_nHi(box.x1) {
        for (const Edge& edge : e)
            if (edge.nB == 0 && edge.nA != 0)
                narrow(edge, edge.nC, m_nLo, m_nHi);
            else
                m_aEdges[m_nEdges++] = edge;
    }
    // Row y's pixels x0..x1; false when none.
    bool row(int y, int& x0, int& x1) const {
        int64_t lo = m_nLo, hi = m_nHi;
        for (int i = 0; i < m_nEdges; ++i) {
            const Edge& edge = m_aEdges[i];
            const int64_t d = edge.nB * y + edge.nC;
            if (edge.nA == 0 && d < 1) return false;
            narrow(edge, d, lo, hi);
        }
        x0 = static_cast<int>(lo);
        x1 = static_cast<int>(hi);
        return lo <= hi;
    }

private:
    // d: the edge's value at x = 0 of the row.
    static void narrow(const Edge& edge, int64_t d, int64_t& lo, int64_t& hi) {
        if (edge.nA > 0)
            lo = std::max(lo, ceilDiv64(1 - d, edge.nA));
        else if (edge.nA < 0)
            hi = std::min(hi, floorDiv64(d - 1, -edge.nA));
    }

    Edge m_aEdges[3] = {};
    int m_nEdges = 0;
    int64_t m_nLo, m_nHi;
};

// A plane's value at the rows' base pixel, worked out once when the plane
// does not change down the rows (u of an axis-aligned quad).
class RowStart {
public:
    RowStart(const Plane& plane, int xBase, int y0)
        : m_rPlane(plane), m_xBase(xBase), m_bFlat(plane.fdY == 0.0), m_nFlat(m_bFlat ? plane.at(xBase, y0) : 0) {}
    int64_t at(int y) const { return m_bFlat ? m_nFlat : m_rPlane.at(m_xBase, y); }

private:
    const Plane& m_rPlane;
    int m_xBase;
    bool m_bFlat;
    int64_t m_nFlat;
};

// Each covered row's pixels x0..x1 that may read a texel that is not clear,
// with the texture coordinates at x0: fn(nRow, x0, x1, tu, tv).
template <bool bLinear, class Fn>
void forEachTexturedRow(const Target& t, const RowSpans& spans, const Plane& pu, const Plane& pv, const Bounds& box,
                        Fn fn) {
    const RowStart uStart(pu, box.xBase, box.y0), vStart(pv, box.xBase, box.y0);
    int x0 = 0, x1 = 0;
    for (int y = box.y0; y <= box.y1; ++y) {
        if (!spans.row(y, x0, x1)) continue;
        int64_t tu = uStart.at(y) + (x0 - box.xBase) * pu.dX;
        int64_t tv = vStart.at(y) + (x0 - box.xBase) * pv.dX;
        if (t.bSkipClear && !cutToVisible<bLinear>(t, pu, pv, tu, tv, x0, x1)) continue;
        fn(static_cast<size_t>(y) * t.nPitch, x0, x1, tu, tv);
    }
}

// rasterRows' pixels and coordinates, visiting only the covered spans.
template <Kind K, bool bLinear>
void spanRowsTextured(const Target& t, const RowSpans& spans, const Plane& pu, const Plane& pv, const Bounds& box) {
    const Modulation mod(t.diffuse);
    const bool bAlpha = t.pTexture->hasAlpha();
    forEachTexturedRow<bLinear>(t, spans, pu, pv, box, [&](size_t nRow, int x0, int x1, int64_t tu, int64_t tv) {
        for (int x = x0; x <= x1; ++x, tu += pu.dX, tv += pv.dX) {
            const uint32_t nTexel = bLinear ? sampleLinear(*t.pTexture, tu, tv) : samplePoint(*t.pTexture, tu, tv);
            shade<K>(t, nRow + x, mod.apply(nTexel, bAlpha));
        }
    });
}

#if defined(__SSE2__)
// lerpLanes on 16-bit lanes: every sum stays below 65536, so the results
// are the same.
inline __m128i lerpWords(__m128i a, __m128i b, __m128i f) {
    const __m128i g = _mm_sub_epi16(_mm_set1_epi16(256), f);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(a, g), _mm_mullo_epi16(b, f)), _mm_set1_epi16(128)),
                          8);
}

// The horizontal weights of two samples at coordinates c1 and c2 (already
// moved by the linear reach), each in the four lanes of its pixel.
inline __m128i weights(int64_t c1, int64_t c2) {
    const auto f1 = static_cast<short>((c1 >> 24) & 0xFF), f2 = static_cast<short>((c2 >> 24) & 0xFF);
    return _mm_set_epi16(f2, f2, f2, f2, f1, f1, f1, f1);
}

// Two samples of one texel row, horizontally blended: texels x and x + 1 at
// each coordinate, as 16-bit lanes, the first sample in the low half.
inline __m128i lerpPairs(const uint32_t* pRow, int64_t c1, int64_t c2, __m128i fx) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i p1 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pRow + (c1 >> 32))), zero);
    const __m128i p2 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pRow + (c2 >> 32))), zero);
    return lerpWords(_mm_unpacklo_epi64(p1, p2), _mm_unpackhi_epi64(p1, p2), fx);
}
#endif

// n samples at (u + k du, v + k dv) into pOut, as sampleLinear or
// samplePoint gives them. Along a row of an axis-aligned quad v does not
// move, so the texel rows and the vertical weight are found once, and when
// every sample's texels lie inside the texture nothing needs clamping. A
// weight of 0 blends a texel with itself, so lerping always is exact.
template <bool bLinear>
void sampleRun(const Texture& tex, int64_t u, int64_t du, int64_t v, int64_t dv, int n, uint32_t* pOut) {
    const Reach r = bLinear ? kLinearReach : kPointReach;
    const int w = tex.width(), h = tex.height();
    const int64_t cFirst = u + r.nOffset, cLast = cFirst + (n - 1) * du;
    const bool bInside = dv == 0 && (std::min(cFirst, cLast) >> 32) >= 0 &&
                         (std::max(cFirst, cLast) >> 32) + r.nExtra <= w - 1;
    if (!bInside) {
        for (int k = 0; k < n; ++k, u += du, v += dv)
            pOut[k] = bLinear ? sampleLinear(tex, u, v) : samplePoint(tex, u, v);
        return;
    }
    const int64_t cv = v + r.nOffset;
    const int y = static_cast<int>(std::clamp<int64_t>(cv >> 32, 0, h - 1));
    const uint32_t* pRow0 = tex.texels() + static_cast<size_t>(y) * w;
    int64_t c = cFirst;
    if constexpr (!bLinear) {
        for (int k = 0; k < n; ++k, c += du) pOut[k] = pRow0[c >> 32];
        return;
    }
    const auto fy = static_cast<uint32_t>((cv >> 24) & 0xFF);
    if (fy == 0 || cv >> 32 < 0 || cv >> 32 >= h - 1) {
        // The second row is not read, or it is the first one again.
        int k = 0;
#if defined(__SSE2__)
        for (; k + 2 <= n; k += 2, c += 2 * du) {
            const __m128i top = lerpPairs(pRow0, c, c + du, weights(c, c + du));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(pOut + k), _mm_packus_epi16(top, top));
        }
#endif
        for (; k < n; ++k, c += du) {
            const auto x = static_cast<size_t>(c >> 32);
            pOut[k] = lerpTexels(pRow0[x], pRow0[x + 1], static_cast<uint32_t>((c >> 24) & 0xFF));
        }
        return;
    }
    const uint32_t* pRow1 = pRow0 + w;
    int k = 0;
#if defined(__SSE2__)
    for (; k + 2 <= n; k += 2, c += 2 * du) {
        const int64_t c2 = c + du;
        const __m128i fx = weights(c, c2);
        const __m128i top = lerpPairs(pRow0, c, c2, fx), bottom = lerpPairs(pRow1, c, c2, fx);
        const __m128i mixed = lerpWords(top, bottom, _mm_set1_epi16(static_cast<short>(fy)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(pOut + k), _mm_packus_epi16(mixed, mixed));
    }
#endif
    for (; k < n; ++k, c += du) {
        const auto x = static_cast<size_t>(c >> 32);
        const auto fx = static_cast<uint32_t>((c >> 24) & 0xFF);
        pOut[k] = lerpTexels(lerpTexels(pRow0[x], pRow0[x + 1], fx), lerpTexels(pRow1[x], pRow1[x + 1], fx), fy);
    }
}

// spanRowsTextured for the common sprite (blended normally, no tests): each
// run of samples gathered, then blended as one row.
template <bool bLinear>
void spanRowsNormal(const Target& t, const RowSpans& spans, const Plane& pu, const Plane& pv, const Bounds& box) {
    constexpr int kRun = 256;
    uint32_t aRun[kRun];
    const uint32_t nAlphaOr = t.pTexture->hasAlpha() ? 0u : 0xFFu;
    forEachTexturedRow<bLinear>(t, spans, pu, pv, box, [&](size_t nRow, int x0, int x1, int64_t tu, int64_t tv) {
        for (int x = x0; x <= x1; x += kRun) {
            const int n = std::min(kRun, x1 - x + 1);
            sampleRun<bLinear>(*t.pTexture, tu, pu.dX, tv, pv.dX, n, aRun);
            pixel::normalRow(aRun, t.pBack + nRow + x, n, t.diffuse, nAlphaOr);
            tu += n * pu.dX;
            tv += n * pv.dX;
        }
    });
}

// One source colour for every pixel: untextured, or a uniform texture.
template <Kind K>
void spanRowsFlat(const Target& t, const RowSpans& spans, const Rgba& s, const Bounds& box) {
    int x0 = 0, x1 = 0;
    for (int y = box.y0; y <= box.y1; ++y) {
        if (!spans.row(y, x0, x1)) continue;
        const size_t nRow = static_cast<size_t>(y) * t.nPitch;
        if (t.bTests)
            for (int x = x0; x <= x1; ++x) shade<K>(t, nRow + x, s);
        else
            for (int x = x0; x <= x1; ++x) pixel::blend<K>(t.pBack[nRow + x], s, t.states);
    }
}

// The pixels n0..n1 (within lo..hi) whose coordinate f0 + f n lies within
// [c0 - kReach, c1 + kReach] of a texture nSize texels long; false when
// none. Addressing clamps: every coordinate past the first or last texel
// reads that texel, so a side where the content touches the texture's edge
// bounds nothing. Coordinates in texels, from the plane's doubles: two
// texels and a pixel of margin are far more than the fixed-point steps
// stray from them.
bool cutAxis(double f0, double f, int c0, int c1, int nSize, int& lo, int& hi) {
    constexpr double kReach = 2.0, kFarPixel = 1.0e6;
    const bool bLow = c0 > 0, bHigh = c1 < nSize - 1;
    const double a = c0 - kReach - f0, b = c1 + kReach - f0;  // bounds on f n
    if (f == 0.0) return (!bLow || a <= 0.0) && (!bHigh || 0.0 <= b);
    // A bound far off or not a number cuts nothing on its side.
    const auto limit = [&](double n, bool bFirst) {
        if (!(std::fabs(n) < kFarPixel)) return;
        if (bFirst)
            lo = std::max(lo, static_cast<int>(std::floor(n)) - 1);
        else
            hi = std::min(hi, static_cast<int>(std::ceil(n)) + 1);
    };
    if (bLow) limit(a / f, f > 0.0);
    if (bHigh) limit(b / f, f < 0.0);
    return lo <= hi;
}

// An axis-aligned primitive cut to the pixels that may read a texel that is
// not clear (u follows x alone and v follows y alone); false when none. Only
// where clear texels leave pixels as they are.
bool cutToContent(const Texture& tex, const Plane& pu, const Plane& pv, Bounds& box) {
    if (pu.fdY != 0.0 || pv.fdX != 0.0) return true;
    const TexelBounds content = tex.contentBounds();
    if (content.isEmpty()) return false;
    return cutAxis(pu.c, pu.fdX, content.x0, content.x1, tex.width(), box.x0, box.x1) &&
           cutAxis(pv.c, pv.fdY, content.y0, content.y1, tex.height(), box.y0, box.y1);
}

template <Kind K>
void spanTriangle(const Target& t, const SV& a, const SV& b, const SV& c, const Bounds& whole) {
    const Edge e[3] = {edgeOf(b, c), edgeOf(c, a), edgeOf(a, b)};
    if (!t.pTexture) return spanRowsFlat<K>(t, RowSpans(e, whole), t.diffuse, whole);
    if (t.pTexture->isUniform()) {
        const Rgba s = Modulation(t.diffuse).apply(t.pTexture->texels()[0], t.pTexture->hasAlpha());
        if (t.bSkipClear && s.a == 0) return;  // every pixel would stay as it is
        return spanRowsFlat<K>(t, RowSpans(e, whole), s, whole);
    }
    const Plane pu = planeOf(a, b, c, &SV::u, t.pTexture->width()), pv = planeOf(a, b, c, &SV::v, t.pTexture->height());
    Bounds box = whole;
    if (t.bSkipClear && !cutToContent(*t.pTexture, pu, pv, box)) return;
    const RowSpans spans(e, box);
    const bool bLinear = t.states.eFilter == Filter::Linear;
    if (K == Kind::Normal && !t.bTests)
        bLinear ? spanRowsNormal<true>(t, spans, pu, pv, box) : spanRowsNormal<false>(t, spans, pu, pv, box);
    else if (bLinear)
        spanRowsTextured<K, true>(t, spans, pu, pv, box);
    else
        spanRowsTextured<K, false>(t, spans, pu, pv, box);
}

template <Kind K>
void rasterTriangle(const Target& t, const SV& a, const SV& b, const SV& c, const Bounds& box) {
    if (!t.pTexture)
        rasterRows<K, false, false>(t, a, b, c, box);
    else if (t.states.eFilter == Filter::Linear)
        rasterRows<K, true, true>(t, a, b, c, box);
    else
        rasterRows<K, true, false>(t, a, b, c, box);
}

template <class Fn>
void withKind(Kind eKind, Fn fn) {
    switch (eKind) {
        case Kind::Normal: fn.template operator()<Kind::Normal>(); break;
        case Kind::Additive: fn.template operator()<Kind::Additive>(); break;
        case Kind::NoColour: fn.template operator()<Kind::NoColour>(); break;
        case Kind::Generic: fn.template operator()<Kind::Generic>(); break;
    }
}

}  // namespace

// Strip order: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right; the
// quad must start half a pixel before a pixel centre and map texels one to
// one; false leaves it to the triangles.
bool RenderDevice::drawAlignedQuad(const ScreenVertex* p) {
    if (!m_pTexture) return false;
    const bool bRect = p[0].y == p[1].y && p[2].y == p[3].y && p[0].x == p[2].x && p[1].x == p[3].x &&
                       p[1].x > p[0].x && p[2].y > p[0].y;
    const bool bUv = p[0].u == p[2].u && p[1].u == p[3].u && p[0].v == p[1].v && p[2].v == p[3].v;
    if (!bRect || !bUv || modPositive(p[0].x, kSubPixel) != kSubPixel / 2 ||
        modPositive(p[0].y, kSubPixel) != kSubPixel / 2 || modPositive(p[1].x, kSubPixel) != kSubPixel / 2 ||
        modPositive(p[2].y, kSubPixel) != kSubPixel / 2)
        return false;
    const int nW = (p[1].x - p[0].x) / kSubPixel;
    const int nH = (p[2].y - p[0].y) / kSubPixel;
    const double tu0 = double(p[0].u) * m_pTexture->width(), tv0 = double(p[0].v) * m_pTexture->height();
    const double tu1 = double(p[1].u) * m_pTexture->width(), tv1 = double(p[2].v) * m_pTexture->height();
    if (!nearInteger(tu0) || !nearInteger(tv0) || std::fabs(tu1 - tu0 - nW) > 1e-3 || std::fabs(tv1 - tv0 - nH) > 1e-3)
        return false;
    const int tx = static_cast<int>(std::lround(tu0));
    const int ty = static_cast<int>(std::lround(tv0));
    if (tx < 0 || ty < 0 || tx + nW > m_pTexture->width() || ty + nH > m_pTexture->height()) return false;
    // Pixels k .. k + w - 1 of the quad, cut to the viewport.
    const int nFirstX = floorDiv(p[0].x + kSubPixel / 2, kSubPixel);
    const int py = floorDiv(p[0].y + kSubPixel / 2, kSubPixel);
    const Viewport area = drawArea();
    const int x0 = std::max(nFirstX, area.x);
    const int y0 = std::max(py, area.y);
    const int x1 = std::min(nFirstX + nW, area.x + area.w);
    const int y1 = std::min(py + nH, area.y + area.h);
    if (x0 >= x1 || y0 >= y1) return true;
    const bool bTests = pixel::needsTests(m_states, hasStencil());
    const bool bNoOp = !m_bSampleAll && clearIsNoOp(m_states, bTests);
    const Target t{m_vBack.data(), hasStencil() ? m_vStencil.data() : nullptr, m_nWidth, m_states, m_pTexture,
                   pixel::unpack(p[0].nDiffuse), bTests, bNoOp && m_pTexture->hasAlpha(),
                   !m_bSampleAll && !bTests && m_pTexture->hasAlpha() && p[0].nDiffuse == 0xFFFFFFFFu};
    if (bNoOp && t.diffuse.a == 0) return true;
    withKind(pixel::kindOf(m_states), [&]<Kind K>() {
        alignedRows<K>(t, tx + (x0 - nFirstX), ty + (y0 - py), x0, x1, y0, y1);
    });
    return true;
}

// Strip order with 0 and 3, 1 and 2 at opposite corners of an axis-aligned
// rectangle (any scale or mirroring): its two triangles go by spans.
bool RenderDevice::drawRectQuad(const ScreenVertex* p) {
    const bool bCorners = (p[1].x == p[0].x && p[1].y == p[3].y && p[2].x == p[3].x && p[2].y == p[0].y) ||
                          (p[1].x == p[3].x && p[1].y == p[0].y && p[2].x == p[0].x && p[2].y == p[3].y);
    if (!bCorners || p[0].x == p[3].x || p[0].y == p[3].y) return false;
    drawTriangle(p[0], p[1], p[2], true);
    drawTriangle(p[1], p[2], p[3], true);
    return true;
}

void RenderDevice::drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, bool bSpans) {
    const int64_t nArea = int64_t(b.x - a.x) * (c.y - a.y) - int64_t(b.y - a.y) * (c.x - a.x);
    if (nArea == 0) return;
    const ScreenVertex& b2 = nArea > 0 ? b : c;
    const ScreenVertex& c2 = nArea > 0 ? c : b;
    // Texture coordinates are stepped from the left of the unclipped box, so
    // a clip rectangle changes which pixels are drawn, never their values.
    const int nBaseX = std::max(ceilDiv(std::min({a.x, b.x, c.x}), kSubPixel), m_viewport.x);
    const Viewport area = drawArea();
    const Bounds box{std::max(nBaseX, area.x), std::max(ceilDiv(std::min({a.y, b.y, c.y}), kSubPixel), area.y),
                     std::min(floorDiv(std::max({a.x, b.x, c.x}), kSubPixel), area.x + area.w - 1),
                     std::min(floorDiv(std::max({a.y, b.y, c.y}), kSubPixel), area.y + area.h - 1), nBaseX};
    if (box.x0 > box.x1 || box.y0 > box.y1) return;
    const bool bTests = pixel::needsTests(m_states, hasStencil());
    const bool bNoOp = !m_bSampleAll && clearIsNoOp(m_states, bTests);
    const Target t{m_vBack.data(), hasStencil() ? m_vStencil.data() : nullptr, m_nWidth, m_states, m_pTexture,
                   pixel::unpack(a.nDiffuse), bTests, bNoOp && m_pTexture && m_pTexture->hasAlpha(), false};
    if (bNoOp && t.diffuse.a == 0) return;
    withKind(pixel::kindOf(m_states), [&]<Kind K>() {
        if (bSpans)
            spanTriangle<K>(t, a, b2, c2, box);
        else
            rasterTriangle<K>(t, a, b2, c2, box);
    });
}

}  // namespace render
