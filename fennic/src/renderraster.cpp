// The render device's rasteriser: the row-copy path for aligned quads and
// the edge-function path for every other triangle (renderdevice.h states
// the rules both keep).
#include <algorithm>
#include <cmath>

#include "renderpixel.h"
#include "renderraster.h"

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

// What one primitive draws into.
struct Target {
    uint32_t* pBack;
    uint8_t* pStencil;  // null without a plane
    int nPitch;
    const DrawStates& states;
    const Texture* pTexture;
    Rgba diffuse;
    bool bTests;
};

int floorDiv(int64_t a, int b) { return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b)); }
int ceilDiv(int64_t a, int b) { return -floorDiv(-a, b); }
int modPositive(int32_t a, int b) { return ((a % b) + b) % b; }
bool nearInteger(double f) { return std::fabs(f - std::round(f)) < 1e-3; }

template <Kind K>
inline void shade(const Target& t, size_t nIndex, const Rgba& s) {
    if (t.bTests && !pixel::passTests(t.states, t.pStencil ? t.pStencil + nIndex : nullptr, s.a)) return;
    pixel::blend<K>(t.pBack[nIndex], s, t.states);
}

// One row of an aligned quad: texels k.. onto pixels x0..x1 - 1.
template <Kind K>
void alignedRow(const Target& t, const uint32_t* pTexels, size_t nRow, int x0, int x1) {
    const bool bAlpha = t.pTexture->hasAlpha();
    for (int x = x0; x < x1; ++x) shade<K>(t, nRow + x, pixel::modulate(*pTexels++, bAlpha, t.diffuse));
}

// An opaque texture, white and unblended: the texels themselves.
bool isCopy(const Target& t, Kind eKind) {
    return eKind == Kind::Normal && !t.bTests && !t.pTexture->hasAlpha() && t.diffuse.r == 255 &&
           t.diffuse.g == 255 && t.diffuse.b == 255 && t.diffuse.a == 255;
}

void copyRow(const Target& t, const uint32_t* pTexels, size_t nRow, int x0, int x1) {
    uint32_t* pDst = t.pBack + nRow;
    for (int x = x0; x < x1; ++x) pDst[x] = *pTexels++ | 0xFF000000u;
}

template <Kind K>
void alignedRows(const Target& t, int tx, int ty, int x0, int x1, int y0, int y1) {
    const int nTexW = t.pTexture->width();
    const bool bCopy = isCopy(t, K);
    for (int y = y0; y < y1; ++y) {
        const uint32_t* pTexels = t.pTexture->texels() + static_cast<size_t>(ty + y - y0) * nTexW + tx;
        const size_t nRow = static_cast<size_t>(y) * t.nPitch;
        if (bCopy)
            copyRow(t, pTexels, nRow, x0, x1);
        else
            alignedRow<K>(t, pTexels, nRow, x0, x1);
    }
}

// Texel at clamped integer coordinates.
inline uint32_t texel(const Texture& tex, int x, int y) {
    x = std::clamp(x, 0, tex.width() - 1);
    y = std::clamp(y, 0, tex.height() - 1);
    return tex.texels()[static_cast<size_t>(y) * tex.width() + x];
}

inline uint32_t lerpChannels(uint32_t a, uint32_t b, uint32_t f) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t ca = (a >> shift) & 0xFFu;
        const uint32_t cb = (b >> shift) & 0xFFu;
        out |= ((ca * (256u - f) + cb * f + 128u) >> 8) << shift;
    }
    return out;
}

// Texel coordinate of a texture coordinate: the integer part and a weight in
// 1/256 (a weight that rounds to 256 moves to the next texel).
inline void split(double fCoord, int nSize, int& nIndex, uint32_t& nWeight) {
    const double f = fCoord * nSize - 0.5;
    nIndex = static_cast<int>(std::floor(f));
    const long nW = std::lround((f - nIndex) * 256.0);
    nWeight = static_cast<uint32_t>(nW);
    if (nW >= 256) {
        ++nIndex;
        nWeight = 0;
    }
}

uint32_t sample(const Texture& tex, Filter eFilter, double u, double v) {
    if (eFilter == Filter::Point)
        return texel(tex, static_cast<int>(std::floor(u * tex.width())), static_cast<int>(std::floor(v * tex.height())));
    int x = 0;
    int y = 0;
    uint32_t fx = 0;
    uint32_t fy = 0;
    split(u, tex.width(), x, fx);
    split(v, tex.height(), y, fy);
    const uint32_t top = fx ? lerpChannels(texel(tex, x, y), texel(tex, x + 1, y), fx) : texel(tex, x, y);
    if (!fy) return top;
    const uint32_t bottom = fx ? lerpChannels(texel(tex, x, y + 1), texel(tex, x + 1, y + 1), fx) : texel(tex, x, y + 1);
    return lerpChannels(top, bottom, fy);
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

// Texture coordinate planes: value = dX x + dY y + c in pixel units.
struct Plane {
    double dX, dY, c;
    double at(int x, int y) const { return dX * x + dY * y + c; }
};

Plane planeOf(const SV& a, const SV& b, const SV& c, float SV::*pField) {
    const double ax = a.x / double(kSubPixel), ay = a.y / double(kSubPixel);
    const double bx = b.x / double(kSubPixel) - ax, by = b.y / double(kSubPixel) - ay;
    const double cx = c.x / double(kSubPixel) - ax, cy = c.y / double(kSubPixel) - ay;
    const double fb = b.*pField - a.*pField, fc = c.*pField - a.*pField;
    const double det = bx * cy - by * cx;
    const double dX = (fb * cy - fc * by) / det;
    const double dY = (fc * bx - fb * cx) / det;
    return {dX, dY, a.*pField - dX * ax - dY * ay};
}

struct Bounds {
    int x0, y0, x1, y1;  // inclusive
};

template <Kind K>
void rasterTriangle(const Target& t, const SV& a, const SV& b, const SV& c, const Bounds& box) {
    const Edge e0 = edgeOf(b, c), e1 = edgeOf(c, a), e2 = edgeOf(a, b);
    const Plane pu = planeOf(a, b, c, &SV::u), pv = planeOf(a, b, c, &SV::v);
    for (int y = box.y0; y <= box.y1; ++y) {
        const size_t nRow = static_cast<size_t>(y) * t.nPitch;
        for (int x = box.x0; x <= box.x1; ++x) {
            if (e0.at(x, y) <= 0 || e1.at(x, y) <= 0 || e2.at(x, y) <= 0) continue;
            const Rgba s = t.pTexture ? pixel::modulate(sample(*t.pTexture, t.states.eFilter, pu.at(x, y), pv.at(x, y)),
                                                        t.pTexture->hasAlpha(), t.diffuse)
                                      : t.diffuse;
            shade<K>(t, nRow + x, s);
        }
    }
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
    const int x0 = std::max(nFirstX, m_viewport.x);
    const int y0 = std::max(py, m_viewport.y);
    const int x1 = std::min(nFirstX + nW, m_viewport.x + m_viewport.w);
    const int y1 = std::min(py + nH, m_viewport.y + m_viewport.h);
    if (x0 >= x1 || y0 >= y1) return true;
    const Target t{m_vBack.data(), hasStencil() ? m_vStencil.data() : nullptr, m_nWidth, m_states, m_pTexture,
                   pixel::unpack(p[0].nDiffuse), pixel::needsTests(m_states, hasStencil())};
    withKind(pixel::kindOf(m_states), [&]<Kind K>() {
        alignedRows<K>(t, tx + (x0 - nFirstX), ty + (y0 - py), x0, x1, y0, y1);
    });
    return true;
}

void RenderDevice::drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
    const int64_t nArea = int64_t(b.x - a.x) * (c.y - a.y) - int64_t(b.y - a.y) * (c.x - a.x);
    if (nArea == 0) return;
    const ScreenVertex& b2 = nArea > 0 ? b : c;
    const ScreenVertex& c2 = nArea > 0 ? c : b;
    const Bounds box{std::max(ceilDiv(std::min({a.x, b.x, c.x}), kSubPixel), m_viewport.x),
                     std::max(ceilDiv(std::min({a.y, b.y, c.y}), kSubPixel), m_viewport.y),
                     std::min(floorDiv(std::max({a.x, b.x, c.x}), kSubPixel), m_viewport.x + m_viewport.w - 1),
                     std::min(floorDiv(std::max({a.y, b.y, c.y}), kSubPixel), m_viewport.y + m_viewport.h - 1)};
    if (box.x0 > box.x1 || box.y0 > box.y1) return;
    const Target t{m_vBack.data(), hasStencil() ? m_vStencil.data() : nullptr, m_nWidth, m_states, m_pTexture,
                   pixel::unpack(a.nDiffuse), pixel::needsTests(m_states, hasStencil())};
    withKind(pixel::kindOf(m_states), [&]<Kind K>() { rasterTriangle<K>(t, a, b2, c2, box); });
}

}  // namespace render
